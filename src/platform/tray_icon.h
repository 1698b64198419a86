#pragma once
// The notification-area icon through which the hidden window is reached.

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QSystemTrayIcon>

namespace talwyn::platform {

class TrayIcon : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Puts the icon into the notification area. False when the desktop has
    // no notification area (yet); the program then goes on without an icon.
    virtual bool add(const QIcon& icon, const QString& toolTip) = 0;
    virtual void remove() = 0;
    // True while a notification area shows the icon, so a hidden window can come back.
    virtual bool isHosted() const = 0;

signals:
    // Left click on the icon.
    void showWindowRequested();
    // Right click on the icon: the caller opens its own menu at the pointer.
    void menuRequested(const QPoint& globalPos);
};

// What a click on the icon asks for.
enum class TrayAction { None, ShowWindow, OpenMenu };
TrayAction trayActionFor(QSystemTrayIcon::ActivationReason reason);

class SystemTrayIcon final : public TrayIcon {
    Q_OBJECT
public:
    explicit SystemTrayIcon(QObject* parent = nullptr);

    bool add(const QIcon& icon, const QString& toolTip) override;
    void remove() override;
    bool isHosted() const override;

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon icon_;
};

} // namespace talwyn::platform
