// Reading a number from a registry value that may have been damaged: a
// number stored as text, a DWORD shorter than four bytes, a QWORD. No
// Windows types here: the caller passes the value's type and bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace corvello {

// The registry's value types, by their numbers.
namespace value_type {
inline constexpr std::uint32_t String = 1;        // REG_SZ
inline constexpr std::uint32_t ExpandString = 2;  // REG_EXPAND_SZ
inline constexpr std::uint32_t Binary = 3;        // REG_BINARY
inline constexpr std::uint32_t Dword = 4;         // REG_DWORD
inline constexpr std::uint32_t MultiString = 7;   // REG_MULTI_SZ
inline constexpr std::uint32_t Qword = 11;        // REG_QWORD
}  // namespace value_type

// The value as a number, where it can be read as one:
// - a DWORD of one to four bytes, little-endian;
// - a QWORD of eight bytes whose number fits in 32 bits;
// - text (UTF-16 of whole characters, up to its first zero or its end)
//   holding a whole decimal number from 0 to 4294967295, blanks around it
//   allowed, a "+" (or, before 0, a "-") in front.
// Anything else reads as nothing: other types and sizes, a number beyond 32
// bits (capping it would turn a damaged switch on), a negative one, and text
// torn in the middle of a character (an odd number of bytes).
std::optional<std::uint32_t> DecodeStoredNumber(std::uint32_t type, const std::uint8_t* data, std::size_t size);

}  // namespace corvello
