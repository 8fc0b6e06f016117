#include "core/Delay.h"

#include <windows.h>

#include "core/Ticks.h"
#include "toolkit/Application.h"

namespace corvello {

void Delay(std::uint32_t milliseconds)
{
    const DWORD start = ::GetTickCount();
    auto& application = tk::Application::Current();
    for (;;) {
        application.ProcessMessages();
        const std::uint32_t elapsed = TickDistance(::GetTickCount(), start);
        if (elapsed >= milliseconds)
            return;
        // Sleeps until a message arrives or the time is up, rather than spin.
        ::MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds - elapsed, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

}  // namespace corvello
