// The standard message dialog: an icon for its type, the message, and a row
// of standard buttons, each closing the dialog with its modal result.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolkit/Form.h"

namespace tk {

enum class DialogType { Warning, Error, Information, Confirmation, Custom };
// In the order a dialog shows them; Close stays the last.
enum class DialogButton { Yes, No, OK, Cancel, Abort, Retry, Ignore, All, NoToAll, YesToAll, Help, Close };
using DialogButtons = std::vector<DialogButton>;

// "Warning", "Error", "Information", "Confirm"; empty for a custom dialog.
std::wstring DialogCaption(DialogType type);
int DialogButtonResult(DialogButton button);
std::wstring DialogButtonCaption(DialogButton button);
// The button Escape answers with: Cancel, else No, else OK, when offered.
std::optional<DialogButton> DialogCancelButton(const DialogButtons& buttons);

class MessageDialog : public Form {
public:
    MessageDialog(std::wstring message, DialogType type, DialogButtons buttons, DialogButton defaultButton);

    // The picture of the dialog's type; callers may put another in.
    Image* IconImage() const noexcept { return image_.get(); }
    Label* MessageLabel() const noexcept { return message_.get(); }
    Button* ButtonFor(DialogButton button) const noexcept;
    DialogType Type() const noexcept { return type_; }

protected:
    void CreateControls() override;

private:
    std::wstring messageText_;
    DialogType type_;
    DialogButtons buttonKinds_;
    DialogButton defaultButton_;
    Icon typeIcon_;
    std::unique_ptr<Image> image_;
    std::unique_ptr<Label> message_;
    std::vector<std::pair<DialogButton, std::unique_ptr<Button>>> buttons_;
};

std::unique_ptr<MessageDialog> CreateMessageDialog(const std::wstring& message, DialogType type,
                                                   const DialogButtons& buttons, DialogButton defaultButton);

}  // namespace tk
