// A test of the real program that starts from nothing of it stored and
// leaves nothing behind.
#pragma once

#include <gtest/gtest.h>

#include "support/ProgramSettings.h"

namespace testsupport {

class NothingStoredTest : public ::testing::Test {
protected:
    void SetUp() override { ForgetProgramSettings(); }
    void TearDown() override { ForgetProgramSettings(); }
};

}  // namespace testsupport
