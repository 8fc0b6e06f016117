// The links catalogue and the addresses handed to the shell. No Windows types
// here: the conversion to the ANSI code page comes in as a function.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/LinkSet.h"

namespace corvello {

// UTF-16 to the system's 8-bit code page.
using AnsiConverter = std::function<std::string(const std::wstring&)>;

// Tooltips of the links, in the order of LinkSet.
struct LinkHints {
    std::wstring Web;
    std::wstring Email;
    std::wstring RSS;
    std::wstring Facebook;
    std::wstring Gplus;
    std::wstring Twitter;
    std::wstring Delicious;
    std::wstring StumbleUpon;
};

// Fills addresses, texts and hints (and the ids) of every link, in the order
// of the catalogue: the bookmark links are made from the web link.
void ComposeLinks(LinkSet& links, const std::wstring& appName, const LinkHints& hints, const AnsiConverter& toAnsi);

// What a click on a link opens: the mail program or an address.
struct LinkTarget {
    bool Mail = false;
    std::wstring Address;
};

// The mail link composes a message, the others open their own address; any
// other id (1 and the program icon's 0 among them) opens the web site with the
// version as query.
LinkTarget ChooseLinkTarget(const LinkSet& links, std::int32_t linkId, const std::wstring& version);

// The address unchanged when it has "://" anywhere, else with "http://" before.
std::wstring ComposeOpenUrl(const std::wstring& address);

// A mailto: address (the prefix added unless present in any letter case),
// with "?subject=" and the encoded subject; a body alone follows "?body=",
// after a subject "&body=". Subject and body are in the ANSI code page.
std::wstring ComposeMailUrl(const std::wstring& address, const std::string& subject, const std::string& body);

}  // namespace corvello
