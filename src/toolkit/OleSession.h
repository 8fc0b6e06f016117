// OLE and automation entry points, loaded at run time from the system
// directory on first use: a program that never shows a browser control never
// loads them, and keeps its start-up lean.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>

namespace tk {

class OleLibrary {
public:
    // The loaded entry points; null when a DLL or an entry is missing. Loaded
    // once, kept for the life of the process: COM objects made through them
    // may still run code of theirs after the last pointer is gone.
    static const OleLibrary* Get();

    HRESULT(WINAPI* Initialize)(LPVOID) = nullptr;
    void(WINAPI* Uninitialize)() = nullptr;
    HRESULT(WINAPI* CreateInstance)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*) = nullptr;
    BSTR(WINAPI* AllocString)(const OLECHAR*) = nullptr;
    void(WINAPI* FreeString)(BSTR) = nullptr;
};

// OLE initialised on the calling thread for as long as the session lives;
// sessions nest. A thread that cannot have OLE (already in the multi-threaded
// apartment) gets a session that reports false.
class OleSession {
public:
    OleSession() noexcept;
    ~OleSession();
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    explicit operator bool() const noexcept { return initialized_; }

private:
    bool initialized_ = false;
};

// An owned BSTR.
class Bstr {
public:
    explicit Bstr(const std::wstring& text);
    ~Bstr();
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR Get() const noexcept { return text_; }

private:
    BSTR text_ = nullptr;
};

}  // namespace tk
