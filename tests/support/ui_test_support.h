#pragma once

#include "virtual_event_loop.h"

#include <gtest/gtest.h>

namespace tarnix::test {

// Widgets need one QApplication for the whole test binary; each test gets a fresh virtual loop.
class UiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    // Runs Qt's pending events, deferred deletions among them.
    static void processQtEvents();

    VirtualEventLoop loop;
};

}  // namespace tarnix::test
