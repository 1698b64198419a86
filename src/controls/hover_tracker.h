#pragma once
// Hover tracking of the skinned controls. A control takes the pointer on the
// first move over it and keeps it until a move finds the pointer outside its
// client area; the transitions tell the control when to change its look.
// Holding the pointer needs no explicit grab: while a button is held the
// toolkit keeps sending moves to the pressed widget wherever the pointer goes,
// and without one the widget's leave event stands for the first move outside.

namespace talwyn::controls {

enum class HoverChange { None, Entered, Left };

class HoverTracker {
public:
    // One pointer move (or the pointer leaving the window, reported as a move
    // outside). Moves outside reach a control only while it holds the pointer.
    HoverChange move(bool inside) {
        if (tracking_) {
            if (inside) {
                return HoverChange::None;
            }
            tracking_ = false;
            return HoverChange::Left;
        }
        if (!inside) {
            return HoverChange::None;
        }
        tracking_ = true;
        return HoverChange::Entered;
    }

    bool tracking() const { return tracking_; }

private:
    bool tracking_ = false;
};

} // namespace talwyn::controls
