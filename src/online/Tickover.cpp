#include "online/Tickover.h"

#include <algorithm>

#include "core/Ticks.h"
#include "toolkit/Application.h"

namespace corvello {

namespace {

constexpr std::uint32_t PollMilliseconds = 50;
constexpr std::int32_t RequestTimeout = 408;
// Recorded for a navigation error that came without a status code of its own.
constexpr std::int32_t UnknownNavigationError = static_cast<std::int32_t>(E_FAIL);

std::unique_ptr<TTickover>& ProgramTickover()
{
    static std::unique_ptr<TTickover> tickover;
    return tickover;
}

// Dispatches messages until the time is up or the browser is gone, sleeping
// until a message arrives rather than spinning.
void DispatchFor(std::uint32_t milliseconds, const std::weak_ptr<void>& life)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        tk::Application::Current().ProcessMessages();
        const std::uint32_t passed = TickDistance(::GetTickCount(), start);
        if (life.expired() || passed >= milliseconds)
            return;
        const DWORD slice = std::min<std::uint32_t>(milliseconds - passed, PollMilliseconds);
        ::MsgWaitForMultipleObjectsEx(0, nullptr, slice, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

}  // namespace

TTickoverBrowser::TTickoverBrowser(TTickover& AOwner, HWND parent, std::uint32_t ATimeBegin)
    : TWebBrowser(parent), TimeBegin(ATimeBegin), FOwner(AOwner)
{
}

TTickoverBrowser::~TTickoverBrowser()
{
    FDestroying = true;
    ClearEvents();
}

std::uint32_t TTickoverBrowser::Elapsed() const noexcept
{
    return TickDistance(::GetTickCount(), TimeBegin);
}

TTickover::TTickover(const std::wstring& AURL, HWND AParent) : URL(AURL), FParent(AParent) {}

TTickover::~TTickover()
{
    FDestorying = true;
    // The most recent first.
    for (std::size_t i = FBrowsers.size(); i-- > 0;) {
        if (i < FBrowsers.size()) {
            try {
                FreeBrowser(FBrowsers[i].get());
            } catch (...) {
            }
        }
    }
    FBrowsers.clear();
    FOle.reset();
}

TTickoverBrowser* TTickover::CreateBrowser()
{
    if (!FParent)
        throw TBrowserError("the notifier has no parent window", E_HANDLE);
    if (!FOle)
        FOle = std::make_unique<OleSession>();
    const std::uint32_t timeBegin = ::GetTickCount();
    FBrowsers.push_back(std::make_unique<TTickoverBrowser>(*this, FParent, timeBegin));
    TTickoverBrowser* browser = FBrowsers.back().get();
    try {
        browser->SetSilent(true);
    } catch (...) {
        FreeBrowser(browser);
        throw;
    }
    browser->OnNavigateError = [this](TWebBrowser& sender, std::int32_t status) {
        DoNavigateError(static_cast<TTickoverBrowser*>(&sender), status);
    };
    browser->OnProgressChange = [this](TWebBrowser& sender) {
        DoProgressChange(static_cast<TTickoverBrowser*>(&sender));
    };
    return browser;
}

void TTickover::FreeBrowser(TTickoverBrowser* Browser)
{
    if (!Browser || Browser->FDestroying)
        return;
    Browser->FDestroying = true;
    const auto found = std::find_if(FBrowsers.begin(), FBrowsers.end(),
                                    [Browser](const auto& owned) { return owned.get() == Browser; });
    if (found == FBrowsers.end())
        return;
    // Out of the list first: its destruction may dispatch messages that
    // reach the list again.
    std::unique_ptr<TTickoverBrowser> owned = std::move(*found);
    FBrowsers.erase(found);
    owned.reset();
}

bool TTickover::WaitBrowser(TTickoverBrowser* Browser)
{
    // The messages dispatched here may release the browser, or the whole
    // notifier: after each round the browser's life is checked before
    // anything of it or of this notifier is touched again.
    const std::weak_ptr<void> life = Browser->Life();
    while (Browser->Busy()) {
        if (Browser->ErrorCode != 0)
            return false;
        if (Browser->Elapsed() >= Browser->TimeOut)
            return false;
        ::Sleep(PollMilliseconds);
        tk::Application::Current().ProcessMessages();
        if (life.expired())
            return false;
    }
    if (Browser->ErrorCode != 0)
        return false;
    if (Browser->TimeOnPage > 0)
        DispatchFor(Browser->TimeOnPage, life);
    return true;
}

bool TTickover::Notify(const std::wstring& Verb, const std::wstring& Data, bool Wait, std::uint32_t TimeOnPage,
                       std::uint32_t TimeOut)
{
    TTickoverBrowser* browser = CreateBrowser();
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
    browser->TimeOnPage = TimeOnPage;
    browser->TimeOut = TimeOut;
    const std::wstring address = ComposeNotifyAddress(URL, Verb, Data);

    if (Wait) {
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

    browser->OnDownloadComplete = [this](TWebBrowser& sender) {
        DoDownloadComplete(static_cast<TTickoverBrowser*>(&sender));
    };
    try {
        browser->Navigate(address);
    } catch (...) {
        FreeBrowser(browser);
        throw;
    }
    return true;
}

void TTickover::Ping(const std::wstring& Verb, const std::wstring& Data)
{
    Notify(Verb, Data, true, 1000, 10000);
}

bool TTickover::IsOnline()
{
    return SafeNotify(L"event", L"", true, 0, 10000);
}

bool TTickover::SafeNotify(const std::wstring& Verb, const std::wstring& Data, bool Wait, std::uint32_t TimeOnPage,
                           std::uint32_t TimeOut) noexcept
{
    try {
        return Notify(Verb, Data, Wait, TimeOnPage, TimeOut);
    } catch (...) {
        return false;
    }
}

void TTickover::SafePing(const std::wstring& Verb, const std::wstring& Data) noexcept
{
    try {
        Ping(Verb, Data);
    } catch (...) {
    }
}

void TTickover::SetParent(HWND AParent)
{
    FParent = AParent;
    // Without a new parent the browsers stay where they are.
    if (!FParent)
        return;
    for (const auto& browser : FBrowsers)
        if (browser && !browser->FDestroying)
            browser->SetParentWindow(FParent);
}

void TTickover::DoDownloadComplete(TTickoverBrowser* Sender)
{
    if (!Sender || Sender->FCompleting)
        return;
    Sender->FCompleting = true;
    Sender->ClearEvents();
    // The wait and the release run after the control's event has returned:
    // the control is never destroyed from inside one of its own calls.
    Sender->RunLater([this, Sender] {
        const std::weak_ptr<void> life = Sender->Life();
        WaitBrowser(Sender);
        if (!life.expired())
            FreeBrowser(Sender);
    });
}

void TTickover::DoNavigateError(TTickoverBrowser* Sender, std::int32_t StatusCode)
{
    if (!Sender)
        return;
    Sender->ErrorCode = StatusCode != 0 ? StatusCode : UnknownNavigationError;
}

void TTickover::DoProgressChange(TTickoverBrowser* Sender)
{
    if (!Sender)
        return;
    if (Sender->Elapsed() >= Sender->TimeOut)
        Sender->ErrorCode = RequestTimeout;
}

TTickover* Tickover() noexcept
{
    return ProgramTickover().get();
}

bool CreateTickover(const std::wstring& AURL, HWND AParent)
{
    auto& tickover = ProgramTickover();
    if (!tickover)
        tickover = std::make_unique<TTickover>();
    tickover->URL = AURL;
    tickover->SetParent(AParent);
    return true;
}

bool FreeTickover()
{
    std::unique_ptr<TTickover> old = std::move(ProgramTickover());
    old.reset();
    return true;
}

}  // namespace corvello
