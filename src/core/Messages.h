// Window messages of the program. Fixed numbers rather than registered ones, so
// that every copy of the program, old or new, agrees on them.
#pragma once

namespace corvello {

inline constexpr unsigned WM_APP_UPDATE = 17456;
inline constexpr unsigned WM_APP_TERMINATE = 17457;
inline constexpr unsigned WM_APP_SETTINGS_READ = 35557;
inline constexpr unsigned WM_INSTANCE_ACTIVATE = 35558;
inline constexpr unsigned WM_INSTANCE_STOP = 35559;
// A start with the word /options asks the running copy to show its Options
// window (a copy too old to know it leaves it alone).
inline constexpr unsigned WM_INSTANCE_OPTIONS = 35560;

// What a copy on its way out (ending, or asked to end) answers a start that
// sends WM_INSTANCE_ACTIVATE or WM_INSTANCE_OPTIONS rather than posting it:
// the request would be lost there, so the start waits for the copy to go.
// Any other answer means the copy took the request.
inline constexpr long InstanceLeavingAnswer = 0x4376414C;

// Every message above: the application object handles them whichever of its
// windows they are posted to and whichever loop dispatches them.
inline constexpr unsigned ProgramMessages[] = {WM_APP_UPDATE, WM_APP_TERMINATE, WM_APP_SETTINGS_READ,
                                               WM_INSTANCE_ACTIVATE, WM_INSTANCE_STOP, WM_INSTANCE_OPTIONS};

}  // namespace corvello
