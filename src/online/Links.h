// The product's links and the routines that hand addresses to the shell.
#pragma once

#include <string>

#include "core/LinkSet.h"
#include "online/LinkRules.h"

namespace corvello {

// Fills every link, the hints from the program's string resources. The
// application object's constructor calls it with the application's name.
void FillLinks(LinkSet& links, const std::wstring& appName);

// UTF-16 to the system's ANSI code page (characters it lacks become its
// default character).
std::string ToAnsi(const std::wstring& text);

// Opens the address with the user's browser; "http://" is put in front of an
// address without "://".
void OpenUrl(const std::wstring& address);

// Opens the user's mail program on a message to the address, with the subject
// (or a body) encoded into the mailto: address.
void ComposeMail(const std::wstring& address, const std::wstring& subject, const std::wstring& body);

}  // namespace corvello
