// Every test of the layer lays text out with the synthetic test face, whose metrics are the same
// on every machine; the smoke tests of real fonts switch to the system's fonts for their scope.
#include <gtest/gtest.h>

#include <optional>

#include "winplat/testing.h"

namespace {

class TestFaceEnvironment final : public ::testing::Environment {
  public:
    void SetUp() override { source_.emplace(winplat::testing::FontSource::Test); }
    void TearDown() override { source_.reset(); }

  private:
    std::optional<winplat::testing::ScopedFontSource> source_;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new TestFaceEnvironment);

}  // namespace
