#include "actions/LockPolicy.h"

namespace corvello {

const wchar_t* LockName(LockKey key) noexcept
{
    for (const ActionEntry& entry : catalogue::Actions)
        if (entry.Lock == key && key != LockKey::None)
            return entry.Caption;
    return L"";
}

std::wstring LockStateText(LockKey key, bool on, bool kept)
{
    std::wstring text = LockName(key);
    text += kept ? L" kept" : L"";
    text += on ? L" on" : L" off";
    return text;
}

std::wstring GaveWayText(LockKey key, LockPolicy policy)
{
    const bool keptOn = policy == LockPolicy::AlwaysOn;
    std::wstring text = L"Another program keeps switching ";
    text += LockName(key);
    text += keptOn ? L" off. It is no longer kept on" : L" on. It is no longer kept off";
    text += L" until the computer is unlocked or the program starts again.";
    return text;
}

CorrectionLimit::Answer CorrectionLimit::Ask(std::uint32_t now, SwitchedBy by) noexcept
{
    if (stopped_)
        return Answer::GaveWay;
    if (by == SwitchedBy::Keyboard)
        return Answer::Correct;
    // The oldest of the last corrections is the one about to be replaced;
    // the difference of tick counts survives their wrapping.
    if (count_ == MostCorrections && now - times_[next_] <= WithinMs) {
        stopped_ = true;
        return Answer::GiveWay;
    }
    times_[next_] = now;
    next_ = (next_ + 1) % MostCorrections;
    if (count_ < MostCorrections)
        ++count_;
    return Answer::Correct;
}

void CorrectionLimit::Reset() noexcept
{
    *this = CorrectionLimit{};
}

}  // namespace corvello
