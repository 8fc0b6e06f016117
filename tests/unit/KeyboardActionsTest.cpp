#include "actions/KeyboardActions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

using namespace corvello;

namespace {

// Records every request as text; the request named in FailAt throws (key
// events, the wait) or fails (the Ctrl+Alt+Del steps).
class RecordingRequests : public KeyboardRequests {
public:
    std::string FailAt;
    std::map<std::uint8_t, std::int16_t> KeyStates;
    std::vector<std::string> Calls;
    std::vector<std::string> Logged;

    void KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) override
    {
        // Only down (0) and up (0x2): never the extended-key flag.
        const char* kind = flags == keyboard::KeyDown ? "down" : flags == keyboard::KeyUp ? "up" : "bad flags";
        char text[32];
        std::snprintf(text, sizeof text, "%s %02X %02X", kind, virtualKey, scanCode);
        Note(text, true);
    }
    std::int16_t KeyState(std::uint8_t virtualKey) override { return KeyStates[virtualKey]; }
    void Wait(std::uint32_t milliseconds) override { Note("wait " + std::to_string(milliseconds), true); }
    Handle OpenNamedWindowStation(const std::wstring& name, bool inherit, std::uint32_t access) override
    {
        return Note("open station " + Narrow(name) + Options(inherit, access), false) ? station_ : nullptr;
    }
    bool SetProcessWindowStation(Handle station) override
    {
        return Note(station == station_ ? "set station" : "set another station", false);
    }
    Handle OpenNamedDesktop(const std::wstring& name, std::uint32_t flags, bool inherit, std::uint32_t access) override
    {
        return Note("open desktop " + Narrow(name) + " flags " + std::to_string(flags) + Options(inherit, access),
                    false)
                   ? desktop_
                   : nullptr;
    }
    bool SetThreadDesktop(Handle desktop) override
    {
        return Note(desktop == desktop_ ? "set desktop" : "set another desktop", false);
    }
    bool PostBroadcast(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override
    {
        char text[64];
        std::snprintf(text, sizeof text, "broadcast %X %zX %zX", message, static_cast<std::size_t>(wParam),
                      static_cast<std::size_t>(lParam));
        return Note(text, false);
    }
    void LogCurrentException(const std::wstring& what) noexcept override { Logged.push_back(Narrow(what)); }

private:
    Handle station_ = &Calls;
    Handle desktop_ = &Logged;

    static std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }
    static std::string Options(bool inherit, std::uint32_t access)
    {
        char text[40];
        std::snprintf(text, sizeof text, " inherit %d access %X", inherit ? 1 : 0, static_cast<unsigned>(access));
        return text;
    }
    bool Note(const std::string& call, bool throws)
    {
        Calls.push_back(call);
        if (call != FailAt)
            return true;
        if (throws)
            throw std::runtime_error("refused");
        return false;
    }
};

using Operation = std::function<bool(KeyboardRequests&)>;

}  // namespace

TEST(KeyboardActions, KeySequences)
{
    using namespace corvello::keyboard;
    struct Case {
        const char* Name;
        Operation Run;
        std::vector<std::string> Calls;
    };
    const Case cases[] = {
        {"Num Lock", SwitchNumLock, {"down 90 45", "up 90 45"}},
        {"Caps Lock", SwitchCapsLock, {"down 14 3A", "up 14 3A"}},
        {"Scroll Lock", SwitchScrollLock, {"down 91 46", "up 91 46"}},
        {"Ctrl+Shift+Esc: up in reverse after the wait", PressCtrlShiftEsc,
         {"down 11 11", "down 10 10", "down 1B 1B", "wait 50", "up 1B 1B", "up 10 10", "up 11 11"}},
        {"Print Screen, no wait", PressPrintScreen, {"down 2C 2C", "up 2C 2C"}},
    };
    for (const auto& c : cases) {
        RecordingRequests requests;
        EXPECT_TRUE(c.Run(requests)) << c.Name;
        EXPECT_EQ(requests.Calls, c.Calls) << c.Name;
        EXPECT_TRUE(requests.Logged.empty()) << c.Name;
    }
}

TEST(KeyboardActions, SwitchLockTakesTheRowOfTheTable)
{
    const std::vector<std::string> rows[] = {{}, {"down 90 45", "up 90 45"}, {"down 14 3A", "up 14 3A"},
                                             {"down 91 46", "up 91 46"}, {}};
    for (int index = 0; index <= 4; ++index) {
        RecordingRequests requests;
        keyboard::SwitchLock(requests, index);
        EXPECT_EQ(requests.Calls, rows[index]) << "row " << index;
    }
}

// A failure part-way leaves no key down: what went down comes up, last
// first; the operation answers false and the failure is logged once.
TEST(KeyboardActions, NoKeyStaysDownWhenSomethingFails)
{
    using namespace corvello::keyboard;
    struct Case {
        const char* Name;
        Operation Run;
        std::string FailAt;
        std::vector<std::string> Calls;
        std::vector<std::string> Logged;
    };
    const Case cases[] = {
        {"the wait throws", PressCtrlShiftEsc, "wait 50",
         {"down 11 11", "down 10 10", "down 1B 1B", "wait 50", "up 1B 1B", "up 10 10", "up 11 11"},
         {"pressing Ctrl+Shift+Esc"}},
        {"Esc does not go down", PressCtrlShiftEsc, "down 1B 1B",
         {"down 11 11", "down 10 10", "down 1B 1B", "up 10 10", "up 11 11"},
         {"pressing Ctrl+Shift+Esc"}},
        {"Shift does not come up: Ctrl still does", PressCtrlShiftEsc, "up 10 10",
         {"down 11 11", "down 10 10", "down 1B 1B", "wait 50", "up 1B 1B", "up 10 10", "up 11 11"},
         {"pressing Ctrl+Shift+Esc"}},
        {"Caps Lock does not go down", SwitchCapsLock, "down 14 3A", {"down 14 3A"}, {"switching Caps Lock"}},
        {"Num Lock does not come up", SwitchNumLock, "up 90 45", {"down 90 45", "up 90 45"},
         {"switching Num Lock"}},
        {"Scroll Lock does not go down", SwitchScrollLock, "down 91 46", {"down 91 46"}, {"switching Scroll Lock"}},
        {"Print Screen", PressPrintScreen, "up 2C 2C", {"down 2C 2C", "up 2C 2C"}, {"pressing Print Screen"}},
    };
    for (const auto& c : cases) {
        RecordingRequests requests;
        requests.FailAt = c.FailAt;
        EXPECT_FALSE(c.Run(requests)) << c.Name;
        EXPECT_EQ(requests.Calls, c.Calls) << c.Name;
        EXPECT_EQ(requests.Logged, c.Logged) << c.Name;
    }
}

TEST(KeyboardActions, CtrlAltDelStopsAtTheFirstFailedStep)
{
    const std::vector<std::string> steps = {
        "open station winsta0 inherit 0 access 37F", "set station",
        "open desktop Winlogon flags 0 inherit 0 access 1FF", "set desktop", "broadcast 312 0 2E0003"};
    for (std::size_t failed = 0; failed <= steps.size(); ++failed) {
        RecordingRequests requests;
        if (failed < steps.size())
            requests.FailAt = steps[failed];
        const auto made = std::vector<std::string>(
            steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(std::min(failed + 1, steps.size())));
        EXPECT_EQ(keyboard::PostCtrlAltDel(requests), failed == steps.size()) << "step " << failed;
        EXPECT_EQ(requests.Calls, made) << "step " << failed;
    }
}

TEST(KeyboardActions, CtrlAltDelWarnsFromVistaOnAndPostsBefore)
{
    for (const bool vistaOrLater : {true, false}) {
        RecordingRequests requests;
        int warnings = 0;
        const bool result = keyboard::PressCtrlAltDel(requests, vistaOrLater, [&] { ++warnings; });
        EXPECT_EQ(warnings, vistaOrLater ? 1 : 0);
        EXPECT_EQ(result, !vistaOrLater);
        EXPECT_EQ(requests.Calls.size(), vistaOrLater ? 0u : 5u);
    }
}

TEST(KeyboardActions, LockReadersTakeTheToggleBitOfTheirKey)
{
    struct Case {
        std::int16_t Caps, Num, Scroll;
        bool CapsOn, NumOn, ScrollOn;
    };
    // The high bit says the key is down, which is not the lock's state.
    const std::int16_t down = static_cast<std::int16_t>(0x8000);
    const std::int16_t downToggled = static_cast<std::int16_t>(0x8001);
    const Case cases[] = {
        {0, 0, 0, false, false, false},
        {1, 0, 0, true, false, false},
        {0, 1, 0, false, true, false},
        {0, 0, 1, false, false, true},
        {down, downToggled, 0x7FFE, false, true, false},
    };
    for (const auto& c : cases) {
        RecordingRequests requests;
        requests.KeyStates = {{0x14, c.Caps}, {0x90, c.Num}, {0x91, c.Scroll}};
        EXPECT_EQ(keyboard::IsCapsLockOn(requests), c.CapsOn);
        EXPECT_EQ(keyboard::IsNumLockOn(requests), c.NumOn);
        EXPECT_EQ(keyboard::IsScrollLockOn(requests), c.ScrollOn);
    }
}
