#include "app/MainWindow.h"

#include <algorithm>
#include <functional>

#include "actions/ActionCatalogue.h"
#include "app/running/HandOver.h"
#include "app/options/OptionsWindow.h"
#include "core/Shortcut.h"
#include "app/CorvelloApp.h"
#include "core/Messages.h"
#include "core/Product.h"
#include "core/Text.h"
#include "toolkit/Application.h"
#include "toolkit/Log.h"

namespace corvello {
namespace {

// The system menu's command that opens the Options window.
constexpr UINT OptionsCommandId = 2395;

constexpr const wchar_t* InfoText =
    L"Software combines many useful but hidden actions in a single place. You can turn off monitor, hibernate the "
    L"system, start screensaver immediately, change keyboard lock, emulate useful key combinations, and press "
    L"missing system keys.";

// The description, and the tops of what lies below it in the design.
constexpr tk::Bounds InfoBounds{12, 8, 308, 67};
constexpr int HardwareTop = 72;
constexpr int KeyboardTop = 232;
constexpr int AutoRunTop = 340;
constexpr int OnlineTop = 364;
// How far those may move down: the room the design leaves between the last
// check box and the links along the bottom, less a small gap.
constexpr int RoomAboveLinks = 7;

tk::FormLayout MainLayout()
{
    tk::FormLayout layout;
    layout.ClassName = CorvelloApp::MainWindowClassName;
    layout.Caption = CORVELLO_WIDEN(CORVELLO_NAME);
    layout.ClientWidth = 328;
    layout.ClientHeight = 416;
    layout.Border = tk::BorderStyle::Single;
    layout.SystemMenu = true;
    layout.MinimizeBox = false;
    layout.MaximizeBox = false;
    layout.Visible = true;
    // A start with the window stored hidden (the start with Windows) puts
    // the tray icon up without the buttons and pictures nobody sees yet.
    layout.ControlsWhenShown = true;
    return layout;
}

// Buttons are 90 x 25 in three columns and rows 32 pixels apart.
tk::Bounds ButtonBounds(const ButtonPlace& place)
{
    return {12 + (place.Column - 1) * 100, 24 + (place.Row - 1) * 32, 90, 25};
}

// Each action's toolkit object carries the number of its ActionId.
int ActionTag(ActionId id) noexcept
{
    return static_cast<int>(id);
}

tk::Action* FindByTag(const tk::ActionList& list, ActionId id)
{
    for (const auto& action : list.Actions())
        if (action->Tag() == ActionTag(id))
            return action.get();
    return nullptr;
}

}  // namespace

MainWindow::MainWindow(CorvelloApp& app)
    : RunnerOwner(app, MainLayout(), L"frmMain"), app_(app), statistics_(app)
{
    // The LEDs exist before the window is built: a show during its building
    // refreshes them.
    LoadLeds();
    // A click on a button or a tray entry runs its catalogue entry.
    for (const ActionEntry& entry : catalogue::Actions) {
        auto& action = actions_.Add(std::make_unique<tk::Action>(std::wstring(L"act") + entry.Name, entry.Caption,
                                                                 entry.Hint, ActionTag(entry.Id), entry.Category));
        action.OnExecute = [this, &entry](tk::Action&) { app_.Runner().Run(entry, ActionTrigger::Control); };
    }
    timerGuard_.OnTimer = [this](tk::Timer& sender) { TimerGuardTimer(sender); };
}

MainWindow::~MainWindow() = default;

void MainWindow::LoadLeds()
{
    // Drawn for the size they show at: the small-icon size of the monitor.
    const int size = Handle() ? tk::Scale(16, Dpi()) : ::GetSystemMetrics(SM_CXSMICON);
    iconLedOff_ = tk::Icon::FromResource(L"LedGray", size, size);
    iconLedOn_ = tk::Icon::FromResource(L"LedRed", size, size);
}

void MainWindow::DoDpiChanged()
{
    TrayForm::DoDpiChanged();
    FitDescription();
    LoadLeds();
    LocksUpdate();
}

void MainWindow::CreateControls()
{
    TrayForm::CreateControls();
    info_ = std::make_unique<tk::Label>(*this, InfoBounds, InfoText,
                                          tk::Label::Options{true, false, tk::Alignment::Left, false});
    const auto bind = [this](tk::Container& group, const ButtonPlace& place) {
        auto& button = *buttons_.emplace_back(std::make_unique<tk::Button>(group, ButtonBounds(place)));
        button.SetAction(FindByTag(actions_, place.Action));
        button.Tag = place.Tag;
        const ActionEntry& entry = catalogue::Action(place.Action);
        button.OnContextMenu = [this, &entry](tk::Control&, POINT at) { ShowButtonMenu(entry, at); };
    };
    // Tab order: the hardware group with its buttons and the confirmations
    // box, the keyboard group with its buttons, then the two other boxes.
    hardwareGroup_ =
        std::make_unique<tk::GroupBox>(*this, tk::Bounds{8, HardwareTop, 312, 153}, catalogue::HardwareGroupCaption);
    for (const ButtonPlace& place : catalogue::HardwareButtons)
        bind(*hardwareGroup_, place);
    confirmations_ = std::make_unique<tk::CheckBox>(*hardwareGroup_, tk::Bounds{12, 124, 240, 17},
                                                       L"Show confirmations for irreversible actions", true);
    keyboardGroup_ =
        std::make_unique<tk::GroupBox>(*this, tk::Bounds{8, KeyboardTop, 314, 94}, catalogue::KeyboardGroupCaption);
    for (const ButtonPlace& place : catalogue::KeyboardButtons)
        bind(*keyboardGroup_, place);
    autoRun_ = std::make_unique<tk::CheckBox>(*this, tk::Bounds{12, AutoRunTop, 240, 17},
                                                 L"Automatically run program on system start", true);
    online_ = std::make_unique<tk::CheckBox>(*this, tk::Bounds{12, OnlineTop, 296, 17},
                                                       L"Online features (verify updates, Tickover\u2122 statistics)", true);
    for (const SettingBox& box : SettingBoxes())
        box.Box->OnClick = [this](tk::Control& sender) { OnCheckBoxClick(sender); };
    FitCheckBoxes();
    FitDescription();
}

void MainWindow::FitDescription()
{
    // The description gets the height its text needs, and the groups and
    // boxes below begin no higher than where the text ends (lower by at most
    // the room the design leaves above the links): a font scales by whole
    // pixels, so the five lines can come out taller than their designed
    // height scaled, and the caption of the group below would cover the last.
    if (!info_)
        return;
    const int need = info_->TextExtent(InfoBounds.Width, true).cy;
    const int shift = std::clamp(InfoBounds.Top + need - HardwareTop, 0, RoomAboveLinks);
    info_->SetBounds({InfoBounds.Left, InfoBounds.Top, InfoBounds.Width, std::max(InfoBounds.Height, need)});
    const struct {
        tk::Control* Control;
        int Top;
    } below[] = {{hardwareGroup_.get(), HardwareTop},
                 {keyboardGroup_.get(), KeyboardTop},
                 {autoRun_.get(), AutoRunTop},
                 {online_.get(), OnlineTop}};
    for (const auto& b : below)
        b.Control->MoveTo(b.Control->LayoutBounds().Left, b.Top + shift);
}

void MainWindow::FitCheckBoxes()
{
    // A caption that needs more room than the design gives (another font,
    // larger text) gets it: its box widens, and where the window is too
    // narrow for it, the window and its groups widen with it.
    const int client = Layout().ClientWidth;
    const struct {
        tk::CheckBox* Box;
        int Room;  // from the box's left edge to its container's right margin
    } boxes[] = {
        {confirmations_.get(), hardwareGroup_->LayoutBounds().Width - 12 - 12},
        {autoRun_.get(), client - 12 - 8},
        {online_.get(), client - 12 - 8},
    };
    int extra = 0;
    for (const auto& b : boxes) {
        const int need = b.Box->FittingWidth();
        const tk::Bounds at = b.Box->LayoutBounds();
        if (need > at.Width)
            b.Box->SetBounds({at.Left, at.Top, need, at.Height});
        extra = std::max(extra, need - b.Room);
    }
    if (extra <= 0)
        return;
    SetClientSize(client + extra, Layout().ClientHeight);
    for (tk::GroupBox* group : {hardwareGroup_.get(), keyboardGroup_.get()}) {
        const tk::Bounds at = group->LayoutBounds();
        group->SetBounds({at.Left, at.Top, at.Width + extra, at.Height});
    }
}

tk::Button* MainWindow::ButtonFor(ActionId id) const noexcept
{
    for (const auto& button : buttons_)
        if (button->GetAction() && button->GetAction()->Tag() == ActionTag(id))
            return button.get();
    return nullptr;
}

std::unique_ptr<tk::MenuItem> MainWindow::BuildSubmenu(const wchar_t* name, const wchar_t* caption,
                                                       std::span<const std::optional<ActionId>> entries)
{
    auto submenu = std::make_unique<tk::MenuItem>(name, caption);
    for (const std::optional<ActionId>& id : entries) {
        if (!id) {
            submenu->Add(std::make_unique<tk::MenuItem>(L"miSeparator", L"-"));
            continue;
        }
        tk::Action* action = FindByTag(actions_, *id);
        auto& item = submenu->Add(std::make_unique<tk::MenuItem>(L"mi" + action->Name().substr(3)));
        item.SetAction(action);
    }
    return submenu;
}

void MainWindow::AfterCreate()
{
    TrayForm::AfterCreate();
    // One spacing for the whole run.
    MinutesTimer().SetInterval(statistics_.TickInterval());
    MinutesTimer().SetEnabled(true);
    // "System" and "Keyboard" go to the top of the tray menu.
    auto& menu = TrayIconMenu().Items();
    menu.Insert(0, BuildSubmenu(L"miTrayIconKeyboard", catalogue::KeyboardMenuCaption, catalogue::KeyboardMenu));
    menu.Insert(0, BuildSubmenu(L"miTrayIconSystem", catalogue::SystemMenuCaption, catalogue::SystemMenu));
    // The system menu ends with a line and "Options...".
    if (const HMENU system = ::GetSystemMenu(Handle(), FALSE)) {
        ::AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(system, MF_STRING, OptionsCommandId, L"&Options...");
    }
    // A window that shows at the end of its construction shows first and
    // gets its tray icon right after (the application object refreshes the
    // icon once it has made the window); its boxes are filled before it
    // paints.
    if (PendingShow())
        SettingsUpdate();
    else
        FullUpdate();
    LocksUpdate();
    // Once the window shows: the Sleep hint asks Windows about its sleep.
    if (ControlsMade())
        tk::Application::Current().Post([this] { ActionHintsUpdate(); });
}

void MainWindow::ShortcutsChanged()
{
    for (const ActionEntry& entry : catalogue::Actions) {
        const std::wstring text = ShortcutText(app_.Shortcuts().Working(entry));
        if (tk::MenuItem* item = TrayIconMenu().Items().Find(std::wstring(L"mi") + entry.Name))
            item->ShortCutText = text;
    }
    ActionHintsUpdate();
}

void MainWindow::ActionHintsUpdate()
{
    const ActionEntry* waiting = app_.Timer().Action();
    for (const ActionEntry& entry : catalogue::Actions) {
        tk::Action* action = FindByTag(actions_, entry.Id);
        if (!action)
            continue;
        std::wstring hint = entry.Hint;
        // Asked of Windows only once a button can show it.
        if (entry.Operation == ActionOperation::Sleep && ControlsMade() && app_.System().SleepTurnsDisplayOff())
            hint += L" (on this computer, with Modern Standby: turns the display off, and the computer then "
                    L"enters standby)";
        if (const std::wstring keys = ShortcutText(app_.Shortcuts().Working(entry)); !keys.empty())
            hint = TrimBlanks(hint) + L" (" + keys + L")";
        if (waiting == &entry)
            hint += L"\r\nSet to run: " + app_.Timer().Status();
        action->SetHint(hint);
    }
}

void MainWindow::TimersChanged()
{
    TrayIconUpdate();
    TimerEntriesUpdate();
    ActionHintsUpdate();
}

void MainWindow::TimerEntriesUpdate()
{
    // "Cancel Shut Down at 23:30" and "Stop Keeping Awake" head the menu,
    // with a line below them, only while they apply.
    tk::MenuItem& menu = TrayIconMenu().Items();
    for (const wchar_t* name : {L"miTrayIconCancelTimer", L"miTrayIconStopAwake", L"miTrayIconTimerLine"})
        if (tk::MenuItem* item = menu.Find(name))
            menu.Remove(*item);
    std::size_t at = 0;
    const auto add = [&](const wchar_t* name, const std::wstring& caption, int tag) {
        auto& item = menu.Insert(at++, std::make_unique<tk::MenuItem>(name, caption, tag));
        item.OnClick = [this](tk::MenuItem& sender) {
            if (sender.Tag == 1)
                app_.Timer().Cancel();
            else
                app_.Awake().Stop();
        };
    };
    if (app_.Timer().Waiting())
        add(L"miTrayIconCancelTimer", L"Cancel " + app_.Timer().What(), 1);
    if (app_.Awake().Active())
        add(L"miTrayIconStopAwake", L"Stop Keeping Awake", 2);
    if (at > 0)
        menu.Insert(at, std::make_unique<tk::MenuItem>(L"miTrayIconTimerLine", L"-"));
}

void MainWindow::ShowButtonMenu(const ActionEntry& entry, POINT at)
{
    tk::MenuItem& items = buttonMenu_.Items();
    while (items.Count() > 0)
        items.Remove(items.Item(0));
    // The entries' tags: minutes for the action set for later in a while;
    // these for the others.
    enum { ShortcutTag = -1, AtTimeTag = -2, CancelTag = -3 };
    const auto add = [&](const std::wstring& caption, int tag) {
        auto& item = items.Add(std::make_unique<tk::MenuItem>(L"miButton", caption, tag));
        item.OnClick = [this, &entry](tk::MenuItem& sender) {
            switch (sender.Tag) {
            case ShortcutTag:
                app_.ShowOptions(OptionsWindow::PageId::Shortcuts, &entry);
                break;
            case AtTimeTag:
                app_.ShowOptions(OptionsWindow::PageId::Timer, &entry);
                break;
            case CancelTag:
                app_.Timer().Cancel();
                break;
            default:
                app_.Timer().Set(entry, LaterTime{DueKind::In, static_cast<std::uint32_t>(sender.Tag) * 60, 0});
                break;
            }
        };
    };
    add(L"&Shortcut...", ShortcutTag);
    add(L"-", 0);
    add(L"In &15 minutes", 15);
    add(L"In &30 minutes", 30);
    add(L"In 1 &hour", 60);
    add(L"In &2 hours", 120);
    add(L"&At a time...", AtTimeTag);
    if (app_.Timer().Action() == &entry)
        add(L"&Cancel " + app_.Timer().What(), CancelTag);
    buttonMenu_.Owner = Handle();
    buttonMenu_.Popup(at.x, at.y);
}

void MainWindow::ControlsInit()
{
    TrayForm::ControlsInit();
    // The links along the bottom: the pictures on the left, the web label in
    // capitals on the right.
    tk::Panel& social = SocialButtons();
    const int top = Layout().ClientHeight - social.LayoutBounds().Height - 8;
    social.MoveTo(social.LayoutBounds().Left, top);
    social.SetVisible(true);
    tk::Label& web = ClickLabelWeb();
    web.MoveTo(Layout().ClientWidth - web.LayoutBounds().Width - 8, top + 2);
    web.SetVisible(true);
}

void MainWindow::ControlsMadeOnShow()
{
    TrayForm::ControlsMadeOnShow();
    SettingsUpdate();
    LocksUpdate();
    ActionHintsUpdate();
}

void MainWindow::ControlsUpdate()
{
    TrayForm::ControlsUpdate();
    if (!FirstShow())
        FullUpdate();
    LocksUpdate();
}

std::wstring MainWindow::WebLabelCaption(const std::wstring& linkText) const
{
    return UpperAscii(linkText);
}

void MainWindow::TrayIconUpdate()
{
    try {
        // What waits, and Keep Awake, each a line below the name.
        std::wstring hint = app_.FullName();
        for (const std::wstring& status : {app_.Timer().Status(), app_.Awake().Status()})
            if (!status.empty())
                hint += L"\n" + status;
        TrayIcon().SetHint(hint);
        TrayIcon().SetVisible(true);
    } catch (...) {
        tk::LogCurrentException(L"updating the tray icon");
    }
}

void MainWindow::SettingsUpdate()
{
    ignoreChanges_ = true;
    struct Done {
        bool& Flag;
        ~Done() { Flag = false; }
    } done{ignoreChanges_};
    // The boxes are filled when they are made.
    if (!ControlsMade())
        return;
    for (const SettingBox& box : SettingBoxes())
        box.Box->SetChecked(app_.Settings().*box.Switch);
}

void MainWindow::FullUpdate()
{
    TrayIconUpdate();
    SettingsUpdate();
}

bool MainWindow::SomePopupVisible()
{
    return tk::Application::Current().ModalLevel() > 0 || TrayIconMenu().Visible();
}

bool MainWindow::ConfirmationsChecked() const noexcept
{
    if (confirmations_)
        return confirmations_->Checked();
    return app_.Settings().Confirmations;
}

std::array<MainWindow::SettingBox, 3> MainWindow::SettingBoxes() const noexcept
{
    return {{{autoRun_.get(), &GeneralSettings::AutoRun},
             {online_.get(), &GeneralSettings::Online},
             {confirmations_.get(), &GeneralSettings::Confirmations}}};
}

void MainWindow::OnCheckBoxClick(tk::Control& sender)
{
    if (ignoreChanges_)
        return;
    for (const SettingBox& box : SettingBoxes()) {
        if (box.Box != &sender)
            continue;
        GeneralSettings settings = app_.Settings();
        settings.*box.Switch = box.Box->Checked();
        app_.ChangeSettings(settings);
    }
}

void MainWindow::PostUpdate()
{
    ::PostMessageW(tk::Application::Current().Handle(), WM_APP_UPDATE, 0, 0);
}

void MainWindow::OnShowEvent(tk::Form& sender)
{
    TrayForm::OnShowEvent(sender);
    timerGuard_.SetEnabled(true);
    PostUpdate();
}

void MainWindow::OnHideEvent(tk::Form& sender)
{
    TrayForm::OnHideEvent(sender);
    timerGuard_.SetEnabled(false);
    PostUpdate();
}

void MainWindow::OnTimerMinutes(tk::Timer& sender)
{
    statistics_.Tick();
    TrayForm::OnTimerMinutes(sender);
}

void MainWindow::LocksUpdate()
{
    for (const ActionEntry& entry : catalogue::Actions) {
        if (entry.Lock == LockKey::None)
            continue;
        const bool on = app_.System().IsLockOn(entry.Lock);
        // The tray entry bound to the action shows the action's check mark.
        if (tk::Action* action = FindByTag(actions_, entry.Id))
            action->SetChecked(on);
        if (tk::MenuItem* item = TrayIconMenu().Items().Find(std::wstring(L"mi") + entry.Name))
            item->SetChecked(on);
        if (tk::Button* button = ButtonFor(entry.Id))
            button->SetGlyph(on ? iconLedOn_.Get() : iconLedOff_.Get());
    }
}

void MainWindow::TimerGuardTimer(tk::Timer&)
{
    if (!Visible())
        return;
    LocksUpdate();
    // Keys switched where no key went up (a driver, a session switch) show
    // their notice and meet their policy too.
    if (app_.LockKeys())
        app_.LockKeys()->Check();
}

LRESULT MainWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA)
        return TakeHandedOverAction(reinterpret_cast<const COPYDATASTRUCT*>(lParam), app_.Leaving(), app_.Requests());
    // The whole command word, as for About.
    if (message == WM_SYSCOMMAND && wParam == OptionsCommandId) {
        app_.ShowOptions(OptionsWindow::PageId::Shortcuts);
        return 0;
    }
    LRESULT result = 0;
    if (snapping_.HandleMessage(message, wParam, lParam, result))
        return result;
    return TrayForm::WndProc(message, wParam, lParam);
}

}  // namespace corvello
