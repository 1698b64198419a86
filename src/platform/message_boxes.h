#pragma once
// The program's warning message boxes: caption "ORVANE", warning icon, one
// OK button, modal.

#include <QObject>
#include <QString>

class QWidget;

namespace talwyn::platform {

inline constexpr char16_t kMessageBoxCaption[] = u"ORVANE";

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows `text` and returns when the user has closed the box. May be
    // called from any thread; the box itself always lives on the UI thread.
    // `parent` must outlive the call.
    virtual void warn(const QString& text, QWidget* parent = nullptr) = 0;
};

class QtMessageBoxes final : public MessageBoxes {
public:
    void warn(const QString& text, QWidget* parent = nullptr) override;
};

} // namespace talwyn::platform
