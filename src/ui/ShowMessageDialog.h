// Every question and warning of the program: the standard message dialog
// with a caption and icon of the caller's choice, centred over its owner.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "toolkit/Form.h"
#include "toolkit/MessageDialog.h"

namespace corvello {

// helpContext is accepted and ignored. An empty caption, a null icon, no
// colour and no font keep the dialog's own.
int ShowMessageDialog(const std::wstring& message, tk::DialogType type, const tk::DialogButtons& buttons,
                  int helpContext, tk::DialogButton defaultButton, tk::Form* owner, const std::wstring& caption,
                  HICON icon, std::optional<COLORREF> color, const tk::FontSpec* font);

}  // namespace corvello
