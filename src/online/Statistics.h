// The statistics ping of the application, and the link clicks it reports.
#pragma once

#include <cstdint>
#include <string>

#include "core/AppBase.h"

namespace corvello {

// Sends one statistics ping ("version=..." and the extra parameters), or
// nothing when a gate holds it back: online features off, the program ending,
// or a non-urgent ping within the spacing of the last one.
void SendPing(AppBase& app, const std::wstring& verb, const std::wstring& extraParams, bool urgent);
// Opens one of the links with the shell, then reports the click with the
// application's ping.
void OpenProductLink(AppBase& app, std::int32_t linkId);

}  // namespace corvello
