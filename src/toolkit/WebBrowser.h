// The Windows web-browser control (IWebBrowser2) hosted without a framework:
// a hidden child window of ours holds the control's window, with the client
// site and in-place site the control needs to navigate and a sink for its
// events. Used on the thread that made it, which must be able to have OLE.
#pragma once

#include <windows.h>
#include <exdisp.h>
#include <oleidl.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/ComPtr.h"
#include "toolkit/OleSession.h"
#include "toolkit/Handles.h"
#include "toolkit/Log.h"

namespace tk {

class BrowserSite;
class BrowserEventSink;

// Why a browser could not be made or driven: a fixed text and the result code.
class BrowserError : public WindowsError {
public:
    BrowserError(const char* what, HRESULT code) noexcept : WindowsError(what, code) {}
};

class WebBrowser {
public:
    using NotifyEvent = std::function<void(WebBrowser& sender)>;
    using NavigateErrorEvent = std::function<void(WebBrowser& sender, std::int32_t statusCode)>;

    // Creates the control, its window a hidden child of the parent window.
    // Throws BrowserError when there is no parent window or the control
    // cannot be made.
    explicit WebBrowser(HWND parent);
    virtual ~WebBrowser();
    WebBrowser(const WebBrowser&) = delete;
    WebBrowser& operator=(const WebBrowser&) = delete;

    // Our hidden window, the parent of the control's own.
    HWND Handle() const noexcept { return window_.Get(); }
    void SetParentWindow(HWND parent);

    bool Offline() const;
    void SetOffline(bool value);
    void SetSilent(bool value);
    // A plain GET without history and without reading or filling the cache.
    void Navigate(const std::wstring& url);
    // True from Navigate until that navigation completed or failed: the
    // top-level DocumentComplete, a navigation error, a file to download, or
    // the end of a download that brought no document (a 204). The control's
    // own Busy is not enough: under Wine it reads false at once, while on
    // Windows it reads true until the page loaded.
    bool Busy() const noexcept { return navigating_; }

    NavigateErrorEvent OnNavigateError;
    NotifyEvent OnProgressChange;
    NotifyEvent OnDownloadComplete;
    // Detaches the three events above.
    void ClearEvents() noexcept;

    // Runs the function from the message loop, after the caller (an event
    // handler, say) has returned; dropped when the browser is gone by then.
    void RunLater(std::function<void()> fn);

private:
    friend class BrowserEventSink;
    // Lets go of the control and our window; the destructor's work, also
    // for a constructor that failed half-way.
    void Close() noexcept;
    void HandleEvent(DISPID dispId, DISPPARAMS* params);
    bool IsTopLevel(IDispatch* frame) const;
    bool ControlBusy() const;
    void EndIfAnsweredWithoutDocument();
    void RunPending();
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    OleSession ole_;
    UniqueWindow window_;
    ComPtr<BrowserSite> site_;
    ComPtr<BrowserEventSink> sink_;
    ComPtr<IOleObject> object_;
    ComPtr<IWebBrowser2> browser_;
    ComPtr<IConnectionPoint> connection_;
    DWORD cookie_ = 0;
    bool navigating_ = false;
    bool documentComing_ = false;  // a top-level NavigateComplete2 since Navigate
    bool downloaded_ = false;      // a DownloadComplete since Navigate
    std::vector<std::function<void()>> pending_;
};

}  // namespace tk
