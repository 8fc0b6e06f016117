// The product's own addresses and the pages that carry it elsewhere: the one
// place to change them.
#pragma once

namespace corvello::product {

inline constexpr const wchar_t* WebDomain = L"corvello.quorvant.com";
inline constexpr const wchar_t* SupportEmail = L"support@quorvant.com";

inline constexpr const wchar_t* FacebookPage = L"https://www.facebook.com/quorvant.corvello";
inline constexpr const wchar_t* FacebookText = L"facebook.com";
inline constexpr const wchar_t* GplusPage = L"https://plus.google.com/+QuorvantCorvello";
inline constexpr const wchar_t* GplusText = L"plus.google.com";
inline constexpr const wchar_t* TwitterPage = L"http://twitter.com/quorvant";
inline constexpr const wchar_t* TwitterText = L"twitter.com";
inline constexpr const wchar_t* DeliciousSave = L"http://delicious.com/save?url=";
inline constexpr const wchar_t* DeliciousText = L"delicious.com";
inline constexpr const wchar_t* StumbleUponSubmit = L"http://www.stumbleupon.com/submit?url=";
inline constexpr const wchar_t* StumbleUponText = L"stumbleupon.com";

}  // namespace corvello::product
