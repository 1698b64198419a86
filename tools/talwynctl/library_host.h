#pragma once
// The device library as talwynctl uses it: loaded from the tool's own folder
// like any host, its exports called by name, a failed call ending the command.

#include "command_registry.h"

#include "devlib_host/shared_library.h"
#include "talwyn_pro_dll.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace talwynctl {

// The library beside the tool, its exports bound by name.
class DeviceLibrary {
public:
    DeviceLibrary();

    template <typename Function> Function bind(const char* name) const {
        const auto function = library_.bind<Function>(name);
        if (!function)
            throw CommandFailure{library_.file().filename().string() + " has no export " + name};
        return function;
    }

    // Calls an export and fails the command unless it answered `expected`.
    template <typename Function, typename... Args>
    void call(const char* name, int expected, Args... args) const {
        const int status = static_cast<int>(bind<Function>(name)(args...));
        if (status != expected)
            throw CommandFailure{std::string(name) + " failed with status " + std::to_string(status)};
    }

private:
    talwyn::devlib_host::SharedLibrary library_;
};

using IntInt = uint8_t(TALWYN_CDECL*)(int32_t, int32_t);
using IntOnly = uint8_t(TALWYN_CDECL*)(int32_t);
using NoArgs = uint8_t(TALWYN_CDECL*)();
using ByteOut = uint8_t(TALWYN_CDECL*)(uint8_t*);
using VersionOut = uint8_t(TALWYN_CDECL*)(uint16_t*);
using DllVersionOut = int32_t(TALWYN_CDECL*)(uint16_t*);

void requireRange(const std::string& what, long value, long low, long high);
void requireProfile(int profile);
void requireOnOff(const std::string& what, int value);

// Lower-case hex without separators.
std::string hexOf(const uint8_t* bytes, std::size_t n);

} // namespace talwynctl
