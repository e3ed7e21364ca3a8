// Every entity geometry test measures texts with the pinned DejaVu Sans.
#include <gtest/gtest.h>
#include <unistd.h>

#include "font/font_resolver.h"

namespace {

class PinnedFont : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_EQ(::access(tarn::font::kPinnedFontFile, R_OK), 0) << "fonts-dejavu-core is not installed";
    tarn::font::setPinnedFontOnly(true);
  }
};

[[maybe_unused]] auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new PinnedFont);

}  // namespace
