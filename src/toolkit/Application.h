// The application object of the window layer: title, the hidden application
// window, the message loop with a hook that sees every queued message before it
// is dispatched, termination and the modal level. One per process.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/Handles.h"

namespace tk {

class Form;

class Application {
public:
    // Called for every message taken from the queue (WM_QUIT excepted) before it
    // is dispatched; setting handled keeps it from its window. Must not throw.
    using MessageHook = std::function<void(MSG& msg, bool& handled)>;

    // Window class of the hidden application window.
    static constexpr const wchar_t* WindowClassName = L"TApplication";

    static Application& Current();

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    const std::wstring& Title() const noexcept { return title_; }
    void SetTitle(const std::wstring& title);

    // Creates the hidden application window; the loop needs no more than that.
    void Initialize();
    HWND Handle() const noexcept { return window_.Get(); }
    HINSTANCE Instance() const noexcept;

    // The form that owns the task-bar button and whose close ends the
    // program; none until the program makes one.
    Form* MainForm() const noexcept { return mainForm_; }
    void SetMainForm(Form* form) noexcept { mainForm_ = form; }
    HWND MainWindow() const noexcept;
    // The form of the program that is active, if any.
    Form* ActiveForm() const noexcept { return activeForm_; }
    void SetActiveForm(Form* form) noexcept { activeForm_ = form; }

    // Installs the hook; returns a token to remove it again.
    int AddMessageHook(MessageHook hook);
    void RemoveMessageHook(int token) noexcept;
    // Messages of the program's own (posted by it or by other copies) that
    // the hooks must see whichever loop dispatches them: a loop of Windows'
    // own (a menu, a move) hands them straight to a window procedure.
    void RouteToHooks(UINT message);
    // Called by every window procedure of the layer: runs the hooks on a
    // routed message that reached the window without passing them; true
    // when a hook handled it.
    bool HooksMissed(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Runs the loop until Terminate.
    void Run();
    // Handles every message already waiting, then returns.
    void ProcessMessages();
    // Waits for one message and handles it.
    void HandleMessage();
    // Ends the loop. The code becomes the process's exit code.
    void Terminate(int exitCode = 0) noexcept;
    bool Terminated() const noexcept { return terminated_; }
    int ExitCode() const noexcept { return exitCode_; }

    // Restores the application when minimised (nothing to do while the main
    // window is the one on the task bar).
    void Restore() noexcept;
    // Takes the program's top-most windows out of the top-most band.
    void NormalizeTopMosts() noexcept;

    // Runs the work later, from the message loop, after what is being handled
    // now (a menu that has closed, say) is over.
    void Post(std::function<void()> work);

    // Runs the message hooks on a message that was sent rather than queued
    // (such as WM_QUERYENDSESSION); true when a hook handled it.
    bool PreviewSentMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    int ModalLevel() const noexcept { return modalLevel_; }
    // The innermost form shown modally now, or null: the dialog every other
    // window of the program waits for.
    Form* ModalForm() const noexcept { return modalForms_.empty() ? nullptr : modalForms_.back(); }
    void ModalFormStarted(Form* form) { modalForms_.push_back(form); }
    void ModalFormFinished(Form* form) noexcept { std::erase(modalForms_, form); }
    void ModalStarted() noexcept { ++modalLevel_; }
    void ModalFinished() noexcept
    {
        if (modalLevel_ > 0)
            --modalLevel_;
    }

private:
    Application() = default;
    bool HandleOne(MSG& msg);
    bool RunHooks(MSG& msg);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::wstring title_;
    UniqueWindow window_;
    Form* mainForm_ = nullptr;
    Form* activeForm_ = nullptr;
    struct Hook {
        int Token;
        MessageHook Fn;
    };
    std::vector<Hook> hooks_;
    int nextToken_ = 1;
    std::vector<UINT> routed_;
    std::vector<Form*> modalForms_;
    std::deque<std::function<void()>> posted_;
    // The message the loop is dispatching now, which the hooks have seen.
    const MSG* dispatching_ = nullptr;
    bool terminated_ = false;
    int exitCode_ = 0;
    int modalLevel_ = 0;
};

// Binds a handler to the application's message hook for as long as it lives.
class ApplicationEvents {
public:
    explicit ApplicationEvents(Application::MessageHook onMessage)
        : token_(Application::Current().AddMessageHook(std::move(onMessage)))
    {
    }
    ~ApplicationEvents() { Application::Current().RemoveMessageHook(token_); }
    ApplicationEvents(const ApplicationEvents&) = delete;
    ApplicationEvents& operator=(const ApplicationEvents&) = delete;

private:
    int token_;
};

}  // namespace tk
