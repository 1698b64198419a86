#include "controls/edits.h"

#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <limits>

namespace talwyn::controls {

bool hexOnlyDrops(char16_t ch) {
    return (ch >= u'G' && ch <= u'Z') || (ch >= u'g' && ch <= u'z');
}

int32_t leadingInteger(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r' ||
                               text[i] == u'\v' || text[i] == u'\f')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    int64_t value = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = std::min(kLimit, value * 10 + (text[i].unicode() - u'0'));
    }
    value = negative ? -value : value;
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

std::optional<int32_t> wheelStepValue(const QString& text, int delta, int32_t step, int32_t minimum,
                                      int32_t maximum) {
    if (delta == 0) {
        return std::nullopt;
    }
    const int64_t v = leadingInteger(text);
    if (delta > 0) {
        return static_cast<int32_t>(std::min<int64_t>(v + step, maximum));
    }
    return static_cast<int32_t>(std::max<int64_t>(v - step, minimum));
}

bool isEnterPress(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

SkinnedEdit::SkinnedEdit(QWidget* parent, int fontHeight) : QLineEdit(parent) {
    setFrame(false);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_NoMousePropagation); // a press here never moves the window
    setFont(arialFont(fontHeight));
    setTextMargins(1, 0, 0, 0);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::transparent);
    colours.setColor(QPalette::Text, Qt::white);
    setPalette(colours);
    connect(this, &QLineEdit::textChanged, this, &SkinnedEdit::textEdited);
}

void SkinnedEdit::SetBackground(QImage image) {
    background_ = std::move(image);
    update();
}

void SkinnedEdit::setTextColor(Argb colour) {
    QPalette colours = palette();
    colours.setColor(QPalette::Text, argbColor(colour));
    setPalette(colours);
}

void SkinnedEdit::textEdited() {
    update();
    sendCommand(parentWidget(), controlId(), command::kEditChanged);
}

void SkinnedEdit::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        if (background_.isNull()) {
            paintPlainBackground(painter);
        } else {
            drawStretched(painter, rect(), background_);
        }
    }
    // The edit draws text, selection and caret over our background.
    if (textShown()) {
        QLineEdit::paintEvent(event);
    }
}

CVexEdit::CVexEdit(QWidget* parent) : SkinnedEdit(parent, 14) {}

void CVexEdit::SetFontHeight(int height) {
    setFont(arialFont(height));
    update();
}

void CVexEdit::paintPlainBackground(QPainter& painter) {
    painter.fillRect(rect(), Qt::black);
    painter.setPen(argbColor(0xFF969696));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, width() - 1, height() - 1);
}

void CVexEdit::keyPressEvent(QKeyEvent* event) {
    if (hexOnly_) {
        const QString typed = event->text();
        if (std::any_of(typed.begin(), typed.end(), [](QChar c) { return hexOnlyDrops(c.unicode()); })) {
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void CVexEdit::mousePressEvent(QMouseEvent* event) {
    update();
    QLineEdit::mousePressEvent(event);
}

void CVexEdit::mouseReleaseEvent(QMouseEvent* event) {
    update();
    QLineEdit::mouseReleaseEvent(event);
}

CKYTEdit::CKYTEdit(QWidget* parent) : SkinnedEdit(parent, 15) {
    connect(this, &QLineEdit::returnPressed, this, &CKYTEdit::entryFinished);
}

void CKYTEdit::setWheelStepping(int32_t step, int32_t minimum, int32_t maximum, bool enabled) {
    wheelStep_ = step;
    minimum_ = minimum;
    maximum_ = maximum;
    wheelEnabled_ = enabled;
}

void CKYTEdit::setShowText(bool show) {
    showText_ = show;
    update();
}

void CKYTEdit::paintPlainBackground(QPainter& painter) {
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, width() - 1, height() - 1);
}

void CKYTEdit::wheelEvent(QWheelEvent* event) {
    if (wheelEnabled_) {
        setFocus(Qt::MouseFocusReason);
        if (auto next = wheelStepValue(text(), event->angleDelta().y(), wheelStep_, minimum_, maximum_)) {
            setText(QString::number(*next));
        }
    }
    QLineEdit::wheelEvent(event);
}

void CKYTEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit entryFinished();
}

} // namespace talwyn::controls
