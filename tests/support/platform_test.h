// A fixture that puts the scripted platform in force for the length of a
// test: no real clock, screen or window system decides an outcome.
#pragma once

#include "frame/platform/scripted_platform_p.h"

#include <gtest/gtest.h>

namespace korva::fixtures {

class PlatformTest : public ::testing::Test {
protected:
    PlatformTest() { platform.installed(true); }
    ~PlatformTest() override { platform.installed(false); }

    ScriptedPlatform platform;
};

} // namespace korva::fixtures
