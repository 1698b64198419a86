#include "sim/library_protocol.h"

namespace talwyn::sim {

ReportReply LibraryProtocol::handle(FirmwareContext& context, InterfaceRole,
                                    std::span<const uint8_t> report) {
    context.note("library command " + toHex(report.first(std::min<std::size_t>(report.size(), 8))) +
                 " not supported");
    return {makeStatusReply(kStatusFailed), {}};
}

} // namespace talwyn::sim
