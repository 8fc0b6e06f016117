#include "online/Ole.h"

#include <new>

#include "toolkit/Handles.h"

namespace corvello {

namespace {

class LoadedOle {
public:
    LoadedOle() : FOle(L"ole32.dll"), FAutomation(L"oleaut32.dll")
    {
        FLibrary.Initialize = FOle.Proc<decltype(FLibrary.Initialize)>("OleInitialize");
        FLibrary.Uninitialize = FOle.Proc<decltype(FLibrary.Uninitialize)>("OleUninitialize");
        FLibrary.CreateInstance = FOle.Proc<decltype(FLibrary.CreateInstance)>("CoCreateInstance");
        FLibrary.AllocString = FAutomation.Proc<decltype(FLibrary.AllocString)>("SysAllocString");
        FLibrary.FreeString = FAutomation.Proc<decltype(FLibrary.FreeString)>("SysFreeString");
        FComplete = FLibrary.Initialize && FLibrary.Uninitialize && FLibrary.CreateInstance && FLibrary.AllocString &&
                    FLibrary.FreeString;
    }
    const OleLibrary* Library() const noexcept { return FComplete ? &FLibrary : nullptr; }

private:
    tk::SystemLibrary FOle;
    tk::SystemLibrary FAutomation;
    OleLibrary FLibrary;
    bool FComplete = false;
};

}  // namespace

const OleLibrary* OleLibrary::Get()
{
    static const LoadedOle loaded;
    return loaded.Library();
}

OleSession::OleSession() noexcept
{
    const OleLibrary* ole = OleLibrary::Get();
    // S_FALSE (already initialised here) counts as one more level to undo.
    FInitialized = ole && SUCCEEDED(ole->Initialize(nullptr));
}

OleSession::~OleSession()
{
    if (FInitialized)
        OleLibrary::Get()->Uninitialize();
}

Bstr::Bstr(const std::wstring& text)
{
    const OleLibrary* ole = OleLibrary::Get();
    if (ole)
        FText = ole->AllocString(text.c_str());
    if (!FText)
        throw std::bad_alloc();
}

Bstr::~Bstr()
{
    OleLibrary::Get()->FreeString(FText);
}

}  // namespace corvello
