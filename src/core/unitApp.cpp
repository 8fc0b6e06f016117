#include "core/unitApp.h"

namespace corvello {

TApp* App = nullptr;

TApp::TApp(const std::wstring& AName, const TVersionArray& AVersion, bool AConfirmClose, std::uint32_t ARegistryRoot,
           const std::wstring& ARegistryKey)
    : TAppClass(AName, AVersion, AConfirmClose, ARegistryRoot, ARegistryKey)
{
    FMainWindowClass = MainWindowClassName;
    FMainWindowTitle = FName;
}

}  // namespace corvello
