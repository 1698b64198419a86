#pragma once
// The push button with caption and hover notice, the check box, and the
// button that shows and hides a colour pop-up.

#include "controls/image_button.h"
#include "controls/paint_support.h"

#include <QSize>

#include <chrono>

namespace talwyn::controls {

// The caption colour of a push button: grey when disabled, the selected
// colour when selected, white under the cursor, else the text colour.
Argb buttonCaptionColor(bool disabled, bool selected, VisualState state, Argb textColor, Argb selectedColor);

class CVexButton : public CVexImageButton {
    Q_OBJECT
public:
    static constexpr Argb kDefaultTextColor = 0xFFD2D2D2;
    static constexpr Argb kDefaultSelectedColor = 0xFF32EBA5;
    static constexpr Argb kDisabledTextColor = 0xFF787878;

    explicit CVexButton(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    QString caption() const { return caption_; }
    // Repaints only when the flag changes.
    void SetSelected(bool selected);
    bool selected() const { return selected_; }
    void setTextColors(Argb text, Argb selectedText);
    void setCaptionFont(const QFont& font);

protected:
    bool selectedLook() const override { return selected_; }
    // Tells the parent (control ID, 0) each time the cursor enters.
    void cursorEntered() override;
    void paintButton(QPainter& painter) override;

private:
    QString caption_;
    QFont font_;
    Argb textColor_ = kDefaultTextColor;
    Argb selectedColor_ = kDefaultSelectedColor;
    bool selected_ = false;
};

class CVexCheckBox : public CVexImageButton {
    Q_OBJECT
public:
    explicit CVexCheckBox(QWidget* parent = nullptr);

    bool checkedFlag() const { return checked_; }
    void setCheckedFlag(bool checked);

protected:
    bool selectedLook() const override { return checked_; }
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool checked_ = false;
};

// The pop-up window a colour button shows: it reports its value to the button
// with (its control ID, value) and hides itself when its timer 0 runs out.
class ColorPopup {
public:
    virtual ~ColorPopup() = default;
    virtual QWidget& window() = 0;
    virtual ControlId popupId() const = 0;
    // The size of the pop-up's own picture.
    virtual QSize imageSize() const = 0;
    virtual void startHideTimer(std::chrono::milliseconds delay) = 0;
};

class CVexCbnColorButton : public CVexImageButton, public CommandReceiver {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kPopupHideDelay{2000};

    explicit CVexCbnColorButton(QWidget* parent = nullptr);

    // The pop-up stays owned by its creator and must outlive its use here.
    void setPopup(ColorPopup* popup) { popup_ = popup; }
    uint32_t value() const { return value_; }
    bool selected() const { return selected_; }
    void setSelected(bool selected);

    // A value from the pop-up: stored, repainted and passed to the parent.
    void onCommand(ControlId first, CommandValue second) override;

protected:
    bool selectedLook() const override { return selected_; }
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintButton(QPainter& painter) override;

private:
    ColorPopup* popup_ = nullptr;
    uint32_t value_ = 0;
    bool selected_ = false;
};

} // namespace talwyn::controls
