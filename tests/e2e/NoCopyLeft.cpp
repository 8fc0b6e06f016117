// Every end-to-end test begins with no copy of the program running: a copy
// that the test before ended must have let go of the instance, or a start
// would take it for a running copy and hand over to it.
#include <gtest/gtest.h>

#include <windows.h>

#include "e2e/CorvelloProcess.h"

namespace {

class NoCopyLeft : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (!testsupport::WaitUntil([] { return !testsupport::InstanceHeld(); }, 10000))
            ADD_FAILURE() << "a copy of the program started before this test still holds its instance";
    }
};

[[maybe_unused]] const auto* const registered = ::testing::AddGlobalTestEnvironment(new NoCopyLeft);

}  // namespace
