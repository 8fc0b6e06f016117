// The skeleton the benchmark's yardsticks share: one copy per user (a second
// start hands over to the first through its window and ends), a window with
// an icon in the notification area, then the message loop.
#pragma once

#include <windows.h>

struct TrayProgram {
    // The window class and title, and the name of the one-copy mutex.
    const wchar_t* Name;
    int ClientWidth;
    int ClientHeight;
    // The window's and the tray's icon; the system's application icon if null.
    const wchar_t* IconResource;
    // Fills the window before it shows; nothing if null.
    void (*MakeControls)(HWND window, int dpi);
};

// Runs the program. A command line that holds "startup" leaves the window
// hidden, as a start at sign-in with the window stored hidden does: the tray
// icon is all that shows.
int RunTrayProgram(const TrayProgram& program, HINSTANCE instance, const wchar_t* commandLine);
