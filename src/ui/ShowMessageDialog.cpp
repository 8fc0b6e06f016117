#include "ui/ShowMessageDialog.h"

#include <utility>

#include "toolkit/Application.h"
#include "ui/FormPlacement.h"

namespace corvello {
namespace {

// The modal level rises for the dialog's whole life, errors included.
class ModalScope {
public:
    ModalScope() { tk::Application::Current().ModalStarted(); }
    ~ModalScope() { tk::Application::Current().ModalFinished(); }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

}  // namespace

MessageDialogArgs::MessageDialogArgs(std::wstring message) : message_(std::move(message)) {}

MessageDialogArgs::~MessageDialogArgs() = default;

MessageDialogArgs& MessageDialogArgs::Buttons(const tk::DialogButtons& buttons, tk::DialogButton defaultButton)
{
    buttons_ = buttons;
    default_ = defaultButton;
    return *this;
}

MessageDialogArgs& MessageDialogArgs::Caption(const std::wstring& caption)
{
    caption_ = caption;
    return *this;
}

int ShowMessageDialog(const MessageDialogArgs& args)
{
    const ModalScope modal;
    const auto dialog = tk::CreateMessageDialog(args.message_, args.type_, args.buttons_, args.default_);
    if (!args.caption_.empty())
        dialog->SetCaption(args.caption_);
    // The picture is made with the window; without a window there is none.
    if (args.icon_ && args.type_ != tk::DialogType::Custom && dialog->IconImage())
        dialog->IconImage()->SetIcon(args.icon_);
    if (args.color_)
        dialog->SetColor(*args.color_);
    if (args.font_)
        dialog->SetFont(*args.font_);
    FormCenterOnForm(dialog.get(), args.owner_);
    if (args.owner_ && args.owner_->Handle())
        ::SetWindowLongPtrW(dialog->Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(args.owner_->Handle()));
    return dialog->ShowModal();
}

}  // namespace corvello
