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

#include "online/NotifyAddress.h"
#include "toolkit/OleSession.h"
#include "toolkit/WebBrowser.h"

namespace corvello {

class Notifier;

class NotifierBrowser : public tk::WebBrowser {
public:
    // Makes the control under the parent window (throws without one). The
    // start time is read before that, by the caller, as making the control
    // can take a while.
    NotifierBrowser(Notifier& owner, HWND parent, std::uint32_t timeBegin = ::GetTickCount());
    ~NotifierBrowser() override;

    // Milliseconds since TimeBegin, right across the wrap-around of the tick
    // count.
    std::uint32_t Elapsed() const noexcept;
    // Expires when the browser is destroyed: a wait that dispatched messages
    // checks it before touching the browser again.
    std::weak_ptr<void> Life() const noexcept { return life_; }
    Notifier& Owner() const noexcept { return owner_; }

    bool Destroying = false;  // set from the start of its release
    bool Completing = false;  // set once its first DownloadComplete is handled
    std::int32_t ErrorCode = 0;  // 0, a navigation error's status, or 408 after a time-out
    std::uint32_t TimeBegin = 0;
    std::uint32_t TimeOut = 0;
    std::uint32_t TimeOnPage = 0;

private:
    Notifier& owner_;
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
};

class Notifier {
public:
    // The parent window hosts every browser; without one (nullptr) every
    // notification fails, before anything is loaded.
    explicit Notifier(const std::wstring& url = {}, HWND parent = nullptr);
    virtual ~Notifier();
    Notifier(const Notifier&) = delete;
    Notifier& operator=(const Notifier&) = delete;

    virtual NotifierBrowser* CreateBrowser();
    virtual void FreeBrowser(NotifierBrowser* browser);
    virtual bool WaitBrowser(NotifierBrowser* browser);
    // Loads URL + verb + "/" + "?" + data. Throws when the browser cannot be
    // made or driven.
    virtual bool Notify(const std::wstring& verb, const std::wstring& data, bool wait, std::uint32_t timeOnPage,
                        std::uint32_t timeOut);
    virtual void Ping(const std::wstring& verb, const std::wstring& data);

    bool IsOnline();
    bool SafeNotify(const std::wstring& verb, const std::wstring& data, bool wait, std::uint32_t timeOnPage,
                        std::uint32_t timeOut) noexcept;
    void SafePing(const std::wstring& verb, const std::wstring& data) noexcept;

    HWND Parent() const noexcept { return parent_; }
    // Moves the windows of the live browsers under the new parent.
    void SetParent(HWND parent);

    void DoDownloadComplete(NotifierBrowser* sender);
    void DoNavigateError(NotifierBrowser* sender, std::int32_t statusCode);
    void DoProgressChange(NotifierBrowser* sender);

    // The live browsers, in the order they were made.
    std::size_t BrowserCount() const noexcept { return browsers_.size(); }
    NotifierBrowser* Browser(std::size_t index) const { return browsers_.at(index).get(); }

    std::wstring Url;
    // Ping's time on the page, and how long Ping and IsOnline wait for the
    // page to load.
    std::uint32_t PingTimeOnPage = 1000;
    std::uint32_t LoadTimeOut = 10000;

protected:
    HWND parent_ = nullptr;
    bool destroying_ = false;
    std::vector<std::unique_ptr<NotifierBrowser>> browsers_;

private:
    // Keeps OLE and the control's libraries loaded between notifications;
    // taken with the first browser.
    std::unique_ptr<tk::OleSession> ole_;
};

// The program-wide notifier; null until CreateProgramNotifier.
Notifier* ProgramNotifier() noexcept;
// Makes the program-wide notifier when there is none; whether new or not,
// sets its URL and parent. Returns true.
bool CreateProgramNotifier(const std::wstring& url, HWND parent);
// Empties the program-wide reference, then destroys the notifier. Returns true.
bool FreeProgramNotifier();

}  // namespace corvello
