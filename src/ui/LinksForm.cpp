#include "ui/LinksForm.h"

#include "core/AppBase.h"
#include "core/SystemVersion.h"

namespace corvello {
namespace {

constexpr COLORREF LinkColor = RGB(0, 0, 255);

}  // namespace

LinksForm::LinksForm(AppBase& application, tk::FormLayout layout, std::wstring componentName)
    : PersistentForm(application, std::move(layout), std::move(componentName))
{
}

void LinksForm::CreateControls()
{
    PersistentForm::CreateControls();
    const tk::Label::Options link{false, true, tk::Alignment::Center, true};
    clickLabelEmail_ = std::make_unique<tk::Label>(*this, tk::Bounds{8, 48, 0, 0}, L"Email", link);
    clickLabelWeb_ = std::make_unique<tk::Label>(*this, tk::Bounds{8, 72, 0, 0}, L"Web", link);
    for (tk::Label* label : {clickLabelEmail_.get(), clickLabelWeb_.get()}) {
        label->SetFont(tk::FontSpec{});  // Tahoma, 11 pixels
        label->SetTextColor(LinkColor);
        label->SetVisible(false);
    }
    clickLabelEmail_->Tag = LinkIdEmail;
    bvIcon_ = std::make_unique<tk::Bevel>(*this, tk::Bounds{62, 38, 128, 128});
    bvIcon_->SetVisible(false);
    icon_ = std::make_unique<tk::Image>(*this, tk::Bounds{66, 42, 128, 128}, true, true);
    icon_->SetVisible(false);
    socialButtons_ = std::make_unique<tk::Panel>(*this, tk::Bounds{8, 8, 128, 16});
    socialButtons_->SetVisible(false);
    const struct {
        int Left;
        int Tag;
        const wchar_t* Resource;
    } pictures[] = {
        {0, LinkIdFacebook, L"SOCIAL_FACEBOOK"}, {20, LinkIdGplus, L"SOCIAL_GPLUS"},
        {40, LinkIdTwitter, L"SOCIAL_TWITTER"},  {60, LinkIdRSS, L"SOCIAL_RSS"},
        {80, LinkIdDelicious, L"SOCIAL_DELICIOUS"}, {100, LinkIdStumbleUpon, L"SOCIAL_STUMBLEUPON"},
    };
    for (std::size_t i = 0; i < std::size(pictures); ++i) {
        social_[i].Image =
            std::make_unique<tk::Image>(*socialButtons_, tk::Bounds{pictures[i].Left, 0, 16, 16}, true, true);
        social_[i].Image->Tag = pictures[i].Tag;
        social_[i].Image->AutoSize = true;
        social_[i].Resource = pictures[i].Resource;
    }
    LoadPictures();
}

void LinksForm::LoadPictures()
{
    // Each picture is drawn for the size it shows at, never stretched.
    const int size = tk::Scale(16, Dpi());
    for (Social& s : social_) {
        s.Picture = tk::Icon::FromResource(s.Resource, size, size);
        s.Image->SetIcon(s.Picture.Get());
    }
    // The big icon is drawn anew for the size too, once it shows.
    if (bigIcon_) {
        icon_->SetIcon(nullptr);
        bigIcon_ = tk::Icon();
    }
    LoadBigIconWhereShown();
}

void LinksForm::LoadBigIconWhereShown()
{
    // Only a window that shows the big icon loads it (its largest frame is
    // the slowest picture to read): the About dialog does, the main window
    // never.
    if (!icon_->Visible() || bigIcon_)
        return;
    // Windows before Vista draw no icon larger than 48 pixels; later ones
    // get it from the 256-pixel frame, the icon's largest.
    const int big = tk::Scale(IsWinVistaOrHigher ? 128 : 48, Dpi());
    bigIcon_ = IsWinVistaOrHigher ? tk::Icon::ScaledDown(L"MAINICON", 256, big)
                                  : tk::Icon::FromResource(L"MAINICON", big, big);
    icon_->SetIcon(bigIcon_.Get());
}

void LinksForm::DoDpiChanged()
{
    PersistentForm::DoDpiChanged();
    if (ControlsMade())
        LoadPictures();
}

void LinksForm::AfterCreate()
{
    PersistentForm::AfterCreate();
    if (ControlsMade())
        ControlsInit();
}

void LinksForm::ControlsMadeOnShow()
{
    PersistentForm::ControlsMadeOnShow();
    ControlsInit();
}

void LinksForm::ControlsInit()
{
    SocialButtonsInit();
    ClickLabelsInit();
    // The icon keeps tag 0: a click opens the web site with the version.
    icon_->OnClick = [this](tk::Control& sender) { OnLinkClick(sender); };
}

void LinksForm::SocialButtonsInit()
{
    const LinkSet& links = application_.Links();
    const Link* byPicture[] = {&links.Facebook, &links.Gplus, &links.Twitter,
                               &links.RSS,      &links.Delicious, &links.StumbleUpon};
    for (std::size_t i = 0; i < std::size(social_); ++i)
        LinkImageSetup(*social_[i].Image, byPicture[i]->Id, byPicture[i]->Hint,
                       [this](tk::Control& sender) { OnLinkClick(sender); });
}

void LinksForm::ClickLabelsInit()
{
    const LinkSet& links = application_.Links();
    const auto click = [this](tk::Control& sender) { OnLinkClick(sender); };
    const auto enter = [this](tk::Control& sender) { OnLinkMouseEnter(sender); };
    const auto leave = [this](tk::Control& sender) { OnLinkMouseLeave(sender); };
    LinkLabelSetup(*clickLabelWeb_, links.Web.Id, WebLabelCaption(links.Web.Text), links.Web.Hint, click, enter,
                   leave);
    LinkLabelSetup(*clickLabelEmail_, links.Email.Id, links.Email.Text, links.Email.Hint, click, enter, leave);
}

void LinksForm::ControlsUpdate()
{
    // Controls made later are bound then.
    if (!ControlsMade())
        return;
    SocialButtonsInit();
    ClickLabelsInit();
    icon_->SetHint(application_.Links().Web.Hint);
    LoadBigIconWhereShown();
    const tk::Bounds icon = icon_->LayoutBounds();
    bvIcon_->SetBounds({icon.Left, icon.Top, bvIcon_->LayoutBounds().Width, bvIcon_->LayoutBounds().Height});
    // The frame marks the icon's place when the icon failed to load.
    bvIcon_->SetVisible(icon_->Visible() && !icon_->Icon());
}

void LinksForm::Update()
{
    if (Handle())
        ::UpdateWindow(Handle());
    ControlsUpdate();
}

void LinksForm::OnShowEvent(tk::Form& sender)
{
    ControlsUpdate();
    PersistentForm::OnShowEvent(sender);
}

}  // namespace corvello
