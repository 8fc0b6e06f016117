#include "ui/Options.h"

#include "core/Text.h"

namespace corvello {

const std::array<const wchar_t*, OptionCount> OptionNames = {
    L"",         L"autorun",  L"online",   L"confirm",  L"snd1",     L"snd1file", L"",         L"snd2",
    L"snd2file", L"",         L"",         L"tray1",    L"tray1ball", L"",        L"",         L"tray2",
    L"tray2ball", L"",        L"",         L"",         L"",         L"osd1",     L"osd1text", L"osd1back",
    L"osd1opac", L"osd1hide", L"osd1anim", L"",         L"",         L"",         L"",         L"osd2",
    L"osd2text", L"osd2back", L"osd2opac", L"osd2hide", L"osd2anim", L"",         L"",         L"",
    L"",
};

int FindOptionIndex(const std::wstring& name)
{
    if (name.empty())
        return -1;
    const std::wstring lowered = LowerAscii(name);
    for (int i = OptionCount - 1; i >= 0; --i)
        if (lowered == OptionNames[static_cast<std::size_t>(i)])
            return i;
    return -1;
}

std::wstring BooleanToText(bool value)
{
    return value ? L"-1" : L"0";
}

namespace {

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

// A decimal number: blanks, sign, digits with one optional decimal separator,
// an optional exponent, blanks. Its value matters only as zero or not, and
// that is decided by the digits before the exponent: an exponent never turns
// a non-zero number into zero, nor zero into anything else.
std::optional<bool> NumberIsNonZero(const std::wstring& text, wchar_t separator)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    if (i < n && (text[i] == L'+' || text[i] == L'-'))
        ++i;
    bool digits = false;
    bool nonZero = false;
    bool separatorSeen = false;
    for (; i < n; ++i) {
        if (IsDigit(text[i])) {
            digits = true;
            nonZero = nonZero || text[i] != L'0';
        } else if (text[i] == separator && !separatorSeen) {
            separatorSeen = true;
        } else {
            break;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < n && (text[i] == L'e' || text[i] == L'E')) {
        ++i;
        if (i < n && (text[i] == L'+' || text[i] == L'-'))
            ++i;
        if (i >= n || !IsDigit(text[i]))
            return std::nullopt;
        while (i < n && IsDigit(text[i]))
            ++i;
    }
    while (i < n && IsBlank(text[i]))
        ++i;
    if (i != n)
        return std::nullopt;
    return nonZero;
}

}  // namespace

std::optional<bool> TextToBoolean(const std::wstring& text, wchar_t decimalSeparator)
{
    if (const auto number = NumberIsNonZero(text, decimalSeparator))
        return number;
    const std::wstring lowered = LowerAscii(text);
    if (lowered == L"true")
        return true;
    if (lowered == L"false")
        return false;
    return std::nullopt;
}

}  // namespace corvello
