#include "online/Notifier.h"

#include <algorithm>

#include "core/Ticks.h"
#include "toolkit/Application.h"
#include "toolkit/Concat.h"
#include "toolkit/Log.h"

namespace corvello {

namespace {

constexpr std::uint32_t PollMilliseconds = 50;
constexpr std::int32_t RequestTimeout = 408;
// Recorded for a navigation error that came without a status code of its own.
constexpr std::int32_t UnknownNavigationError = static_cast<std::int32_t>(E_FAIL);

std::unique_ptr<Notifier>& ProgramNotifierHolder()
{
    static std::unique_ptr<Notifier> notifier;
    return notifier;
}

// Sleeps until a message arrives, or at most the slice, then dispatches what
// has come: a message waits no longer than its own dispatch.
void AwaitMessages(std::uint32_t slice)
{
    ::MsgWaitForMultipleObjectsEx(0, nullptr, std::min(slice, PollMilliseconds), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    tk::Application::Current().ProcessMessages();
}

// Dispatches messages until the time is up or the browser is gone.
void DispatchFor(std::uint32_t milliseconds, const std::weak_ptr<void>& life)
{
    const DWORD start = ::GetTickCount();
    tk::Application::Current().ProcessMessages();
    for (;;) {
        const std::uint32_t passed = TickDistance(::GetTickCount(), start);
        if (life.expired() || passed >= milliseconds)
            return;
        AwaitMessages(milliseconds - passed);
    }
}

}  // namespace

NotifierBrowser::NotifierBrowser(Notifier& owner, HWND parent, std::uint32_t timeBegin)
    : tk::WebBrowser(parent), TimeBegin(timeBegin), owner_(owner)
{
}

NotifierBrowser::~NotifierBrowser()
{
    Destroying = true;
    ClearEvents();
}

std::uint32_t NotifierBrowser::Elapsed() const noexcept
{
    return TickDistance(::GetTickCount(), TimeBegin);
}

Notifier::Notifier(const std::wstring& url, HWND parent) : Url(url), parent_(parent) {}

Notifier::~Notifier()
{
    destroying_ = true;
    // The most recent first.
    for (std::size_t i = browsers_.size(); i-- > 0;) {
        if (i < browsers_.size()) {
            try {
                FreeBrowser(browsers_[i].get());
            } catch (...) {
                tk::LogCurrentException(L"releasing a notifier browser");
            }
        }
    }
    browsers_.clear();
    ole_.reset();
}

NotifierBrowser* Notifier::CreateBrowser()
{
    if (!parent_)
        throw tk::BrowserError("the notifier has no parent window", E_HANDLE);
    if (!ole_)
        ole_ = std::make_unique<tk::OleSession>();
    const std::uint32_t timeBegin = ::GetTickCount();
    browsers_.push_back(std::make_unique<NotifierBrowser>(*this, parent_, timeBegin));
    NotifierBrowser* browser = browsers_.back().get();
    try {
        browser->SetSilent(true);
    } catch (...) {
        FreeBrowser(browser);
        throw;
    }
    browser->OnNavigateError = [this](tk::WebBrowser& sender, std::int32_t status) {
        DoNavigateError(static_cast<NotifierBrowser*>(&sender), status);
    };
    browser->OnProgressChange = [this](tk::WebBrowser& sender) {
        DoProgressChange(static_cast<NotifierBrowser*>(&sender));
    };
    return browser;
}

void Notifier::FreeBrowser(NotifierBrowser* browser)
{
    if (!browser || browser->Destroying)
        return;
    browser->Destroying = true;
    const auto found = std::find_if(browsers_.begin(), browsers_.end(),
                                    [browser](const auto& owned) { return owned.get() == browser; });
    if (found == browsers_.end())
        return;
    // Out of the list first: its destruction may dispatch messages that
    // reach the list again.
    std::unique_ptr<NotifierBrowser> owned = std::move(*found);
    browsers_.erase(found);
    owned.reset();
}

bool Notifier::WaitBrowser(NotifierBrowser* browser)
{
    // The messages dispatched here may release the browser, or the whole
    // notifier: after each round the browser's life is checked before
    // anything of it or of this notifier is touched again.
    const std::weak_ptr<void> life = browser->Life();
    while (browser->Busy()) {
        if (browser->ErrorCode != 0)
            return false;
        const std::uint32_t elapsed = browser->Elapsed();
        if (elapsed >= browser->TimeOut)
            return false;
        AwaitMessages(browser->TimeOut - elapsed);
        if (life.expired())
            return false;
    }
    if (browser->ErrorCode != 0)
        return false;
    if (browser->TimeOnPage > 0)
        DispatchFor(browser->TimeOnPage, life);
    return true;
}

bool Notifier::Notify(const std::wstring& verb, const std::wstring& data, bool wait, std::uint32_t timeOnPage,
                       std::uint32_t timeOut)
{
    NotifierBrowser* browser = CreateBrowser();
    const std::weak_ptr<void> life = browser->Life();
    bool offline = true;
    try {
        offline = browser->Offline();
    } catch (...) {
        FreeBrowser(browser);
        throw;
    }
    if (offline) {
        FreeBrowser(browser);
        return false;
    }
    browser->TimeOnPage = timeOnPage;
    browser->TimeOut = timeOut;
    const std::wstring address = ComposeNotifyAddress(Url, verb, data);

    if (wait) {
        bool result = false;
        try {
            browser->Navigate(address);
            result = WaitBrowser(browser);
        } catch (...) {
            if (!life.expired())
                FreeBrowser(browser);
            throw;
        }
        // Gone already when a message handler released the notifier.
        if (!life.expired())
            FreeBrowser(browser);
        return result;
    }

    browser->OnDownloadComplete = [this](tk::WebBrowser& sender) {
        DoDownloadComplete(static_cast<NotifierBrowser*>(&sender));
    };
    try {
        browser->Navigate(address);
    } catch (...) {
        FreeBrowser(browser);
        throw;
    }
    return true;
}

void Notifier::Ping(const std::wstring& verb, const std::wstring& data)
{
    Notify(verb, data, true, PingTimeOnPage, LoadTimeOut);
}

bool Notifier::IsOnline()
{
    return SafeNotify(L"event", L"", true, 0, LoadTimeOut);
}

bool Notifier::SafeNotify(const std::wstring& verb, const std::wstring& data, bool wait, std::uint32_t timeOnPage,
                           std::uint32_t timeOut) noexcept
{
    try {
        return Notify(verb, data, wait, timeOnPage, timeOut);
    } catch (...) {
        tk::LogCurrentException(tk::Concat({L"notification \"", verb, L"\""}));
        return false;
    }
}

void Notifier::SafePing(const std::wstring& verb, const std::wstring& data) noexcept
{
    try {
        Ping(verb, data);
    } catch (...) {
        tk::LogCurrentException(tk::Concat({L"ping \"", verb, L"\""}));
    }
}

void Notifier::SetParent(HWND parent)
{
    parent_ = parent;
    // Without a new parent the browsers stay where they are.
    if (!parent_)
        return;
    for (const auto& browser : browsers_)
        if (browser && !browser->Destroying)
            browser->SetParentWindow(parent_);
}

void Notifier::DoDownloadComplete(NotifierBrowser* sender)
{
    if (!sender || sender->Completing)
        return;
    sender->Completing = true;
    sender->ClearEvents();
    // The wait and the release run after the control's event has returned:
    // the control is never destroyed from inside one of its own calls.
    sender->RunLater([this, sender] {
        const std::weak_ptr<void> life = sender->Life();
        WaitBrowser(sender);
        if (!life.expired())
            FreeBrowser(sender);
    });
}

void Notifier::DoNavigateError(NotifierBrowser* sender, std::int32_t statusCode)
{
    if (!sender)
        return;
    sender->ErrorCode = statusCode != 0 ? statusCode : UnknownNavigationError;
}

void Notifier::DoProgressChange(NotifierBrowser* sender)
{
    if (!sender)
        return;
    if (sender->Elapsed() >= sender->TimeOut)
        sender->ErrorCode = RequestTimeout;
}

Notifier* ProgramNotifier() noexcept
{
    return ProgramNotifierHolder().get();
}

bool CreateProgramNotifier(const std::wstring& url, HWND parent)
{
    auto& notifier = ProgramNotifierHolder();
    if (!notifier)
        notifier = std::make_unique<Notifier>();
    notifier->Url = url;
    notifier->SetParent(parent);
    return true;
}

bool FreeProgramNotifier()
{
    std::unique_ptr<Notifier> old = std::move(ProgramNotifierHolder());
    old.reset();
    return true;
}

}  // namespace corvello
