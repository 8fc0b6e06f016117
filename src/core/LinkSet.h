// The product's links as the windows and the online features share them.
#pragma once

#include <cstdint>
#include <string>

namespace corvello {

struct Link {
    std::int32_t Id = 0;
    std::wstring Url;
    std::wstring Text;  // what a click label shows
    std::wstring Hint;  // the tooltip
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

struct LinkSet {
    Link Web;
    Link Email;
    Link RSS;
    Link Facebook;
    Link Gplus;
    Link Twitter;
    Link Delicious;
    Link StumbleUpon;
};

}  // namespace corvello
