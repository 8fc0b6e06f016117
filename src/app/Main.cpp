// The program's entry: start-up, the application object's run, and the exit
// sequence.
#include <windows.h>

#include <cstdlib>
#include <exception>
#include <memory>
#include <new>

#include "core/FileVersion.h"
#include "core/ProcessLaunch.h"
#include "core/SingleInstance.h"
#include "core/SystemVersion.h"
#include "core/Product.h"
#include "app/CorvelloApp.h"
#include "ui/OptionBridge.h"
#include "toolkit/Log.h"

namespace corvello {

VersionArray AppVersion = BuiltInVersion;

namespace {

// DLLs loaded later come from the system directory only. Where Windows is
// too old for that, at least the current directory leaves the search.
void RestrictDllSearch()
{
    using SetDefaultFn = BOOL(WINAPI*)(DWORD);
    using SetDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    if (const auto setDefault = reinterpret_cast<SetDefaultFn>(
            reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")));
        setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    if (const auto setDirectory =
            reinterpret_cast<SetDirectoryFn>(reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDllDirectoryW"))))
        setDirectory(L"");
}

int RunProgram()
{
    DetectWindowsVersion();

    const std::wstring exePath = GetModulePath();
    // A copy without readable version information keeps the built-in version.
    GetFileVersion(exePath, AppVersion);

    auto application = std::make_unique<CorvelloApp>(CORVELLO_WIDEN(CORVELLO_NAME), AppVersion, true,
                                              RegistryRootCurrentUser, L"");
    // The settings as text, by option index and name, for the run.
    auto options = std::make_unique<OptionBridge>(*application, CORVELLO_WIDEN(CORVELLO_NAME), AppVersion, L"",
                                                  RegistryRootCurrentUser, L"");

    application->Execute();

    // Exit sequence. The bridge, which refers to the application object,
    // goes first.
    const bool restart = application->RestartRequested();
    options.reset();
    application.reset();
    FreeInstanceMutex();
    if (restart)
        StartProgramCopy(exePath);
    return tk::Application::Current().ExitCode();
}

}  // namespace
}  // namespace corvello

#if defined(__GLIBCXX__) && defined(__MINGW32__)
// GCC's runtime answers an uncaught exception by printing its demangled type
// before it aborts. A GUI program has nowhere to print it, and the demangler
// that comes with that handler would be a tenth of the program.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx

// The containers report misuse through these. The runtime's own versions
// throw exceptions that carry a copy-on-write string, which brings a second
// string implementation into the program; these keep the runtime's message
// as the literal it is.
namespace {
class LibraryError : public std::exception {
public:
    explicit LibraryError(const char* message) noexcept : message_(message) {}
    const char* what() const noexcept override { return message_; }

private:
    const char* message_;
};
}  // namespace

namespace std {
void __throw_bad_alloc()
{
    throw std::bad_alloc();
}
void __throw_bad_array_new_length()
{
    throw std::bad_array_new_length();
}
void __throw_length_error(const char* message)
{
    throw LibraryError(message);
}
void __throw_logic_error(const char* message)
{
    throw LibraryError(message);
}
void __throw_out_of_range_fmt(const char* format, ...)
{
    throw LibraryError(format);
}
}  // namespace std
#endif

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    corvello::RestrictDllSearch();
    try {
        return corvello::RunProgram();
    } catch (...) {
        tk::LogCurrentException(L"the program");
        return 1;
    }
}
