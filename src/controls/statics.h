#pragma once
// The self-painted statics: the image-and-text static, the lighting preview
// and the colour field with its marker.

#include "controls/buffered_control.h"
#include "controls/hover_tracker.h"
#include "controls/paint_support.h"
#include "controls/preview_math.h"

#include <vector>

namespace talwyn::controls {

class CVexStatic : public BufferedControl {
    Q_OBJECT
public:
    explicit CVexStatic(QWidget* parent = nullptr);

    void SetBackground(QImage image);
    // Appends to the picture sequence without repainting.
    void AddImage(QImage image);
    void SetFontHeight(int height);
    // Replaces the first text (or adds it) and shows it.
    void SetText(const QString& text);
    // The text shown, or empty when currentText lies outside the list.
    QString GetCurrentText() const;

    void setCurrentImage(int index);
    void setCurrentText(int index);
    void setFillColor(Argb colour);
    void setTextColor(Argb colour);
    void setCentreHorizontally(bool centre);
    void setShowText(bool show);

    int currentImage() const { return currentImage_; }
    int imageCount() const { return static_cast<int>(images_.size()); }

protected:
    void renderFrame(QPainter& painter) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::vector<QImage> images_;
    int currentImage_ = 0;
    std::vector<QString> texts_;
    int currentText_ = 0;
    QImage background_;
    Argb fillColor_ = 0;
    Argb textColor_ = 0xFFFFFFFF;
    bool centreHorizontally_ = false;
    bool showText_ = true;
    QFont font_;
};

// The process-wide counters of the lighting preview (only one preview exists).
PreviewCounters& previewCounters();

class CVexMouseStatic : public BufferedControl {
    Q_OBJECT
public:
    static constexpr Argb kDefaultZoneColor = 0x0032EBA5;
    static constexpr int kEffectTimer = 0;
    static constexpr int kColorCycleTimer = 1;
    static constexpr std::chrono::milliseconds kColorCycleInterval{100};

    explicit CVexMouseStatic(QWidget* parent = nullptr);

    // The picture and its transparent lighting zones, in picture coordinates.
    void setMouseImage(QImage image, QRect zone1, QRect zone2);
    void SetZone1Color(Argb colour);
    void SetZone2Color(Argb colour);
    // Both drawn colours; the saved copies stay.
    void SetZoneColors(Argb colour);
    void SetLevel(int level);
    void SetEffect(int effect);
    // Replaces the alpha of both drawn colours.
    void SetAlpha(int alpha);
    void setZoneLit(bool zone1, bool zone2);
    void setShiftActive(bool active) { shiftActive_ = active; }
    void startColorCycle();
    void stopColorCycle();

    // What the timers run: exposed so a test clock can drive them.
    void effectTick();
    void colorCycleTick();

    Argb zone1Color() const { return zone1Color_; }
    Argb zone2Color() const { return zone2Color_; }
    Argb zone1Saved() const { return zone1Saved_; }
    Argb zone2Saved() const { return zone2Saved_; }
    int level() const { return level_; }
    int effect() const { return effect_; }
    bool shiftActive() const { return shiftActive_; }
    // Whether the effect and the cycle run; their timers tick only while the preview is shown.
    bool effectTimerActive() const { return effectRunning_; }
    bool colorCycleActive() const { return cycleRunning_; }
    bool timersTicking() const {
        return timers_.isActive(kEffectTimer) || timers_.isActive(kColorCycleTimer);
    }

protected:
    void renderFrame(QPainter& painter) override;
    QColor initialFill() const override { return Qt::transparent; }
    void timerEvent(QTimerEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void restartEffectTimer();
    void stopEffectTimer();
    // Starts the timers that run and may be seen; nobody sees a hidden preview change.
    void resumeTimers();

    NumberedTimers timers_{this};
    QImage mouseImage_;
    QRect zone1Rect_;
    QRect zone2Rect_;
    Argb zone1Color_ = kDefaultZoneColor;
    Argb zone2Color_ = kDefaultZoneColor;
    Argb zone1Saved_ = kDefaultZoneColor;
    Argb zone2Saved_ = kDefaultZoneColor;
    bool zone1Lit_ = true;
    bool zone2Lit_ = true;
    int effect_ = 0;
    int level_ = 5;
    bool shiftActive_ = false;
    bool effectRunning_ = false;
    bool cycleRunning_ = false;
    std::chrono::milliseconds effectInterval_{0};
};

class CKytColorStatic : public BufferedControl {
    Q_OBJECT
public:
    static constexpr uint32_t kDefaultBase = 0xFFFF00; // red in bits 0-7: cyan

    explicit CKytColorStatic(QWidget* parent = nullptr);

    void setOverlay(QImage image);
    void setBaseColor(uint32_t colour);
    uint32_t baseColor() const { return base_; }
    uint32_t pickedColor() const { return picked_; }
    Point marker() const { return marker_; }
    // Where the marker outline was last drawn.
    Point markerOutline() const { return markerOutline_; }

protected:
    void renderFrame(QPainter& painter) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    const QImage& field();
    void moveMarker(QPoint point);
    void leave();

    QImage overlay_;
    QImage field_; // the shaded field for the current size and base colour
    uint32_t fieldBase_ = 0;
    uint32_t base_ = kDefaultBase;
    Point marker_{138, 1};
    Point markerOutline_{};
    uint32_t picked_ = 0;
    bool pressed_ = false;
    bool released_ = false;
    bool left_ = false;
    HoverTracker hover_;
};

} // namespace talwyn::controls
