#include "pages/pointer_settings.h"

#include <gtest/gtest.h>

namespace talwyn::pages {
namespace {

TEST(PointerRequest, FollowsTheProfile) {
    struct Case {
        const char* name;
        int16_t doubleClick;
        uint8_t pointerSpeed;
        int32_t byLine;
        int32_t byPage;
        int16_t lines;
        int32_t accelEnabled;
        int16_t accelLevel;
        PointerRequest expected;
    };
    const Case cases[] = {
        {"defaults", 800, 6, 1, 0, 2, 0, 1, {800, 10, 2, kAccelerationOff}},
        {"slowest", 1400, 1, 1, 0, 6, 0, 3, {200, 2, 6, kAccelerationOff}},
        {"speed two", 200, 2, 1, 0, 1, 1, 1, {1400, 2, 1, kAccelerationLevels[0]}},
        {"fastest", 500, 11, 1, 0, 1, 1, 2, {1100, 20, 1, kAccelerationLevels[1]}},
        {"page scroll wins over lines",
         800,
         6,
         0,
         1,
         5,
         1,
         3,
         {800, 10, kWheelPageScroll, kAccelerationLevels[2]}},
        {"no wheel setting", 800, 6, 0, 0, 5, 1, 9, {800, 10, std::nullopt, kAccelerationLevels[2]}},
        {"level below range", 800, 6, 1, 0, 3, 1, 0, {800, 10, 3, kAccelerationLevels[0]}},
    };
    for (const Case& c : cases) {
        ProfileData profile;
        profile.doubleClickSpeed = c.doubleClick;
        profile.pointerSpeed = c.pointerSpeed;
        profile.scrollByLine = c.byLine;
        profile.scrollByPage = c.byPage;
        profile.scrollLines = c.lines;
        profile.accelEnabled = c.accelEnabled;
        profile.accelLevel = c.accelLevel;
        EXPECT_EQ(pointerRequestFor(profile), c.expected) << c.name;
    }
}

TEST(PointerRequest, AccelerationLevelsStayWithinWhatTheSystemAccepts) {
    int previousStrength = 0;
    for (const AccelerationTriple& t : kAccelerationLevels) {
        EXPECT_GE(t.acceleration, 1);
        EXPECT_LE(t.acceleration, 2);
        EXPECT_GT(t.firstThreshold, 0);
        if (t.acceleration == 2) {
            EXPECT_GT(t.secondThreshold, t.firstThreshold);
        }
        // Stronger levels start accelerating earlier or multiply more.
        const int strength = t.acceleration * 100 - t.firstThreshold;
        EXPECT_GT(strength, previousStrength);
        previousStrength = strength;
    }
}

TEST(LoggingPointerSettings, RecordsInsteadOfApplying) {
    LoggingPointerSettings log;
    ProfileData profile;
    profile.scrollByLine = 0;
    profile.scrollByPage = 1;
    profile.accelEnabled = 1;
    profile.accelLevel = 3;
    log.apply(pointerRequestFor(profile));
    profile.scrollByPage = 0;
    profile.accelEnabled = 0;
    log.apply(pointerRequestFor(profile));
    const QStringList expected{"double-click time 800 ms", "mouse speed 10",           "wheel scroll page",
                               "acceleration 4 12 2",      "double-click time 800 ms", "mouse speed 10",
                               "acceleration 0 0 0"};
    EXPECT_EQ(log.lines(), expected);
}

} // namespace
} // namespace talwyn::pages
