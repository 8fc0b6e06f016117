// The address a notification loads, and the query encoding used around it.
// No Windows types here.
#pragma once

#include <string>
#include <string_view>

namespace corvello {

// The text with one "/" at its end, added only when missing.
std::wstring EnsureTrailingSlash(std::wstring text);

// Base address, the verb as a path segment ending in "/", then "?" and the
// query. Nothing is encoded here: the query must already be valid.
std::wstring ComposeNotifyAddress(const std::wstring& url, const std::wstring& verb, const std::wstring& data);

// Percent-encoding of an 8-bit string up to its first zero byte: letters,
// digits and ! $ ' ( ) * - . @ _ stay, a space becomes "+", every other byte
// "%XX" in uppercase hexadecimal.
std::string UrlEncode(std::string_view text);

// An ASCII text (such as UrlEncode's result) as a wide string.
std::wstring WidenAscii(std::string_view text);

}  // namespace corvello
