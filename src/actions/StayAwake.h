// What keeps the computer awake while the program needs it: for each holder
// (a waiting action, Keep Awake) a power request of its own with a reason
// that "powercfg /requests" shows, or, where Windows has no power requests
// (Windows XP) or refuses one, the thread's execution state for all such
// holders at once. The requests go through an interface, so what is asked
// of Windows is checked without it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace corvello {

// What a power request keeps on.
enum class AwakeNeed { System, Display };

class AwakeRequests {
public:
    virtual ~AwakeRequests() = default;
    // PowerCreateRequest with the reason as its simple string: the request,
    // or 0 where Windows has none or refused.
    virtual std::uintptr_t CreateRequest(const std::wstring& reason) = 0;
    virtual bool SetRequest(std::uintptr_t request, AwakeNeed need) = 0;
    virtual bool ClearRequest(std::uintptr_t request, AwakeNeed need) = 0;
    virtual void CloseRequest(std::uintptr_t request) = 0;
    // SetThreadExecutionState, continuous: the system, and the display, kept
    // on as asked; neither lets them rest again.
    virtual bool SetExecutionState(bool system, bool display) = 0;
};

enum class AwakeHolder { Timer, KeepAwake };

class StayAwake {
public:
    explicit StayAwake(AwakeRequests& requests) noexcept : requests_(&requests) {}
    ~StayAwake();
    StayAwake(const StayAwake&) = delete;
    StayAwake& operator=(const StayAwake&) = delete;

    // Where the requests go; what is held stays with the requests it was
    // made through until it is released.
    void SetRequests(AwakeRequests& requests) noexcept { requests_ = &requests; }

    // Keeps the computer (and the display, when asked) awake for the holder,
    // under the reason; replaces what the holder held before.
    void Hold(AwakeHolder holder, const std::wstring& reason, bool display);
    void Release(AwakeHolder holder);
    bool Holding(AwakeHolder holder) const noexcept { return held_[Index(holder)].Active; }

private:
    struct Held {
        bool Active = false;
        bool Display = false;
        // The power request, or 0 while the execution state holds instead.
        std::uintptr_t Request = 0;
        AwakeRequests* Through = nullptr;
    };
    static constexpr std::size_t Holders = 2;
    static std::size_t Index(AwakeHolder holder) noexcept { return static_cast<std::size_t>(holder); }
    // The execution state for every holder without a request of its own.
    void ApplyExecutionState();

    AwakeRequests* requests_;
    Held held_[Holders];
    bool stateSet_ = false;
};

}  // namespace corvello
