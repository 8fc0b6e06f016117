#include "actions/StayAwake.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace corvello;

namespace {

// Records what is asked, as text, and answers as told: Windows with power
// requests, or without them (XP), or one that refuses to set one.
class RecordingAwake : public AwakeRequests {
public:
    bool HasRequests = true;
    bool SetResult = true;
    std::vector<std::wstring> Calls;

    std::uintptr_t CreateRequest(const std::wstring& reason) override
    {
        Calls.push_back(L"create [" + reason + L"]");
        return HasRequests ? ++made_ : 0;
    }
    bool SetRequest(std::uintptr_t request, AwakeNeed need) override
    {
        Calls.push_back(L"set " + std::to_wstring(request) + Need(need));
        return SetResult;
    }
    bool ClearRequest(std::uintptr_t request, AwakeNeed need) override
    {
        Calls.push_back(L"clear " + std::to_wstring(request) + Need(need));
        return true;
    }
    void CloseRequest(std::uintptr_t request) override { Calls.push_back(L"close " + std::to_wstring(request)); }
    bool SetExecutionState(bool system, bool display) override
    {
        Calls.push_back(std::wstring(L"state") + (system ? L" system" : L"") + (display ? L" display" : L""));
        return true;
    }

private:
    static std::wstring Need(AwakeNeed need) { return need == AwakeNeed::Display ? L" display" : L" system"; }
    std::uintptr_t made_ = 0;
};

}  // namespace

TEST(StayAwake, EachHolderHasAPowerRequestWithItsReason)
{
    RecordingAwake requests;
    {
        StayAwake awake(requests);
        awake.Hold(AwakeHolder::Timer, L"Corvello: Shut Down at 23:30", false);
        awake.Hold(AwakeHolder::KeepAwake, L"Corvello: keep awake until 18:30", true);
        EXPECT_TRUE(awake.Holding(AwakeHolder::Timer));
        awake.Release(AwakeHolder::Timer);
        EXPECT_FALSE(awake.Holding(AwakeHolder::Timer));
        awake.Release(AwakeHolder::Timer);  // once is all
        // Holding again replaces what was held.
        awake.Hold(AwakeHolder::KeepAwake, L"Corvello: keep awake", false);
    }  // and what is held at the end goes
    const std::vector<std::wstring> expected = {
        L"create [Corvello: Shut Down at 23:30]",
        L"set 1 system",
        L"create [Corvello: keep awake until 18:30]",
        L"set 2 system",
        L"set 2 display",
        L"clear 1 system",
        L"close 1",
        L"clear 2 system",
        L"clear 2 display",
        L"close 2",
        L"create [Corvello: keep awake]",
        L"set 3 system",
        L"clear 3 system",
        L"close 3",
    };
    EXPECT_EQ(requests.Calls, expected);
}

TEST(StayAwake, WithoutPowerRequestsTheExecutionStateHoldsForEveryHolder)
{
    for (const bool refused : {false, true}) {
        RecordingAwake requests;
        // Windows XP has none; a Windows that will not set one is as good.
        requests.HasRequests = refused;
        requests.SetResult = !refused;
        StayAwake awake(requests);
        awake.Hold(AwakeHolder::Timer, L"Corvello: Log Off at 12:00", false);
        awake.Hold(AwakeHolder::KeepAwake, L"Corvello: keep awake", true);
        awake.Release(AwakeHolder::KeepAwake);
        awake.Release(AwakeHolder::Timer);
        std::vector<std::wstring> states;
        for (const std::wstring& call : requests.Calls)
            if (call.rfind(L"state", 0) == 0)
                states.push_back(call);
        const std::vector<std::wstring> expected = {L"state system", L"state system display", L"state system",
                                                    L"state"};
        EXPECT_EQ(states, expected) << "refused: " << refused;
        if (refused) {
            // The request it could not set is not left behind.
            EXPECT_NE(std::find(requests.Calls.begin(), requests.Calls.end(), L"close 1"), requests.Calls.end());
        }
    }
}

TEST(StayAwake, ARequestIsReleasedThroughTheRequestsItWasMadeWith)
{
    RecordingAwake first;
    RecordingAwake second;
    StayAwake awake(first);
    awake.Hold(AwakeHolder::KeepAwake, L"Corvello: keep awake", false);
    awake.SetRequests(second);
    awake.Release(AwakeHolder::KeepAwake);
    EXPECT_EQ(first.Calls.back(), L"close 1");
    EXPECT_TRUE(second.Calls.empty());
}
