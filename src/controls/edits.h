#pragma once
// The self-painted edits: text and hexadecimal entry, and numbers stepped by
// the mouse wheel. Both tell the parent (control ID, 102) on every change.

#include "controls/framework.h"
#include "controls/paint_support.h"

#include <QLineEdit>

#include <optional>

namespace talwyn::controls {

// Whether hexadecimal entry drops a typed character: the letters G-Z and g-z.
bool hexOnlyDrops(char16_t ch);

// The leading integer of a text as a C conversion reads it (spaces, sign,
// digits), 0 when there is none, saturated at the 32-bit limits.
int32_t leadingInteger(const QString& text);

// One wheel step: up to min(v + step, maximum), down to max(v - step, minimum);
// nothing for a delta of 0.
std::optional<int32_t> wheelStepValue(const QString& text, int delta, int32_t step, int32_t minimum,
                                      int32_t maximum);

// Whether `event` is a key press of Return or Enter, which ends an entry.
bool isEnterPress(const QEvent* event);

class SkinnedEdit : public QLineEdit, public ControlIdentity {
    Q_OBJECT
public:
    void SetBackground(QImage image);
    void setTextColor(Argb colour);

protected:
    SkinnedEdit(QWidget* parent, int fontHeight);
    // The look without a background image: fill and one-pixel frame.
    virtual void paintPlainBackground(QPainter& painter) = 0;
    virtual bool textShown() const { return true; }
    void paintEvent(QPaintEvent* event) override;

private:
    void textEdited();

    QImage background_;
};

class CVexEdit : public SkinnedEdit {
    Q_OBJECT
public:
    explicit CVexEdit(QWidget* parent = nullptr);

    void SetFontHeight(int height);
    void setHexOnly(bool hexOnly) { hexOnly_ = hexOnly; }
    bool hexOnly() const { return hexOnly_; }

protected:
    void paintPlainBackground(QPainter& painter) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool hexOnly_ = false;
};

class CKYTEdit : public SkinnedEdit {
    Q_OBJECT
public:
    explicit CKYTEdit(QWidget* parent = nullptr);

    void setWheelStepping(int32_t step, int32_t minimum, int32_t maximum, bool enabled);
    void setShowText(bool show);

signals:
    // Return or Enter was pressed, or the focus left: the user is done typing.
    void entryFinished();

protected:
    void paintPlainBackground(QPainter& painter) override;
    bool textShown() const override { return showText_; }
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int32_t wheelStep_ = 0;
    int32_t minimum_ = 0;
    int32_t maximum_ = 0;
    bool wheelEnabled_ = false;
    bool showText_ = true;
};

} // namespace talwyn::controls
