// The question an action asks before it runs, where the catalogue's rule says
// so: the action's hint, then Perform "<caption>" action?, with Yes and No
// and No the default.
#pragma once

#include <string>

#include "toolkit/Form.h"

namespace corvello {

// While the main window is visible the dialog takes the action's caption and
// the question's icon; otherwise (the tray menu, a command line) the caption
// is the program's name (programName), " - " and the action's caption, and
// the icon the program's. The owner may be null. True for Yes.
// The question's text, from the program's string table: the hint, then on a
// second line Perform "<caption>" action?. The hint and caption are taken as
// they are, nothing in them read as a format.
std::wstring ActionQuestionText(const std::wstring& hint, const std::wstring& caption);

bool ConfirmAction(const std::wstring& caption, const std::wstring& hint, bool mainWindowVisible, tk::Form* owner,
                   const std::wstring& programName);

}  // namespace corvello
