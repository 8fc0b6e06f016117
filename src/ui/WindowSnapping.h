// A form whose edges stick to its work area's while the user drags it.
#pragma once

#include <windows.h>

#include "toolkit/Form.h"

namespace corvello {

class WindowSnapping {
public:
    // distance: how near an edge must come to stick, at 96 dpi.
    explicit WindowSnapping(tk::Form& form, int distance = 20) : form_(form), distance_(distance) {}

    // Called with the form's messages; true when it answered one (result).
    // Only a drag by the user snaps, not a move made by a program.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    tk::Form& form_;
    int distance_;
    bool dragging_ = false;
};

}  // namespace corvello
