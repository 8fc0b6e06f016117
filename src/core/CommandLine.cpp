#include "core/CommandLine.h"

#include <array>
#include <utility>

#include "core/DueTime.h"
#include "core/Text.h"

namespace corvello {
namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

// Whether the typed name (lower case, pieces joined by one blank) names the
// path (lower case, runs of blanks as one): the whole of it, or its end after
// a backslash, with or without ".exe".
bool NamesPath(std::wstring_view typed, std::wstring_view path)
{
    const auto endsWith = [typed](std::wstring_view whole) {
        return whole.size() >= typed.size() && whole.substr(whole.size() - typed.size()) == typed &&
               (whole.size() == typed.size() || whole[whole.size() - typed.size() - 1] == L'\\');
    };
    constexpr std::wstring_view exe = L".exe";
    return endsWith(path) || (path.ends_with(exe) && endsWith(path.substr(0, path.size() - exe.size())));
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view line)
{
    std::vector<std::wstring> elements;
    std::size_t pos = 0;
    if (line.empty())
        return elements;

    // The program name: no escapes, quotes only delimit.
    std::wstring name;
    if (line[0] == L'"') {
        pos = 1;
        while (pos < line.size() && line[pos] != L'"')
            name += line[pos++];
        if (pos < line.size())
            ++pos;
    } else {
        while (pos < line.size() && !IsBlank(line[pos]))
            name += line[pos++];
    }
    elements.push_back(std::move(name));

    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    if (pos >= line.size())
        return elements;

    std::wstring current;
    std::size_t backslashes = 0;
    int quotes = 0;  // 0 outside a quoted part; 1 inside
    while (pos < line.size()) {
        const wchar_t c = line[pos];
        if (IsBlank(c) && quotes == 0) {
            elements.push_back(std::move(current));
            current.clear();
            backslashes = 0;
            while (pos < line.size() && IsBlank(line[pos]))
                ++pos;
            if (pos >= line.size())
                return elements;
            continue;
        }
        if (c == L'\\') {
            current += c;
            ++backslashes;
            ++pos;
            continue;
        }
        if (c == L'"') {
            // 2n backslashes before a quote are n backslashes and the quote
            // delimits; 2n+1 are n backslashes and a literal quote.
            current.resize(current.size() - backslashes / 2);
            if (backslashes % 2 == 0) {
                ++quotes;
            } else {
                current.back() = L'"';
            }
            backslashes = 0;
            ++pos;
            // Following quotes count together with the one that opened the
            // quoted part: every third one is a literal quote.
            while (pos < line.size() && line[pos] == L'"') {
                if (++quotes == 3) {
                    current += L'"';
                    quotes = 0;
                }
                ++pos;
            }
            if (quotes == 2)
                quotes = 0;
            continue;
        }
        current += c;
        backslashes = 0;
        ++pos;
    }
    elements.push_back(std::move(current));
    return elements;
}

std::vector<std::wstring> CollectParams(const std::vector<std::wstring>& elements, std::wstring_view modulePath)
{
    std::size_t first = 1;
    if (!modulePath.empty() && !elements.empty()) {
        std::wstring path;
        for (const wchar_t c : LowerAscii(std::wstring(modulePath)))
            if (c != L' ' || path.empty() || path.back() != L' ')
                path += c;
        // Longer than the path, the joined pieces can name it no more.
        std::wstring typed = LowerAscii(elements[0]);
        for (std::size_t i = 1; i < elements.size() && !elements[i].empty() && typed.size() < path.size(); ++i) {
            typed += L' ' + LowerAscii(elements[i]);
            if (NamesPath(typed, path))
                first = i + 1;
        }
    }
    std::vector<std::wstring> params;
    for (std::size_t i = first; i < elements.size() && !elements[i].empty(); ++i)
        params.push_back(elements[i]);
    return params;
}

std::optional<std::wstring> ActionWordName(std::wstring_view param)
{
    constexpr std::size_t prefixLength = 4;
    if (param.size() < prefixLength || (param[0] != L'/' && param[0] != L'-') || param[3] != L':')
        return std::nullopt;
    if (LowerAscii(std::wstring(param.substr(1, 2))) != L"do")
        return std::nullopt;
    return std::wstring(param.substr(prefixLength));
}

bool TakeActionWord(std::wstring_view word, ActionWords& words)
{
    const std::wstring lower = LowerAscii(std::wstring(word));
    const auto valueAfter = [&](std::wstring_view prefix) -> std::optional<std::wstring_view> {
        if (lower.size() < prefix.size() || std::wstring_view(lower).substr(0, prefix.size()) != prefix)
            return std::nullopt;
        return word.substr(prefix.size());
    };
    // Twice is once too many, even the same.
    const auto once = [&](bool given) {
        if (given)
            words.Malformed = true;
    };
    if (const auto value = valueAfter(L"in:")) {
        once(words.Wait != WaitKind::None);
        const auto seconds = ParseDuration(*value);
        words.Malformed = words.Malformed || !seconds;
        words.Wait = WaitKind::In;
        words.Seconds = seconds.value_or(0);
        return true;
    }
    if (const auto value = valueAfter(L"at:")) {
        once(words.Wait != WaitKind::None);
        const auto minute = ParseClockTime(*value);
        words.Malformed = words.Malformed || !minute;
        words.Wait = WaitKind::At;
        words.ClockMinute = minute.value_or(0);
        return true;
    }
    if (const auto value = valueAfter(L"screen:")) {
        const std::wstring state = LowerAscii(std::wstring(*value));
        once(words.ScreenOn.has_value());
        words.Malformed = words.Malformed || (state != L"on" && state != L"off");
        words.ScreenOn = state == L"on";
        return true;
    }
    if (lower == L"off") {
        once(words.Off);
        words.Off = true;
        return true;
    }
    return false;
}

ActionWords ReadActionWords(const std::vector<std::wstring>& params, std::size_t word, bool takesWords)
{
    ActionWords words;
    for (std::size_t i = 0; i < params.size(); ++i) {
        const std::wstring& param = params[i];
        // Dropped, a misspelt "/in 5m" would run the action at once.
        if (i != word && !(takesWords && param.size() > 1 && (param[0] == L'/' || param[0] == L'-') &&
                           TakeActionWord(std::wstring_view(param).substr(1), words)))
            words.Malformed = true;
    }
    return words;
}

WorkChoice ChooseWork(const std::vector<std::wstring>& params)
{
    struct Rule {
        const wchar_t* Word;
        WorkMode Mode;
    };
    // "uninstall" comes before "install", which it contains.
    static constexpr std::array<Rule, 5> Contains{{
        {L"startup", WorkMode::Startup},
        {L"uninstall", WorkMode::Uninstall},
        {L"install", WorkMode::Install},
        {L"reset", WorkMode::Reset},
        {L"stop", WorkMode::Stop},
    }};
    for (std::size_t i = 0; i < params.size(); ++i) {
        const std::wstring& param = params[i];
        const std::wstring word = LowerAscii(param);
        for (const auto& rule : Contains)
            if (word.find(rule.Word) != std::wstring::npos)
                return {rule.Mode, {}, {}};
        if (word == L"c" || word == L"s")
            return {WorkMode::Settings, {}, {}};
        WorkChoice choice;
        if (auto name = ActionWordName(param)) {
            choice.Mode = WorkMode::Action;
            choice.ActionName = std::move(*name);
        } else if (word == L"/options" || word == L"-options") {
            choice.Mode = WorkMode::Options;
        } else if (word == L"/cancel" || word == L"-cancel") {
            choice.Mode = WorkMode::Cancel;
        } else {
            continue;
        }
        choice.Words = ReadActionWords(params, i, choice.Mode == WorkMode::Action);
        return choice;
    }
    return {};
}

WorkMode ChooseWorkMode(const std::vector<std::wstring>& params)
{
    return ChooseWork(params).Mode;
}

}  // namespace corvello
