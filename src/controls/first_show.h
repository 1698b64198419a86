#pragma once
// Work only a visible widget needs, such as cutting its looks from the skin
// sheets, waits until the widget is first shown or painted: windows built
// hidden cost little until someone looks at them.

#include <QWidget>

#include <functional>

namespace talwyn::controls {

// Runs `prepare` once, just before `widget` is first shown or painted (an
// off-screen render paints without showing); at once when it shows already.
void whenFirstShown(QWidget& widget, std::function<void()> prepare);

} // namespace talwyn::controls
