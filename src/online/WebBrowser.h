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

#include "online/ComPtr.h"
#include "online/Ole.h"
#include "toolkit/Handles.h"

namespace corvello {

class TBrowserSite;
class TBrowserEventSink;

// Why a browser could not be made or driven: a fixed text and the result code.
class TBrowserError : public std::exception {
public:
    TBrowserError(const char* what, HRESULT code) noexcept : FWhat(what), FCode(code) {}
    const char* what() const noexcept override { return FWhat; }
    HRESULT Code() const noexcept { return FCode; }

private:
    const char* FWhat;
    HRESULT FCode;
};

class TWebBrowser {
public:
    using NotifyEvent = std::function<void(TWebBrowser& Sender)>;
    using NavigateErrorEvent = std::function<void(TWebBrowser& Sender, std::int32_t StatusCode)>;

    // Creates the control, its window a hidden child of the parent window.
    // Throws TBrowserError when there is no parent window or the control
    // cannot be made.
    explicit TWebBrowser(HWND parent);
    virtual ~TWebBrowser();
    TWebBrowser(const TWebBrowser&) = delete;
    TWebBrowser& operator=(const TWebBrowser&) = delete;

    // Our hidden window, the parent of the control's own.
    HWND Handle() const noexcept { return FWindow.Get(); }
    void SetParentWindow(HWND parent);

    bool Offline() const;
    void SetOffline(bool value);
    void SetSilent(bool value);
    // A plain GET without history and without reading or filling the cache.
    void Navigate(const std::wstring& url);
    // True from Navigate until that navigation completed or failed. The
    // control's own Busy is not enough: under Wine it reads false at once,
    // while on Windows it reads true until the page loaded.
    bool Busy() const noexcept { return FNavigating; }

    NavigateErrorEvent OnNavigateError;
    NotifyEvent OnProgressChange;
    NotifyEvent OnDownloadComplete;
    // Detaches the three events above.
    void ClearEvents() noexcept;

    // Runs the function from the message loop, after the caller (an event
    // handler, say) has returned; dropped when the browser is gone by then.
    void RunLater(std::function<void()> fn);

private:
    friend class TBrowserEventSink;
    // Lets go of the control and our window; the destructor's work, also
    // for a constructor that failed half-way.
    void Close() noexcept;
    void HandleEvent(DISPID dispId, DISPPARAMS* params);
    bool IsTopLevel(IDispatch* frame) const;
    void RunPending();
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    OleSession FOle;
    tk::UniqueWindow FWindow;
    ComPtr<TBrowserSite> FSite;
    ComPtr<TBrowserEventSink> FSink;
    ComPtr<IOleObject> FObject;
    ComPtr<IWebBrowser2> FBrowser;
    ComPtr<IConnectionPoint> FConnection;
    DWORD FCookie = 0;
    bool FNavigating = false;
    std::vector<std::function<void()>> FPending;
};

}  // namespace corvello
