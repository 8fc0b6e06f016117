#include "toolkit/WebBrowser.h"

#include <exdispid.h>

#include <string>

namespace tk {

namespace {

// CLSID_WebBrowser, spelled out so that no GUID library is needed.
constexpr CLSID WebBrowserClass = {0x8856f961, 0x340a, 0x11d0, {0xa9, 0x6b, 0x00, 0xc0, 0x4f, 0xd7, 0x05, 0xa2}};

constexpr const wchar_t* HostClassName = L"CorvelloBrowserHost";
// Asks the host window to run one function left by RunLater.
constexpr UINT WM_RUN_PENDING = WM_APP + 0x51;
// The control needs an extent to lay out its page; nobody sees it.
constexpr RECT HostBounds = {0, 0, 320, 240};

[[noreturn]] void Fail(const char* what, HRESULT hr)
{
    throw BrowserError(what, hr);
}

void Check(HRESULT hr, const char* what)
{
    if (FAILED(hr))
        Fail(what, hr);
}

// Reference counting shared by the two COM objects below. They live on the
// thread that made them, but the counter is atomic anyway: the control may
// let go of its pointers from a thread of its own.
class RefCounted {
protected:
    virtual ~RefCounted() = default;
    ULONG AddRefImpl() noexcept { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
    ULONG ReleaseImpl() noexcept
    {
        const LONG left = ::InterlockedDecrement(&refs_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

private:
    LONG refs_ = 1;
};

}  // namespace

// The client site, in-place site and frame the control talks to. It reports
// our hidden window and no menus, tool bars or status line.
class BrowserSite final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame, RefCounted {
public:
    explicit BrowserSite(HWND window) noexcept : window_(window) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IOleClientSite)))
            *object = static_cast<IOleClientSite*>(this);
        else if (IsEqualIID(riid, __uuidof(IOleWindow)) || IsEqualIID(riid, __uuidof(IOleInPlaceSite)))
            *object = static_cast<IOleInPlaceSite*>(this);
        else if (IsEqualIID(riid, __uuidof(IOleInPlaceUIWindow)) || IsEqualIID(riid, __uuidof(IOleInPlaceFrame)))
            *object = static_cast<IOleInPlaceFrame*>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override
    {
        if (moniker)
            *moniker = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** container) override
    {
        if (container)
            *container = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, for the site and the frame alike
    STDMETHODIMP GetWindow(HWND* window) override
    {
        if (!window)
            return E_POINTER;
        *window = window_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override
    {
        if (!frame || !document || !position || !clip || !info)
            return E_POINTER;
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *document = nullptr;
        *position = HostBounds;
        *clip = HostBounds;
        info->fMDIApp = FALSE;
        info->hwndFrame = window_;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow and IOleInPlaceFrame
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    HWND window_;
};

// Receives DWebBrowserEvents2 and hands them to its browser while that lives.
class BrowserEventSink final : public IDispatch, RefCounted {
public:
    explicit BrowserEventSink(WebBrowser* owner) noexcept : owner_(owner) {}
    void Detach() noexcept { owner_ = nullptr; }

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IDispatch)) ||
            IsEqualIID(riid, __uuidof(DWebBrowserEvents2))) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        if (count)
            *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID dispId, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                        UINT*) override
    {
        // The handler may let go of the browser, and with it of this sink.
        const ComPtr<BrowserEventSink> keep = ComPtr<BrowserEventSink>::Share(this);
        try {
            if (owner_)
                owner_->HandleEvent(dispId, params);
        } catch (...) {
            LogCurrentException(L"a web browser event");
        }
        return S_OK;
    }

private:
    WebBrowser* owner_;
};

namespace {

// The argument at a position counted from the first, as the event declares
// them (DISPPARAMS keeps them in reverse), with a reference followed.
const VARIANT* Argument(const DISPPARAMS* params, UINT position)
{
    if (!params || position >= params->cArgs)
        return nullptr;
    const VARIANT* arg = &params->rgvarg[params->cArgs - 1 - position];
    if (arg->vt == (VT_VARIANT | VT_BYREF))
        return arg->pvarVal;
    return arg;
}

void SetCancel(const DISPPARAMS* params, UINT position)
{
    if (!params || position >= params->cArgs)
        return;
    VARIANT& arg = params->rgvarg[params->cArgs - 1 - position];
    if (arg.vt == (VT_BOOL | VT_BYREF) && arg.pboolVal)
        *arg.pboolVal = VARIANT_TRUE;
}

std::int32_t statusCode(const VARIANT* arg)
{
    if (!arg)
        return 0;
    switch (arg->vt) {
    case VT_I4:
    case VT_INT:
        return arg->lVal;
    case VT_UI4:
    case VT_UINT:
        return static_cast<std::int32_t>(arg->ulVal);
    case VT_I4 | VT_BYREF:
        return arg->plVal ? *arg->plVal : 0;
    default:
        return 0;
    }
}

}  // namespace

WebBrowser::WebBrowser(HWND parent)
{
    if (!parent || !::IsWindow(parent))
        throw BrowserError("the browser has no parent window", E_HANDLE);
    if (!ole_)
        throw BrowserError("OLE is not available on this thread", CO_E_NOTINITIALIZED);

    static const ATOM hostClass = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &WebBrowser::WindowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = HostClassName;
        return ::RegisterClassExW(&wc);
    }();
    if (!hostClass)
        Fail("RegisterClassEx", HRESULT_FROM_WIN32(::GetLastError()));
    // Never shown: WS_VISIBLE stays off.
    window_.Reset(::CreateWindowExW(0, HostClassName, L"", WS_CHILD | WS_CLIPCHILDREN, HostBounds.left,
                                    HostBounds.top, HostBounds.right, HostBounds.bottom, parent, nullptr,
                                    ::GetModuleHandleW(nullptr), this));
    if (!window_)
        Fail("CreateWindowEx", HRESULT_FROM_WIN32(::GetLastError()));

    try {
        Check(OleLibrary::Get()->CreateInstance(WebBrowserClass, nullptr, CLSCTX_INPROC_SERVER,
                                                __uuidof(IOleObject), object_.PutVoid()),
              "CoCreateInstance(WebBrowser)");
        site_.Reset(new BrowserSite(window_.Get()));
        Check(object_->SetClientSite(site_.Get()), "SetClientSite");
        RECT bounds = HostBounds;
        Check(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, window_.Get(), &bounds),
              "DoVerb(INPLACEACTIVATE)");
        browser_ = object_.As<IWebBrowser2>();
        if (!browser_)
            Fail("QueryInterface(IWebBrowser2)", E_NOINTERFACE);

        const auto container = object_.As<IConnectionPointContainer>();
        if (!container)
            Fail("QueryInterface(IConnectionPointContainer)", E_NOINTERFACE);
        Check(container->FindConnectionPoint(__uuidof(DWebBrowserEvents2), connection_.Put()),
              "FindConnectionPoint");
        sink_.Reset(new BrowserEventSink(this));
        Check(connection_->Advise(sink_.Get(), &cookie_), "Advise");
    } catch (...) {
        Close();
        throw;
    }
}

WebBrowser::~WebBrowser()
{
    Close();
}

void WebBrowser::Close() noexcept
{
    ClearEvents();
    pending_.clear();
    if (sink_)
        sink_->Detach();
    if (connection_ && cookie_)
        connection_->Unadvise(cookie_);
    cookie_ = 0;
    connection_.Reset();
    if (browser_ && navigating_)
        browser_->Stop();
    navigating_ = false;
    browser_.Reset();
    if (object_) {
        if (const auto inPlace = object_.As<IOleInPlaceObject>())
            inPlace->InPlaceDeactivate();
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
    }
    object_.Reset();
    sink_.Reset();
    site_.Reset();
    window_.Reset();
}

void WebBrowser::SetParentWindow(HWND parent)
{
    if (parent && window_)
        ::SetParent(window_.Get(), parent);
}

bool WebBrowser::Offline() const
{
    VARIANT_BOOL offline = VARIANT_FALSE;
    Check(browser_->get_Offline(&offline), "get_Offline");
    return offline != VARIANT_FALSE;
}

void WebBrowser::SetOffline(bool value)
{
    Check(browser_->put_Offline(value ? VARIANT_TRUE : VARIANT_FALSE), "put_Offline");
}

void WebBrowser::SetSilent(bool value)
{
    Check(browser_->put_Silent(value ? VARIANT_TRUE : VARIANT_FALSE), "put_Silent");
}

void WebBrowser::Navigate(const std::wstring& url)
{
    const Bstr address(url);
    VARIANT flags;
    flags.vt = VT_I4;
    flags.lVal = navNoHistory | navNoReadFromCache | navNoWriteToCache;
    VARIANT empty;
    empty.vt = VT_EMPTY;
    navigating_ = true;
    documentComing_ = false;
    downloaded_ = false;
    const HRESULT hr = browser_->Navigate(address.Get(), &flags, &empty, &empty, &empty);
    if (FAILED(hr)) {
        navigating_ = false;
        Fail("Navigate", hr);
    }
}

void WebBrowser::ClearEvents() noexcept
{
    OnNavigateError = nullptr;
    OnProgressChange = nullptr;
    OnDownloadComplete = nullptr;
}

void WebBrowser::RunLater(std::function<void()> fn)
{
    pending_.push_back(std::move(fn));
    ::PostMessageW(window_.Get(), WM_RUN_PENDING, 0, 0);
}

void WebBrowser::RunPending()
{
    if (pending_.empty())
        return;
    const auto fn = std::move(pending_.front());
    pending_.erase(pending_.begin());
    // May destroy this browser: nothing of it is touched afterwards.
    fn();
}

bool WebBrowser::IsTopLevel(IDispatch* frame) const
{
    if (!frame || !browser_)
        return false;
    ComPtr<IUnknown> mine;
    ComPtr<IUnknown> theirs;
    browser_->QueryInterface(__uuidof(IUnknown), mine.PutVoid());
    frame->QueryInterface(__uuidof(IUnknown), theirs.PutVoid());
    return mine && mine.Get() == theirs.Get();
}

bool WebBrowser::ControlBusy() const
{
    VARIANT_BOOL busy = VARIANT_FALSE;
    const HRESULT hr = browser_ ? browser_->get_Busy(&busy) : E_POINTER;
    if (FAILED(hr)) {
        LogFailure(L"IWebBrowser2::get_Busy", static_cast<unsigned long>(hr));
        return false;
    }
    return busy != VARIANT_FALSE;
}

void WebBrowser::EndIfAnsweredWithoutDocument()
{
    if (navigating_ && downloaded_ && !documentComing_ && !ControlBusy())
        navigating_ = false;
}

void WebBrowser::HandleEvent(DISPID dispId, DISPPARAMS* params)
{
    switch (dispId) {
    case DISPID_NAVIGATEERROR: {
        // pDisp, URL, Frame, statusCode, Cancel: no error page is shown.
        SetCancel(params, 4);
        const VARIANT* frame = Argument(params, 0);
        if (!navigating_ || (frame && frame->vt == VT_DISPATCH && !IsTopLevel(frame->pdispVal)))
            break;
        navigating_ = false;
        const std::int32_t status = statusCode(Argument(params, 3));
        // A success without a document (Wine reports a 204 this way): the
        // service answered.
        if (status >= 200 && status < 300)
            break;
        // The page arrived, but there is no engine to show it: Wine without
        // its HTML engine reports this once the download is over, and for a
        // hidden browser the page has loaded. Before the download it is a
        // real failure.
        if (status == static_cast<std::int32_t>(REGDB_E_CLASSNOTREG) && downloaded_)
            break;
        if (OnNavigateError) {
            const auto handler = OnNavigateError;
            handler(*this, status);
        }
        break;
    }
    case DISPID_NAVIGATECOMPLETE2: {
        // pDisp, URL: a document is on its way; DocumentComplete ends the load.
        const VARIANT* frame = Argument(params, 0);
        if (navigating_ && (!frame || frame->vt != VT_DISPATCH || IsTopLevel(frame->pdispVal)))
            documentComing_ = true;
        break;
    }
    case DISPID_DOCUMENTCOMPLETE: {
        const VARIANT* frame = Argument(params, 0);
        if (!frame || frame->vt != VT_DISPATCH || IsTopLevel(frame->pdispVal))
            navigating_ = false;
        break;
    }
    case DISPID_FILEDOWNLOAD: {
        // ActiveDocument, Cancel. A file to save rather than a page to show:
        // the answer is in, and nothing is saved and no dialog is shown.
        const VARIANT* activeDocument = Argument(params, 0);
        if (!navigating_ || (activeDocument && activeDocument->vt == VT_BOOL && activeDocument->boolVal))
            break;
        SetCancel(params, 1);
        navigating_ = false;
        break;
    }
    case DISPID_PROGRESSCHANGE:
        if (OnProgressChange) {
            const auto handler = OnProgressChange;
            handler(*this);
        }
        break;
    case DISPID_DOWNLOADCOMPLETE:
        downloaded_ = true;
        // A download that brought no document (a 204, say, after which
        // Windows raises neither an error nor DocumentComplete) ends the load
        // once the control has stopped. Looked at after this event has
        // returned: Wine raises a failure right after DownloadComplete.
        if (navigating_ && !documentComing_)
            RunLater([this] { EndIfAnsweredWithoutDocument(); });
        if (OnDownloadComplete) {
            const auto handler = OnDownloadComplete;
            handler(*this);
        }
        break;
    case DISPID_NEWWINDOW2:
    case DISPID_NEWWINDOW3:
        // A page may not open windows of its own.
        SetCancel(params, 1);
        break;
    default:
        break;
    }
}

LRESULT CALLBACK WebBrowser::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<WebBrowser*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY)
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (message == WM_RUN_PENDING) {
        try {
            if (self)
                self->RunPending();
        } catch (...) {
            LogCurrentException(L"a web browser's pending work");
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tk
