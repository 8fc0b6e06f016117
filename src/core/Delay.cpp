#include "core/Delay.h"

#include <windows.h>

#include "core/Ticks.h"
#include "toolkit/Application.h"

namespace corvello {

void Delay(std::uint32_t milliseconds)
{
    const DWORD start = ::GetTickCount();
    do {
        tk::Application::Current().ProcessMessages();
    } while (TickDistance(::GetTickCount(), start) < milliseconds);
}

}  // namespace corvello
