// The simulated mouse's socket protocol from both ends: hostile request
// frames reach a running server, and hostile replies reach the client's
// decoders.
//
// Input: a sequence of u16 length + request payload, each sent as one frame;
// waits that would block for long (ReadInput with a timeout, Subscribe) are
// made short so each input ends quickly. The same bytes are then decoded as
// a reply.

#include "fuzz_support.h"
#include "hid/sim_wire.h"
#include "hid/unique_fd.h"
#include "sim/sim_mouse.h"
#include "sim/sim_server.h"

#include <sys/socket.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using namespace talwyn;
namespace wire = hid::wire;

struct Server {
    sim::SimMouse mouse;
    sim::SimServer server{mouse};
    std::string socket = (fuzz::scratchFolder() / "mouse.sock").string();
    Server() {
        std::string error;
        if (!server.start(socket, &error))
            std::abort();
    }
};

void sendRequests(const std::string& socket, fuzz::FuzzBytes input) {
    hid::UniqueFd fd(wire::connectTo(socket));
    if (!fd)
        std::abort(); // the server must still be accepting
    while (!input.empty()) {
        const std::size_t length = input.byte() | (input.byte() << 8);
        const auto chunk = input.take(length);
        std::vector<uint8_t> payload(chunk.begin(), chunk.end());
        if (!payload.empty() && payload[0] == static_cast<uint8_t>(wire::MessageType::Subscribe))
            continue;
        if (payload.size() >= 5 && payload[0] == static_cast<uint8_t>(wire::MessageType::ReadInput))
            std::fill_n(payload.begin() + 1, 4, 0); // no wait
        if (!wire::sendFrame(fd.get(), payload))
            break;
        if (!wire::receiveFrame(fd.get()))
            break;
    }
}

void decodeReply(std::span<const uint8_t> bytes) {
    std::span<const uint8_t> data;
    const hid::Result result = wire::decodeReply(bytes, &data);
    if (result.ok()) {
        wire::Reader reader(data);
        (void)wire::readDeviceInfos(reader);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto server = std::make_unique<Server>();
    sendRequests(server->socket, fuzz::FuzzBytes({data, size}));
    decodeReply({data, size});
    return 0;
}
