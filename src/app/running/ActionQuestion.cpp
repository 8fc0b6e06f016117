#include "app/running/ActionQuestion.h"

#include "actions/ActionCatalogue.h"
#include "core/StringIds.h"
#include "core/Text.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/Resources.h"
#include "ui/ShowMessageDialog.h"
#include "ui/TrayForm.h"

namespace corvello {

std::wstring ActionQuestionText(const std::wstring& hint, const std::wstring& caption)
{
    return FormatText(tk::LoadResourceString(IDS_ACTION_CONFIRMATION), {hint, caption});
}

bool ConfirmAction(const std::wstring& caption, const std::wstring& hint, bool mainWindowVisible, tk::Form* owner,
                   const std::wstring& programName)
{
    const std::wstring dialogCaption = catalogue::DialogCaption(caption, mainWindowVisible, programName);
    const HICON icon = catalogue::UsesApplicationIcon(mainWindowVisible) ? TrayForm::ApplicationIcon() : nullptr;
    const std::wstring question = ActionQuestionText(hint, caption);
    const int answer = ShowMessageDialog(MessageDialogArgs(question).Owner(owner).Caption(dialogCaption).Icon(icon));
    return answer == tk::mr::Yes;
}

}  // namespace corvello
