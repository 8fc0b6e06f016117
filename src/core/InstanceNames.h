// Names of the two mutexes by which instances of the program find each other.
#pragma once

#include <string>

namespace corvello {

struct InstanceNameParts {
    bool UseUserName = true;
    std::wstring UserName;
    bool UseExeName = true;
    std::wstring ExeFileName;  // name and extension, no directory
    std::wstring AppTitle;     // stands in for the file name when UseExeName is off
    std::wstring Extra;        // optional
};

struct InstanceNames {
    std::wstring Guard;     // held only while one start checks
    std::wstring Instance;  // held by the running instance
};

// "operator.TOOL.EXE.OneInstance.CriticalSection" and "...Default". No
// namespace prefix: the names live in the local namespace of the logon.
InstanceNames ComposeInstanceNames(const InstanceNameParts& parts);

}  // namespace corvello
