#pragma once
// Key capture where no system-wide source exists: the keys that reach the
// program's own windows, seen by an application-wide event filter.

#include "platform/key_capture.h"

#include <bitset>
#include <functional>

namespace talwyn::platform {

class AppKeyCapture final : public QObject, public KeyCapture {
    Q_OBJECT
public:
    // `notice` runs once, before the first capture starts, to tell the user
    // that keys count only while the program's window has the focus.
    explicit AppKeyCapture(std::function<void()> notice = {});
    ~AppKeyCapture() override;

    bool install(QObject* receiver) override;
    void remove() override;
    bool isInstalled() const override { return installed_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool installed_ = false;
    std::function<void()> notice_;
    // Keys pressed since the capture started: the release of a key held
    // before (such as the one that closed the notice) is no key of the user's.
    std::bitset<256> pressed_;
    CapturedKeyTarget target_;
};

} // namespace talwyn::platform
