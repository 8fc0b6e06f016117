// The yardstick: the least a tray program does, an empty window and its tray
// icon on the shared skeleton.
#include "TrayProgram.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    return RunTrayProgram({L"MinimalWin32", 320, 420, nullptr, nullptr}, instance, commandLine);
}
