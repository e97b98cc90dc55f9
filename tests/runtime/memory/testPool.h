// A private allocator for tests of the page mechanics, so that they see
// fresh pages whatever else the process has allocated. The pools are used
// unless the test asks for the bypass. Where a memory checker watches (the
// sanitizer build), a test that reads headers and pages holds a
// memPoolInspectScopeC while it does.
#pragma once

#include "runtime/memory/memPoolAllocatorC.h"
#include "runtime/platform/platform.h"

#include <gtest/gtest.h>

class testPoolC {
public:
    explicit testPoolC(bool usePools = true) {
        pool.initialise();
        if (usePools) pool.setPoolBypass(0);
    }
    ~testPoolC() {
        // Frees the pages once every block of the test is back.
        EXPECT_EQ(pool.liveBlocks(), 0) << "test left blocks behind";
        pool.shutdown();
    }
    memPoolAllocatorC* operator->() { return &pool; }
    memPoolAllocatorC& operator*() { return pool; }

    memPoolAllocatorC pool;
};

// Clears the tracking variables for the test's lifetime, so that the
// environment of the test run does not change the allocator's settings.
class memTrackEnvTest : public ::testing::Test {
protected:
    void SetUp() override { clearTrackEnv(); }
    void TearDown() override { clearTrackEnv(); }
    static void clearTrackEnv() {
        for (const char* name : {"QVMEMTRACK_LEAK", "QVMEMTRACK_TYPEINFO", "QVMEMTRACK_LOCATION",
                                 "QVMEMTRACK_OUTPUT", "U3DPDF_POOL_BYPASS"})
            platform::setEnv(name, nullptr);
    }
};
