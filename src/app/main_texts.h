#pragma once
// The texts the main window and its parts show.

#include <QString>

#include <cstdint>

namespace talwyn::app {

inline constexpr char16_t kMainWindowCaption[] = u"Talwyn PRO Software";
inline constexpr char16_t kTrayToolTip[] = u"Talwyn PRO Gaming Mouse";
inline constexpr char16_t kMouseNotFound[] = u"Talwyn PRO mouse not found !";
inline constexpr char16_t kRegistrationFailed[] = u"RegisterDeviceNotification Failed!";
inline constexpr char16_t kNoFirmwareVersion[] = u"-.--";
inline constexpr char16_t kNoTrayNotice[] =
    u"This desktop has no notification area to keep Talwyn PRO Software in, so closing the window ends "
    u"the program.";

// A firmware version number such as 105 as the window shows it: "1.05".
QString formatFirmwareVersion(uint16_t number);

} // namespace talwyn::app
