#include "toolkit/Application.h"

#include <algorithm>
#include <utility>

#include "toolkit/Form.h"
#include "toolkit/Log.h"

namespace tk {

Application& Application::Current()
{
    static Application application;
    return application;
}

HINSTANCE Application::Instance() const noexcept
{
    return ::GetModuleHandleW(nullptr);
}

void Application::SetTitle(const std::wstring& title)
{
    title_ = title;
    if (window_)
        ::SetWindowTextW(window_.Get(), title_.c_str());
}

void Application::Initialize()
{
    if (window_)
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Application::WindowProc;
    wc.hInstance = Instance();
    wc.lpszClassName = WindowClassName;
    ::RegisterClassExW(&wc);
    // Hidden and without size: it carries the title and receives what is
    // addressed to the application rather than to one of its forms.
    window_.Reset(::CreateWindowExW(WS_EX_TOOLWINDOW, WindowClassName, title_.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr,
                                    nullptr, Instance(), nullptr));
}

int Application::AddMessageHook(MessageHook hook)
{
    const int token = nextToken_++;
    hooks_.push_back({token, std::move(hook)});
    return token;
}

void Application::RemoveMessageHook(int token) noexcept
{
    std::erase_if(hooks_, [token](const Hook& h) { return h.Token == token; });
}

void Application::RouteToHooks(UINT message)
{
    if (std::find(routed_.begin(), routed_.end(), message) == routed_.end())
        routed_.push_back(message);
}

bool Application::HooksMissed(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (std::find(routed_.begin(), routed_.end(), message) == routed_.end())
        return false;
    // The one the loop is dispatching has been through the hooks already.
    const MSG* d = dispatching_;
    if (d && d->hwnd == window && d->message == message && d->wParam == wParam && d->lParam == lParam)
        return false;
    MSG msg{window, message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
    return RunHooks(msg);
}

HWND Application::MainWindow() const noexcept
{
    return mainForm_ ? mainForm_->Handle() : nullptr;
}

bool Application::RunHooks(MSG& msg)
{
    bool handled = false;
    // Each hook runs from a copy: it may remove itself while it runs.
    for (std::size_t i = 0; i < hooks_.size() && !handled; ++i) {
        MessageHook fn = hooks_[i].Fn;
        fn(msg, handled);
    }
    return handled;
}

bool Application::PreviewSentMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg{window, message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
    return RunHooks(msg);
}

bool Application::HandleOne(MSG& msg)
{
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
    if (RunHooks(msg))
        return true;
    // Tab, arrows, Enter, Escape and mnemonics on the program's forms.
    if (msg.hwnd) {
        const HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
        if (Form* form = root ? FormOf(root) : nullptr; form && (form->DialogKey(msg) || ::IsDialogMessageW(root, &msg)))
            return true;
    }
    ::TranslateMessage(&msg);
    // Marked, so the application window knows the hooks have seen it.
    const MSG* outer = std::exchange(dispatching_, &msg);
    ::DispatchMessageW(&msg);
    dispatching_ = outer;
    return true;
}

void Application::HandleMessage()
{
    MSG msg;
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1)
        return;
    if (got == 0) {
        terminated_ = true;
        // Leave the quit for the loops further out.
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return;
    }
    HandleOne(msg);
}

void Application::Run()
{
    MSG msg;
    while (!terminated_) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1)
            break;
        if (got == 0) {
            terminated_ = true;
            break;
        }
        HandleOne(msg);
    }
}

void Application::ProcessMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!HandleOne(msg)) {
            // Leave the quit for the loops further out.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
    }
}

void Application::Terminate(int exitCode) noexcept
{
    if (!terminated_)
        exitCode_ = exitCode;
    terminated_ = true;
    // A loop of Windows' own that runs now (a menu, a move or a resize)
    // would keep the program alive until the user ends it: it ends now.
    ::EndMenu();
    if (const HWND captured = ::GetCapture();
        captured && ::GetWindowThreadProcessId(captured, nullptr) == ::GetCurrentThreadId())
        ::SendMessageW(captured, WM_CANCELMODE, 0, 0);
    // Wakes a loop that waits in GetMessage.
    ::PostQuitMessage(exitCode);
}

void Application::Restore() noexcept
{
    const HWND main = MainWindow();
    if (main && ::IsIconic(main))
        ::ShowWindow(main, SW_RESTORE);
}

void Application::NormalizeTopMosts() noexcept
{
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            if (::IsWindowVisible(window) && (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST))
                ::SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            return TRUE;
        },
        0);
}

namespace {

// Asks the application window to run the oldest posted work.
constexpr UINT WM_RUN_POSTED = WM_APP + 0x3A1;

}  // namespace

void Application::Post(std::function<void()> work)
{
    if (!window_)
        Initialize();
    posted_.push_back(std::move(work));
    if (!::PostMessageW(window_.Get(), WM_RUN_POSTED, 0, 0)) {
        LogLastError(L"posting work to the application window");
        posted_.pop_back();
    }
}

LRESULT CALLBACK Application::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Application& application = Current();
    if (application.HooksMissed(window, message, wParam, lParam))
        return 0;
    if (message == WM_RUN_POSTED) {
        auto& posted = application.posted_;
        if (!posted.empty()) {
            std::function<void()> work = std::move(posted.front());
            posted.pop_front();
            try {
                if (work)
                    work();
            } catch (...) {
                LogCurrentException(L"posted work");
            }
        }
        return 0;
    }
    // Closing the application window ends the program in order, as a request
    // to terminate does: the loop ends, and the main form, which sees the
    // application terminating, closes. The window stays until the end.
    if (message == WM_CLOSE) {
        application.Terminate(0);
        if (Form* main = application.MainForm())
            main->Close();
        return 0;
    }
    // Windows sends the question about the end of the session, and then
    // whether it ends, rather than posting them: the hooks see them all the same.
    if (message == WM_QUERYENDSESSION || message == WM_ENDSESSION) {
        application.PreviewSentMessage(window, message, wParam, lParam);
        return message == WM_QUERYENDSESSION ? TRUE : 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tk
