#include "toolkit/OleSession.h"

#include <new>

#include "toolkit/Handles.h"

namespace tk {

namespace {

class LoadedOle {
public:
    LoadedOle() : ole_(L"ole32.dll"), automation_(L"oleaut32.dll")
    {
        library_.Initialize = ole_.Proc<decltype(library_.Initialize)>("OleInitialize");
        library_.Uninitialize = ole_.Proc<decltype(library_.Uninitialize)>("OleUninitialize");
        library_.CreateInstance = ole_.Proc<decltype(library_.CreateInstance)>("CoCreateInstance");
        library_.AllocString = automation_.Proc<decltype(library_.AllocString)>("SysAllocString");
        library_.FreeString = automation_.Proc<decltype(library_.FreeString)>("SysFreeString");
        complete_ = library_.Initialize && library_.Uninitialize && library_.CreateInstance && library_.AllocString &&
                    library_.FreeString;
    }
    const OleLibrary* Library() const noexcept { return complete_ ? &library_ : nullptr; }

private:
    tk::SystemLibrary ole_;
    tk::SystemLibrary automation_;
    OleLibrary library_;
    bool complete_ = false;
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
    initialized_ = ole && SUCCEEDED(ole->Initialize(nullptr));
}

OleSession::~OleSession()
{
    if (initialized_)
        OleLibrary::Get()->Uninitialize();
}

Bstr::Bstr(const std::wstring& text)
{
    const OleLibrary* ole = OleLibrary::Get();
    if (ole)
        text_ = ole->AllocString(text.c_str());
    if (!text_)
        throw std::bad_alloc();
}

Bstr::~Bstr()
{
    OleLibrary::Get()->FreeString(text_);
}

}  // namespace tk
