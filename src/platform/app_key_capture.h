#pragma once
// Key capture where no system-wide source exists: the keys that reach the
// program's own windows, seen by an application-wide event filter.

#include "platform/key_capture.h"

namespace talwyn::platform {

class AppKeyCapture final : public QObject, public KeyCapture {
    Q_OBJECT
public:
    using QObject::QObject;
    ~AppKeyCapture() override;

    bool install(QObject* receiver) override;
    void remove() override;
    bool isInstalled() const override { return installed_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool installed_ = false;
    CapturedKeyTarget target_;
};

} // namespace talwyn::platform
