// The program's own application object: its main window, settings, links and
// system actions.
#pragma once

#include "core/AppClasses.h"

namespace corvello {

class TApp : public TAppClass {
public:
    // The class and title under which another copy of the program finds the
    // main window.
    static constexpr const wchar_t* MainWindowClassName = L"TfrmMain";

    TApp(const std::wstring& AName, const TVersionArray& AVersion, bool AConfirmClose, std::uint32_t ARegistryRoot,
         const std::wstring& ARegistryKey);
};

// The same object as AppObject, typed as the program's own class.
extern TApp* App;

}  // namespace corvello
