// Work areas, fitting and centring of forms.
#pragma once

#include <windows.h>

#include "toolkit/Form.h"
#include "ui/Placement.h"

namespace corvello {

// The primary monitor's work area.
Area GetWorkArea();
// The work area of the monitor nearest to the form (the primary one without a form).
Area GetFormWorkArea(const tk::Form* form);
void FormFitIntoWorkArea(tk::Form* form);
void FormCenterOnWorkArea(tk::Form* form);
// Centred on the other form when it is visible, else on the work area.
void FormCenterOnForm(tk::Form* form, const tk::Form* other);

}  // namespace corvello
