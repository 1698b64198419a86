#include "macros/macro.h"

#include "macros/next_id.h"

namespace talwyn {

int32_t CMacro::nextEventId() const {
    std::vector<int32_t> ids;
    ids.reserve(events.size());
    for (const CEventItem& event : events)
        ids.push_back(event.eventId);
    return nextFreeId(ids, 1);
}

std::u16string_view mouseEventName(int16_t code, uint8_t flag) {
    struct ButtonNames {
        int16_t code;
        std::u16string_view down;
        std::u16string_view up;
    };
    static constexpr ButtonNames kButtons[] = {
        {1, u"Left button Down", u"Left button Up"},         {2, u"Right button Down", u"Right button Up"},
        {4, u"Middle button Down", u"Middle button Up"},     {166, u"Back button Down", u"Back button Up"},
        {167, u"Forward button Down", u"Forward button Up"},
    };
    if (code == 151)
        return u"Scroll wheel Up";
    if (code == 152)
        return u"Scroll wheel Down";
    for (const ButtonNames& button : kButtons) {
        if (button.code != code)
            continue;
        if (flag == event_flag::kPress)
            return button.down;
        if (flag == event_flag::kRelease)
            return button.up;
    }
    return {};
}

} // namespace talwyn
