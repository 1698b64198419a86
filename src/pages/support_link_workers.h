#pragma once
// Short-lived workers, one per web link: each hands its own copy of the
// address to the launcher and only posts its end back to the UI thread,
// where the thread is joined. Workers still running when the owner goes
// away are joined then.

#include "platform/launcher.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <map>
#include <thread>

namespace talwyn::pages {

class LinkWorkers final : public QObject {
    Q_OBJECT
public:
    // `launcher` must outlive this object.
    explicit LinkWorkers(platform::Launcher& launcher) : launcher_(launcher) {}
    ~LinkWorkers() override;

    // Opens `address` on a new worker; the caller does not wait.
    void open(const QString& address);
    std::size_t pending() const { return threads_.size(); }

signals:
    // A worker ended and was joined; `accepted` is the launcher's answer.
    void finished(const QString& address, bool accepted);

private:
    void reap(uint64_t id, const QString& address, bool accepted);

    platform::Launcher& launcher_;
    std::map<uint64_t, std::thread> threads_; // touched on the UI thread only
    uint64_t nextId_ = 0;
};

} // namespace talwyn::pages
