#include "toolkit/FileDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "toolkit/Handles.h"
#include "toolkit/Log.h"

namespace tk {

std::optional<std::wstring> ChooseFileToOpen(HWND owner, const std::wstring& filter, const std::wstring& current)
{
    using OpenFn = BOOL(WINAPI*)(OPENFILENAMEW*);
    static const SystemLibrary comdlg(L"comdlg32.dll");
    const auto open = comdlg.Proc<OpenFn>("GetOpenFileNameW");
    if (!open) {
        LogLastError(L"loading the file dialog");
        return std::nullopt;
    }
    std::vector<wchar_t> path(MAX_PATH * 4, L'\0');
    current.copy(path.data(), std::min(current.size(), path.size() - 1));
    const std::wstring filters = filter + L'\0';
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filters.c_str();
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!open(&dialog))
        return std::nullopt;
    return std::wstring(path.data());
}

}  // namespace tk
