// Each image test starts with an empty registry, so ids are predictable, and leaves none behind.
#ifndef PIXMILL_TESTS_FIXTURE_H
#define PIXMILL_TESTS_FIXTURE_H

#include <gtest/gtest.h>

#include "core/image_registry.h"
#include "pixmill/pixmill.h"
#include "winplat/testing.h"

class PixmillTest : public ::testing::Test {
protected:
    void SetUp() override { clear(); }
    void TearDown() override { clear(); }

    static void clear() {
        winplat::testing::DebugCapture quiet;  // the registry reports what it frees
        pixmill::deleteAllImages();
    }
};

#endif
