// Device commands of the program's own protocol: the device image of a
// profile file, applying a profile to the mouse, and reading its active slot.

#include "command_registry.h"

#include "device/command_outcome.h"
#include "hid/hid_backend.h"
#include "profiles/profile_file.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

namespace talwynctl {
namespace {

using namespace talwyn;

ProfileData loadForSlot(const std::string& file, int slot) {
    ProfileData profile;
    const ProfileLoad result = loadProfile(file, profile);
    if (result != ProfileLoad::Loaded)
        failWithFile(file, std::string(describe(result)));
    profile.slotIndex = static_cast<uint8_t>(slot > 0 ? slot - 1 : 0);
    return profile;
}

device::DeviceImage imageWithWarning(const ProfileData& profile) {
    device::DeviceImage image = device::buildDeviceImage(profile);
    if (image.droppedEvents > 0)
        std::cerr << image.droppedEvents << " macro events did not fit the device image and were left out\n";
    return image;
}

// Written beside the target and renamed over it, so a failed write never
// destroys an earlier image.
void writeImage(const std::string& out, const device::DeviceImage& image) {
    const std::filesystem::path target(out);
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(image.bytes.data()),
                   static_cast<std::streamsize>(image.bytes.size()));
        if (!file.flush()) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            failWithFile(out, "cannot be written");
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        failWithFile(out, "cannot be written");
    }
}

void check(const device::DeviceOutcome& outcome) {
    if (!outcome.ok())
        throw CommandFailure{device::describe(outcome)};
}

void applyProfile(const std::string& file, int slot) {
    const ProfileData profile = loadForSlot(file, slot);
    const device::DeviceImage image = imageWithWarning(profile);
    const auto backend = hid::makeBackendFromEnvironment();
    device::DeviceLink link(*backend);
    check(device::EnsureLinkOpen(link));
    check(device::ApplyProfileImage(link, image, profile.slotIndex));
}

void printActive() {
    const auto backend = hid::makeBackendFromEnvironment();
    device::DeviceLink link(*backend);
    uint8_t slot = 0;
    check(device::EnsureLinkOpen(link));
    check(device::ReadActiveSlot(link, slot));
    std::cout << slot + 1 << '\n';
}

// The profile family may already have created "profile" (or come after us).
CLI::App* profileCommand(CLI::App& app) {
    try {
        return app.get_subcommand("profile");
    } catch (const CLI::OptionNotFound&) {
        return app.add_subcommand("profile", "Create, show and copy *.profile files");
    }
}

void addDeviceCommands(CLI::App& app) {
    struct ImageArgs {
        std::string file, out;
        int slot = 0;
    };
    auto imageArgs = std::make_shared<ImageArgs>();
    CLI::App* image =
        profileCommand(app)->add_subcommand("image", "Write the 2048-byte device image of a profile");
    image->add_option("FILE", imageArgs->file, "Profile file to read")->required();
    image->add_option("-o", imageArgs->out, "Image file to write")->required();
    image->add_option("--slot", imageArgs->slot, "Slot 1 to 5 (sets the image's slot)")
        ->check(CLI::Range(1, 5));
    image->callback([imageArgs] {
        writeImage(imageArgs->out, imageWithWarning(loadForSlot(imageArgs->file, imageArgs->slot)));
    });

    auto applyArgs = std::make_shared<ImageArgs>();
    CLI::App* applyCmd = app.add_subcommand("apply", "Upload a profile to the mouse and activate its slot");
    applyCmd->add_option("FILE", applyArgs->file, "Profile file to apply")->required();
    applyCmd->add_option("--slot", applyArgs->slot, "Slot 1 to 5")->required()->check(CLI::Range(1, 5));
    applyCmd->callback([applyArgs] { applyProfile(applyArgs->file, applyArgs->slot); });

    app.add_subcommand("active", "Print the mouse's active slot (1 to 5)")->callback(printActive);
}

const CommandRegistrar registrar(addDeviceCommands);

} // namespace
} // namespace talwynctl
