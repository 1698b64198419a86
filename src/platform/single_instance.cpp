#include "platform/single_instance.h"

#include <QDir>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QtEndian>

#include <array>

namespace talwyn::platform {

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr char kTokenProperty[] = "activationToken";
// A start sends one message; a peer flooding the socket is not one of us.
constexpr qint64 kMaxPendingBytes = 16 * kInstanceMessageBytes;

QString runtimeFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QDir::tempPath() : folder;
}

QByteArray encodeMessage(uint32_t message, uint32_t first, uint32_t second) {
    std::array<uchar, kInstanceMessageBytes> bytes{};
    qToLittleEndian(message, bytes.data());
    qToLittleEndian(first, bytes.data() + 4);
    qToLittleEndian(second, bytes.data() + 8);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

} // namespace

LocalSingleInstance::LocalSingleInstance()
    : LocalSingleInstance(QString::fromUtf16(kInstanceLockName), QString::fromUtf16(kInstanceWindowTitle),
                          runtimeFolder()) {}

// The window title is searched without regard to case, so the socket carries
// it in one case only.
LocalSingleInstance::LocalSingleInstance(const QString& lockName, const QString& windowTitle,
                                         const QString& folder)
    : socketPath_(QDir(folder).filePath(windowTitle.toLower())),
      lock_(QDir(folder).filePath(lockName + QStringLiteral(".lock")).toStdString()) {
    QDir().mkpath(folder);
}

LocalSingleInstance::~LocalSingleInstance() = default;

bool LocalSingleInstance::notifyRunningCopy() {
    QLocalSocket socket;
    socket.connectToServer(socketPath_, QIODevice::WriteOnly);
    if (!socket.waitForConnected(kConnectTimeoutMs)) {
        return false;
    }
    const QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN");
    if (!token.isEmpty() && token.size() <= kMaxActivationTokenBytes) {
        socket.write(encodeMessage(kActivationTokenMessage, static_cast<uint32_t>(token.size()), 0) + token);
    }
    socket.write(encodeMessage(kShowWindowMessage, 0, 0));
    const bool sent = socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return sent;
}

bool LocalSingleInstance::claim() {
    // A lock that cannot even be created proves no other copy runs; never
    // starting at all would be the worse failure.
    if (lock_.tryAcquire() == InstanceLock::Outcome::HeldElsewhere) {
        return false;
    }
    if (server_) {
        return true;
    }
    // Holding the lock makes the name ours: whatever sits there is a socket
    // left by a crashed copy or a foreign listener, never a live first copy.
    QLocalServer::removeServer(socketPath_);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_.get(), &QLocalServer::newConnection, this, &LocalSingleInstance::acceptConnections);
    // Without a listener this copy still runs; later starts just cannot reach it.
    server_->listen(socketPath_);
    return true;
}

void LocalSingleInstance::acceptConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessages(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        readMessages(socket);
    }
}

void LocalSingleInstance::readMessages(QLocalSocket* socket) {
    if (socket->bytesAvailable() > kMaxPendingBytes) {
        socket->abort();
        return;
    }
    while (socket->bytesAvailable() >= kInstanceMessageBytes) {
        const QByteArray header = socket->peek(kInstanceMessageBytes);
        const auto message = qFromLittleEndian<uint32_t>(header.constData());
        if (message == kActivationTokenMessage) {
            const auto length = qFromLittleEndian<uint32_t>(header.constData() + 4);
            if (length == 0 || length > kMaxActivationTokenBytes) {
                socket->abort();
                return;
            }
            if (socket->bytesAvailable() < kInstanceMessageBytes + length) {
                return; // the rest of the token is still on its way
            }
            socket->skip(kInstanceMessageBytes);
            // Kept with its connection: a token belongs to the start that sent it.
            socket->setProperty(kTokenProperty, socket->read(length));
            continue;
        }
        socket->skip(kInstanceMessageBytes);
        if (message == kShowWindowMessage) {
            const QByteArray token = socket->property(kTokenProperty).toByteArray();
            socket->setProperty(kTokenProperty, {});
            // Qt's Wayland plugin activates with the token found here.
            if (!token.isEmpty() && QGuiApplication::platformName() == QLatin1String("wayland")) {
                qputenv("XDG_ACTIVATION_TOKEN", token);
            }
            emit showWindowRequested(token);
        }
    }
}

} // namespace talwyn::platform
