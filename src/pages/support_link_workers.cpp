#include "pages/support_link_workers.h"

#include <system_error>

namespace talwyn::pages {

LinkWorkers::~LinkWorkers() {
    for (auto& [id, thread] : threads_) {
        thread.join();
    }
}

void LinkWorkers::open(const QString& address) {
    const uint64_t id = nextId_++;
    // The worker owns its copy of the address; the only thing it shares is
    // the launcher, and it reports back through this object's event queue.
    auto work = [this, id, copy = QString(address)] {
        const bool accepted = launcher_.openAddress(copy);
        QMetaObject::invokeMethod(
            this, [this, id, copy, accepted] { reap(id, copy, accepted); }, Qt::QueuedConnection);
    };
    try {
        threads_.emplace(id, std::thread(std::move(work)));
    } catch (const std::system_error&) {
        // No thread to be had: the page stays unopened, as when the desktop refuses it.
        emit finished(address, false);
    }
}

void LinkWorkers::reap(uint64_t id, const QString& address, bool accepted) {
    const auto found = threads_.find(id);
    if (found == threads_.end()) {
        return;
    }
    found->second.join();
    threads_.erase(found);
    emit finished(address, accepted);
}

} // namespace talwyn::pages
