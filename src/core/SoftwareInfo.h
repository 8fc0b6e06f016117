// The installation's identity and run statistics.
#pragma once

#include <cstdint>
#include <string>

namespace corvello {

struct SoftwareInfo {
    std::wstring Hardware;  // computer name, "-", user name
    std::wstring Version;
    std::wstring RunFirst;  // "yyyy-mm-dd", local date of the first run
    std::wstring RunLast;   // local date of the latest run
    std::uint32_t RunCount = 0;
    std::uint32_t RunTime = 0;  // seconds since this run started
};

}  // namespace corvello
