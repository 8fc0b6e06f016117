// Work areas, fitting and centring of forms, and menu-entry insertion into
// native menus.
#pragma once

#include <windows.h>

#include "toolkit/Form.h"
#include "toolkit/MenuModel.h"
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

// Inserts a visible entry into a native menu (the system menu, say): caption
// with its shortcut, flags, the given command id. False when nothing was
// inserted.
bool MenuItemInsert(HMENU menu, const tk::MenuItem& item, UINT position, WORD commandId, bool rightToLeft);

}  // namespace corvello
