// The settings as options addressed by index or by a short name, with text
// values. No Windows types here.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace corvello {

inline constexpr int OptionCount = 41;

// Indices that carry a value in this program.
inline constexpr int OptionAutoRun = 1;
inline constexpr int OptionOnline = 2;
inline constexpr int OptionConfirm = 3;

// Names by index; an index without a name holds the empty text.
extern const std::array<const wchar_t*, OptionCount> OptionNames;

// The index of the option with this name in any letter case, or -1.
int FindOptionIndex(const std::wstring& name);

// "-1" for true, "0" for false.
std::wstring BooleanToText(bool value);

// A number (with the user's decimal separator) is true when not zero; else
// "True" or "False" in any case; anything else is no Boolean.
std::optional<bool> TextToBoolean(const std::wstring& text, wchar_t decimalSeparator);

}  // namespace corvello
