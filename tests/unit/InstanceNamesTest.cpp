#include "core/InstanceNames.h"

#include <gtest/gtest.h>

using namespace corvello;

TEST(InstanceNames, ComposedFromUserExeAndExtra)
{
    struct Case {
        InstanceNameParts Parts;
        const wchar_t* Guard;
        const wchar_t* Instance;
    };
    const Case cases[] = {
        {{true, L"operator", true, L"tool.exe", L"Tool", L""},
         L"operator.TOOL.EXE.OneInstance.CriticalSection",
         L"operator.TOOL.EXE.OneInstance.Default"},
        // An unreadable user name still gives a working name.
        {{true, L"", true, L"corvello.exe", L"", L""}, L".CORVELLO.EXE.OneInstance.CriticalSection",
         L".CORVELLO.EXE.OneInstance.Default"},
        {{false, L"operator", false, L"tool.exe", L"Tool", L"x"}, L"Tool.x.OneInstance.CriticalSection",
         L"Tool.x.OneInstance.Default"},
        {{true, L"\x00E9mile", true, L"\x00E9t\x00E9.exe", L"", L""},
         L"\x00E9mile.\x00E9T\x00E9.EXE.OneInstance.CriticalSection", L"\x00E9mile.\x00E9T\x00E9.EXE.OneInstance.Default"},
    };
    for (const auto& c : cases) {
        const auto names = ComposeInstanceNames(c.Parts);
        EXPECT_EQ(names.Guard, c.Guard);
        EXPECT_EQ(names.Instance, c.Instance);
    }
}
