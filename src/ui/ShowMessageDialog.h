// Every question and warning of the program: the standard message dialog
// with a caption and icon of the caller's choice, centred over its owner.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "toolkit/Form.h"
#include "toolkit/MessageDialog.h"

namespace corvello {

// What a dialog shows, each argument named where the caller sets it:
// ShowMessageDialog(MessageDialogArgs(question).Owner(this).Icon(icon)).
// Unset, it is a question answered Yes or No, No ready for Enter, with no
// owner; the dialog's own caption, icon, colour and font.
class MessageDialogArgs {
public:
    explicit MessageDialogArgs(std::wstring message);
    ~MessageDialogArgs();
    MessageDialogArgs(const MessageDialogArgs&) = delete;
    MessageDialogArgs& operator=(const MessageDialogArgs&) = delete;

    MessageDialogArgs& Type(tk::DialogType type)
    {
        type_ = type;
        return *this;
    }
    MessageDialogArgs& Buttons(const tk::DialogButtons& buttons, tk::DialogButton defaultButton);
    // Centred over it, and owned by it.
    MessageDialogArgs& Owner(tk::Form* owner)
    {
        owner_ = owner;
        return *this;
    }
    // An empty caption or a null icon keeps the dialog's own.
    MessageDialogArgs& Caption(const std::wstring& caption);
    MessageDialogArgs& Icon(HICON icon)
    {
        icon_ = icon;
        return *this;
    }
    MessageDialogArgs& Color(COLORREF color)
    {
        color_ = color;
        return *this;
    }
    MessageDialogArgs& Font(const tk::FontSpec& font)
    {
        font_ = &font;
        return *this;
    }

private:
    friend int ShowMessageDialog(const MessageDialogArgs& args);

    std::wstring message_;
    tk::DialogType type_ = tk::DialogType::Confirmation;
    tk::DialogButtons buttons_ = {tk::DialogButton::Yes, tk::DialogButton::No};
    tk::DialogButton default_ = tk::DialogButton::No;
    tk::Form* owner_ = nullptr;
    std::wstring caption_;
    HICON icon_ = nullptr;
    std::optional<COLORREF> color_;
    const tk::FontSpec* font_ = nullptr;
};

// Shows the dialog modally; the button pressed (tk::mr).
int ShowMessageDialog(const MessageDialogArgs& args);

}  // namespace corvello
