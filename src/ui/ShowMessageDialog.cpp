#include "ui/ShowMessageDialog.h"

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

int ShowMessageDialog(const std::wstring& message, tk::DialogType type, const tk::DialogButtons& buttons, int,
                  tk::DialogButton defaultButton, tk::Form* owner, const std::wstring& caption, HICON icon,
                  std::optional<COLORREF> color, const tk::FontSpec* font)
{
    const ModalScope modal;
    const auto dialog = tk::CreateMessageDialog(message, type, buttons, defaultButton);
    if (!caption.empty())
        dialog->SetCaption(caption);
    // The picture is made with the window; without a window there is none.
    if (icon && type != tk::DialogType::Custom && dialog->IconImage())
        dialog->IconImage()->SetIcon(icon);
    if (color)
        dialog->SetColor(*color);
    if (font)
        dialog->SetFont(*font);
    FormCenterOnForm(dialog.get(), owner);
    if (owner && owner->Handle())
        ::SetWindowLongPtrW(dialog->Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner->Handle()));
    return dialog->ShowModal();
}

}  // namespace corvello
