#include "toolkit/MessageDialog.h"

#include <algorithm>

#include "toolkit/Application.h"

namespace tk {
namespace {

constexpr int Margin = 12;
constexpr int IconSize = 32;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int ButtonGap = 8;
constexpr int MaxTextWidth = 380;

bool Offers(const DialogButtons& buttons, DialogButton button)
{
    return std::find(buttons.begin(), buttons.end(), button) != buttons.end();
}

}  // namespace

std::wstring DialogCaption(DialogType type)
{
    switch (type) {
    case DialogType::Warning:
        return L"Warning";
    case DialogType::Error:
        return L"Error";
    case DialogType::Information:
        return L"Information";
    case DialogType::Confirmation:
        return L"Confirm";
    case DialogType::Custom:
        break;
    }
    return Application::Current().Title();
}

int DialogButtonResult(DialogButton button)
{
    switch (button) {
    case DialogButton::Yes:
        return mr::Yes;
    case DialogButton::No:
        return mr::No;
    case DialogButton::OK:
        return mr::OK;
    case DialogButton::Cancel:
        return mr::Cancel;
    case DialogButton::Abort:
        return mr::Abort;
    case DialogButton::Retry:
        return mr::Retry;
    case DialogButton::Ignore:
        return mr::Ignore;
    case DialogButton::All:
        return mr::All;
    case DialogButton::NoToAll:
        return mr::NoToAll;
    case DialogButton::YesToAll:
        return mr::YesToAll;
    case DialogButton::Help:
        return mr::None;
    case DialogButton::Close:
        return mr::Close;
    }
    return mr::None;
}

std::wstring DialogButtonCaption(DialogButton button)
{
    switch (button) {
    case DialogButton::Yes:
        return L"&Yes";
    case DialogButton::No:
        return L"&No";
    case DialogButton::OK:
        return L"OK";
    case DialogButton::Cancel:
        return L"Cancel";
    case DialogButton::Abort:
        return L"&Abort";
    case DialogButton::Retry:
        return L"&Retry";
    case DialogButton::Ignore:
        return L"&Ignore";
    case DialogButton::All:
        return L"&All";
    case DialogButton::NoToAll:
        return L"N&o to All";
    case DialogButton::YesToAll:
        return L"Yes to &All";
    case DialogButton::Help:
        return L"&Help";
    case DialogButton::Close:
        return L"&Close";
    }
    return {};
}

std::optional<DialogButton> DialogCancelButton(const DialogButtons& buttons)
{
    for (const DialogButton candidate : {DialogButton::Cancel, DialogButton::No, DialogButton::OK})
        if (Offers(buttons, candidate))
            return candidate;
    return std::nullopt;
}

MessageDialog::MessageDialog(std::wstring message, DialogType type, DialogButtons buttons, DialogButton defaultButton)
    : Form(FormLayout{L"TMessageForm", DialogCaption(type), 0, 0, 300, 100, BorderStyle::Dialog, true, false, false,
                      false, FontSpec{}}),
      messageText_(std::move(message)), type_(type), defaultButton_(defaultButton)
{
    // The standard order, whatever order the caller listed them in, each once
    // (a walk over the kinds: a general sort is much more code).
    for (int kind = 0; kind <= static_cast<int>(DialogButton::Close); ++kind)
        if (Offers(buttons, static_cast<DialogButton>(kind)))
            buttonKinds_.push_back(static_cast<DialogButton>(kind));
}

Button* MessageDialog::ButtonFor(DialogButton button) const noexcept
{
    for (const auto& [kind, control] : buttons_)
        if (kind == button)
            return control.get();
    return nullptr;
}

void MessageDialog::CreateControls()
{
    const wchar_t* iconId = nullptr;
    switch (type_) {
    case DialogType::Warning:
        iconId = IDI_WARNING;
        break;
    case DialogType::Error:
        iconId = IDI_ERROR;
        break;
    case DialogType::Information:
        iconId = IDI_INFORMATION;
        break;
    case DialogType::Confirmation:
        iconId = IDI_QUESTION;
        break;
    case DialogType::Custom:
        break;
    }
    int textLeft = Margin;
    image_ = std::make_unique<Image>(*this, Bounds{Margin, Margin, IconSize, IconSize}, false);
    if (iconId) {
        typeIcon_ = Icon::FromSystem(iconId);
        image_->SetIcon(typeIcon_.Get());
        textLeft += IconSize + Margin;
    } else {
        image_->SetVisible(false);
    }

    // One line as long as it fits; wrapped at the widest a message gets otherwise.
    message_ = std::make_unique<Label>(*this, Bounds{textLeft, Margin, 0, 0}, messageText_);
    if (message_->LayoutBounds().Width > MaxTextWidth)
        message_ = std::make_unique<Label>(*this, Bounds{textLeft, Margin, MaxTextWidth, 0}, messageText_,
                                           Label::Options{true, true, Alignment::Left, false});
    const Bounds text = message_->LayoutBounds();

    const int count = static_cast<int>(buttonKinds_.size());
    const int rowWidth = count * ButtonWidth + std::max(0, count - 1) * ButtonGap;
    const int width = std::max(text.Left + text.Width + Margin, rowWidth + 2 * Margin);
    const int contentBottom = std::max(iconId ? Margin + IconSize : 0, text.Top + text.Height);
    const int buttonTop = contentBottom + 16;
    int left = (width - rowWidth) / 2;

    const auto cancel = DialogCancelButton(buttonKinds_);
    for (const DialogButton kind : buttonKinds_) {
        auto button = std::make_unique<Button>(*this, Bounds{left, buttonTop, ButtonWidth, ButtonHeight},
                                               DialogButtonCaption(kind));
        button->ModalResult = DialogButtonResult(kind);
        if (kind == defaultButton_)
            button->SetDefault(true);
        if (cancel && kind == *cancel)
            SetCancelButton(button.get());
        left += ButtonWidth + ButtonGap;
        buttons_.emplace_back(kind, std::move(button));
    }
    SetClientSize(width, buttonTop + ButtonHeight + Margin);
    if (Button* chosen = ButtonFor(defaultButton_))
        SetActiveControl(chosen);
}

std::unique_ptr<MessageDialog> CreateMessageDialog(const std::wstring& message, DialogType type,
                                                   const DialogButtons& buttons, DialogButton defaultButton)
{
    return CreateForm<MessageDialog>(message, type, buttons, defaultButton);
}

}  // namespace tk
