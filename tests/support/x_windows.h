#pragma once
// The viewable top-level windows of an X display, as a test sees them.

#include <QImage>
#include <QRect>
#include <QSize>

#include <functional>
#include <optional>
#include <string>

namespace talwyn::platform::testing {

// The first viewable top-level window whose title and size match, in root
// coordinates.
std::optional<QRect> findTopWindow(const std::string& displayName,
                                   const std::function<bool(const std::string& title, QSize size)>& matches);

// How many viewable top-level windows match; -1 without a display.
int countTopWindows(const std::string& displayName,
                    const std::function<bool(const std::string& title, QSize size)>& matches);

// The contents of the first viewable top-level window titled `title`; null
// when there is none.
QImage grabWindow(const std::string& displayName, const std::string& title);

} // namespace talwyn::platform::testing
