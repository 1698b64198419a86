#pragma once
// The image button that opens a skinned drop-down menu and shows the picked
// item as its caption.

#include "controls/image_button.h"
#include "controls/menu.h"
#include "controls/paint_support.h"

#include <functional>

namespace talwyn::controls {

// Drops trailing characters, at most ten, while the caption is wider than
// `rectWidth` - 40.
QString shortenCaption(QString caption, int rectWidth, const std::function<int(const QString&)>& measure);

// Whether a press must not open the menu: it came less than 200 ms after the
// menu was last seen open (that press is the one that closed it).
bool reopenBlocked(uint32_t now, uint32_t lastOpenTick);

class CVexComboButton : public CVexImageButton, public CommandReceiver {
    Q_OBJECT
public:
    static constexpr Argb kCaptionColor = 0xFFFFFFFF;
    static constexpr Argb kHighlightColor = 0xFF32EBA5;
    static constexpr std::chrono::milliseconds kOpenWatchInterval{100};
    static constexpr int kOpenWatchTimer = 1;

    explicit CVexComboButton(QWidget* parent = nullptr, TickClock& clock = systemTickClock());

    // Normal, over and down looks; a drop-down button has no disabled image.
    void SetImages(QImage normal, QImage over, QImage down);

    void SetCaption(const QString& caption, int32_t selectedCode, int32_t selectedParameter);
    QString caption() const { return caption_; }
    int32_t selectedCode() const { return selectedCode_; }
    int32_t selectedParameter() const { return selectedParameter_; }

    void AddItem(int32_t code, const QString& text);
    void AddSubItem(int32_t parentCode, int32_t code, const QString& text);
    void SetMenuWidth(int width);
    QString GetItemText(int32_t code) const;
    CVexMenu* menu() const { return menu_; }

    void setSelected(bool selected);
    bool selected() const { return selected_; }
    void setShowCaption(bool show);
    // Cleared, it lets exactly one pick leave the caption as it is.
    void setUpdateCaption(bool update) { updateCaption_ = update; }
    bool updateCaption() const { return updateCaption_; }
    void setOpenUpward(bool upward) { openUpward_ = upward; }
    void setCaptionFont(const QFont& font);

    // Picks and closing notices of the menu.
    void onCommand(ControlId first, CommandValue second) override;

protected:
    bool selectedLook() const override { return selected_; }
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void paintButton(QPainter& painter) override;

private:
    void createMenu(int width);
    void openMenu(QPoint screenOrigin);

    TickClock& clock_;
    NumberedTimers timers_{this};
    CVexMenu* menu_ = nullptr; // child of this button, destroyed with it
    QString caption_;
    QFont font_;
    int32_t selectedCode_ = -1;
    int32_t selectedParameter_ = -1;
    bool selected_ = false;
    bool showCaption_ = true;
    bool updateCaption_ = true;
    bool openUpward_ = false;
    int menuWidth_ = 0;
    bool reopenBlocked_ = false;
    uint32_t lastOpenTick_ = 0;
};

} // namespace talwyn::controls
