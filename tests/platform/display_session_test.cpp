#include "platform/display_session.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace talwyn::platform {
namespace {

using Variables = std::map<std::string, QByteArray>;

EnvironmentReader readerOf(const Variables& variables) {
    return [variables](const char* name) {
        const auto found = variables.find(name);
        return found == variables.end() ? QByteArray() : found->second;
    };
}

struct SessionCase {
    const char* name;
    Variables variables;
    SessionKind kind;
    const char* platform; // empty: Qt's own choice
};

TEST(DisplaySession, PicksXWaylandOnWaylandWheneverItIsThere) {
    const std::vector<SessionCase> cases{
        {"X11 session", {{"XDG_SESSION_TYPE", "x11"}, {"DISPLAY", ":0"}}, SessionKind::X11, ""},
        {"bare X server", {{"DISPLAY", ":5"}}, SessionKind::X11, ""},
        {"Wayland with XWayland",
         {{"XDG_SESSION_TYPE", "wayland"}, {"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}},
         SessionKind::Wayland,
         "xcb"},
        {"Wayland without XWayland",
         {{"XDG_SESSION_TYPE", "wayland"}, {"WAYLAND_DISPLAY", "wayland-0"}},
         SessionKind::Wayland,
         "wayland"},
        {"compositor started from a console",
         {{"XDG_SESSION_TYPE", "tty"}, {"WAYLAND_DISPLAY", "w"}},
         SessionKind::Wayland,
         "wayland"},
        {"platform named by hand",
         {{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "offscreen"}},
         SessionKind::Wayland,
         ""},
        {"no display at all", {}, SessionKind::Other, ""},
    };
    for (const SessionCase& c : cases) {
        SCOPED_TRACE(c.name);
        const EnvironmentReader environment = readerOf(c.variables);
        EXPECT_EQ(sessionKind(environment), c.kind);
        EXPECT_EQ(chosenPlatform(environment), QString::fromLatin1(c.platform));
    }
}

TEST(DisplaySession, TheChoiceGoesFirstSoTheUsersOwnPlatformArgumentWins) {
    std::string program = "talwyn-pro";
    std::string simulate = "--simulate";
    char* argv[] = {program.data(), simulate.data()};
    const auto wayland = readerOf({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":1"}});
    EXPECT_EQ(argumentsWithPlatform(2, argv, wayland),
              (std::vector<QByteArray>{"talwyn-pro", "-platform", "xcb", "--simulate"}));
    EXPECT_EQ(argumentsWithPlatform(2, argv, readerOf({{"DISPLAY", ":1"}})),
              (std::vector<QByteArray>{"talwyn-pro", "--simulate"}));
}

} // namespace
} // namespace talwyn::platform
