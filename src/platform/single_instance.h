#pragma once
// One copy of the program at a time. The lock decides who runs; the named
// local socket only carries the "show your window" message to whoever
// listens under the window's name.

#include "platform/instance_lock.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace talwyn::platform {

inline constexpr char16_t kInstanceLockName[] = u"ORVANE TALWYN Pro Config";
inline constexpr char16_t kInstanceWindowTitle[] = u"TALWYN Pro Software";
inline constexpr uint32_t kShowWindowMessage = 2028;

// A message on the instance socket: three 32-bit little-endian words
// (message, first parameter, second parameter).
inline constexpr int kInstanceMessageBytes = 12;
// Sent before the show message where the starting copy was given a Wayland
// activation token: first parameter the token's length, the token's bytes
// follow. Without it a Wayland compositor may refuse to raise the window.
inline constexpr uint32_t kActivationTokenMessage = 2029;
inline constexpr int kMaxActivationTokenBytes = 256;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Asks a copy that already runs to show its window (message 2028), with
    // this start's XDG_ACTIVATION_TOKEN where it has one. True when some
    // listener took the message; that alone decides nothing.
    virtual bool notifyRunningCopy() = 0;
    // True when this copy is the first: it then holds the lock for its life
    // and listens for the show message. Where no lock can be made at all
    // (an unusable runtime folder), every copy counts as first.
    virtual bool claim() = 0;

signals:
    // Another start asked this (first) copy to show its window, passing its
    // activation token (empty when it had none). On native Wayland the token
    // is also put where Qt's activation takes it from.
    void showWindowRequested(const QByteArray& activationToken);
};

class LocalSingleInstance final : public SingleInstance {
    Q_OBJECT
public:
    // The product's names under the user's runtime folder.
    LocalSingleInstance();
    // Names and folder given, so tests can run several independent sets.
    LocalSingleInstance(const QString& lockName, const QString& windowTitle, const QString& folder);
    ~LocalSingleInstance() override;

    bool notifyRunningCopy() override;
    bool claim() override;

    // Where the show message is sent and, once first, received.
    QString socketPath() const { return socketPath_; }

private:
    void acceptConnections();
    void readMessages(QLocalSocket* socket);

    QString socketPath_;
    InstanceLock lock_;
    std::unique_ptr<QLocalServer> server_;
};

} // namespace talwyn::platform
