// Records shared by the application object and the parts that use it.
#pragma once

#include <cstdint>
#include <string>

namespace corvello {

// The installation's identity and run statistics.
struct TSoftwareInfo {
    std::wstring hardware;  // computer name, "-", user name
    std::wstring version;
    std::wstring edition;
    std::wstring RunFirst;  // "yyyy-mm-dd", local date of the first run
    std::wstring RunLast;   // local date of the latest run
    std::uint32_t RunCount = 0;
    std::uint32_t RunTime = 0;  // seconds since this run started
};

struct TLink {
    std::int32_t id = 0;
    std::wstring URL;
    std::wstring Text;
    std::wstring Hint;
};

// The link ids: what a link control's tag says.
inline constexpr std::int32_t LinkIdWeb = 1;
inline constexpr std::int32_t LinkIdEmail = 2;
inline constexpr std::int32_t LinkIdRSS = 100;
inline constexpr std::int32_t LinkIdFacebook = 101;
inline constexpr std::int32_t LinkIdGplus = 102;
inline constexpr std::int32_t LinkIdTwitter = 103;
inline constexpr std::int32_t LinkIdDelicious = 104;
inline constexpr std::int32_t LinkIdStumbleUpon = 105;

struct TLinks {
    TLink Web;
    TLink Email;
    TLink RSS;
    TLink Facebook;
    TLink Gplus;
    TLink Twitter;
    TLink Delicious;
    TLink StumbleUpon;
};

}  // namespace corvello
