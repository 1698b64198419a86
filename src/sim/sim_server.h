#pragma once
// Serves a SimMouse on a Unix socket with the framed protocol of
// hid/sim_wire.h: one thread accepts, one thread per connection.

#include "hid/unique_fd.h"
#include "sim/sim_control.h"
#include "sim/sim_mouse.h"

#include <atomic>
#include <filesystem>
#include <list>
#include <mutex>
#include <thread>
#include <vector>

namespace talwyn::sim {

class SimServer {
public:
    explicit SimServer(SimMouse& mouse) : mouse_(mouse) {}
    ~SimServer() { stop(); }
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    // Binds the socket (replacing a stale socket file, refusing one a live
    // server answers on) and starts accepting.
    bool start(const std::filesystem::path& socketPath, std::string* error);
    // Ends every connection and the accept thread; the socket file is removed.
    void stop();

private:
    struct Connection {
        hid::UniqueFd fd;
        std::jthread thread;
        std::atomic<bool> done{false};
        bool hungUp = false; // the client went; only the accept thread uses it
    };

    void acceptLoop();
    void accept();
    void serve(Connection& connection, std::stop_token stop);
    void reapFinished();
    ControlResult runControlSafely(const std::vector<std::string>& args);

    SimMouse& mouse_;
    std::filesystem::path socketPath_;
    hid::UniqueFd listener_;
    hid::UniqueFd wake_;
    std::jthread acceptThread_;
    std::mutex connectionsMutex_;
    std::list<Connection> connections_;
};

} // namespace talwyn::sim
