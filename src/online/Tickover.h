// The notifier: lets a hidden web-browser control load one address per
// notification, so that the web service counts the visit. Every notification
// has a browser of its own; the caller can wait for the page (messages keep
// flowing meanwhile) or let it load in the background.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "online/Notification.h"
#include "online/Ole.h"
#include "online/WebBrowser.h"

namespace corvello {

class TTickover;

class TTickoverBrowser : public TWebBrowser {
public:
    // Makes the control under the parent window (throws without one). The
    // start time is read before that, by the caller, as making the control
    // can take a while.
    TTickoverBrowser(TTickover& AOwner, HWND parent, std::uint32_t ATimeBegin = ::GetTickCount());
    ~TTickoverBrowser() override;

    // Milliseconds since TimeBegin, right across the wrap-around of the tick
    // count.
    std::uint32_t Elapsed() const noexcept;
    // Expires when the browser is destroyed: a wait that dispatched messages
    // checks it before touching the browser again.
    std::weak_ptr<void> Life() const noexcept { return FLife; }
    TTickover& Owner() const noexcept { return FOwner; }

    bool FDestroying = false;  // set from the start of its release
    bool FCompleting = false;  // set once its first DownloadComplete is handled
    std::int32_t ErrorCode = 0;  // 0, a navigation error's status, or 408 after a time-out
    std::uint32_t TimeBegin = 0;
    std::uint32_t TimeOut = 0;
    std::uint32_t TimeOnPage = 0;

private:
    TTickover& FOwner;
    std::shared_ptr<int> FLife = std::make_shared<int>(0);
};

class TTickover {
public:
    // The parent window hosts every browser; without one (nullptr) every
    // notification fails, before anything is loaded.
    explicit TTickover(const std::wstring& AURL = {}, HWND AParent = nullptr);
    virtual ~TTickover();
    TTickover(const TTickover&) = delete;
    TTickover& operator=(const TTickover&) = delete;

    virtual TTickoverBrowser* CreateBrowser();
    virtual void FreeBrowser(TTickoverBrowser* Browser);
    virtual bool WaitBrowser(TTickoverBrowser* Browser);
    // Loads URL + Verb + "/" + "?" + Data. Throws when the browser cannot be
    // made or driven.
    virtual bool Notify(const std::wstring& Verb, const std::wstring& Data, bool Wait, std::uint32_t TimeOnPage,
                        std::uint32_t TimeOut);
    virtual void Ping(const std::wstring& Verb, const std::wstring& Data);

    bool IsOnline();
    bool SafeNotify(const std::wstring& Verb, const std::wstring& Data, bool Wait, std::uint32_t TimeOnPage,
                    std::uint32_t TimeOut) noexcept;
    void SafePing(const std::wstring& Verb, const std::wstring& Data) noexcept;

    HWND Parent() const noexcept { return FParent; }
    // Moves the windows of the live browsers under the new parent.
    void SetParent(HWND AParent);

    void DoDownloadComplete(TTickoverBrowser* Sender);
    void DoNavigateError(TTickoverBrowser* Sender, std::int32_t StatusCode);
    void DoProgressChange(TTickoverBrowser* Sender);

    // The live browsers, in the order they were made.
    std::size_t BrowserCount() const noexcept { return FBrowsers.size(); }
    TTickoverBrowser* Browser(std::size_t index) const { return FBrowsers.at(index).get(); }

    std::wstring URL;

protected:
    HWND FParent = nullptr;
    bool FDestorying = false;
    std::vector<std::unique_ptr<TTickoverBrowser>> FBrowsers;

private:
    // Keeps OLE and the control's libraries loaded between notifications;
    // taken with the first browser.
    std::unique_ptr<OleSession> FOle;
};

// The program-wide notifier; null until CreateTickover.
TTickover* Tickover() noexcept;
// Makes the program-wide notifier when there is none; whether new or not,
// sets its URL and parent. Returns true.
bool CreateTickover(const std::wstring& AURL, HWND AParent);
// Empties the program-wide reference, then destroys the notifier. Returns true.
bool FreeTickover();

}  // namespace corvello
