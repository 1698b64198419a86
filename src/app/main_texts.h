#pragma once
// The texts the main window and its parts show.

namespace talwyn::app {

inline constexpr char16_t kMainWindowCaption[] = u"Talwyn PRO Software";
inline constexpr char16_t kTrayToolTip[] = u"Talwyn PRO Gaming Mouse";
inline constexpr char16_t kRegistrationFailed[] = u"RegisterDeviceNotification Failed!";
inline constexpr char16_t kNoTrayNotice[] =
    u"This desktop has no notification area to keep Talwyn PRO Software in, so closing the window ends "
    u"the program.";

} // namespace talwyn::app
