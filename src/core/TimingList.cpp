#include "core/Timings.h"

namespace corvello {
namespace {

struct TimingName {
    Timing Which;
    const wchar_t* Name;
    std::uint32_t Standard;
};

constexpr TimingName Names[] = {
    {Timing::StopWait, L"StopWait", 3000},
    {Timing::StopModeWait, L"StopModeWait", 5000},
    {Timing::HandOverWait, L"HandOverWait", 5000},
    {Timing::AboutPing, L"AboutPing", 10000},
    {Timing::SessionEndForget, L"SessionEndForget", 10000},
    {Timing::TimerWarning, L"TimerWarning", 5 * 60000},
    {Timing::TimerCountdown, L"TimerCountdown", 30000},
    {Timing::InstanceLetGo, L"InstanceLetGo", 5000},
};

const TimingName& Find(Timing timing) noexcept
{
    for (const TimingName& name : Names)
        if (name.Which == timing)
            return name;
    return Names[0];
}

}  // namespace

std::uint32_t StandardTiming(Timing timing) noexcept
{
    return Find(timing).Standard;
}

std::uint32_t ChooseTiming(std::wstring_view list, Timing timing) noexcept
{
    const TimingName& name = Find(timing);
    const std::wstring_view wanted(name.Name);
    while (!list.empty()) {
        const std::size_t comma = list.find(L',');
        const std::wstring_view item = list.substr(0, comma);
        list = comma == std::wstring_view::npos ? std::wstring_view() : list.substr(comma + 1);
        if (item.size() <= wanted.size() || item.substr(0, wanted.size()) != wanted || item[wanted.size()] != L'=')
            continue;
        const std::wstring_view digits = item.substr(wanted.size() + 1);
        if (digits.empty() || digits.size() > 9)
            continue;
        std::uint32_t value = 0;
        bool number = true;
        for (const wchar_t c : digits) {
            if (c < L'0' || c > L'9') {
                number = false;
                break;
            }
            value = value * 10 + static_cast<std::uint32_t>(c - L'0');
        }
        if (number && value >= 1 && value <= name.Standard)
            return value;
    }
    return name.Standard;
}

}  // namespace corvello
