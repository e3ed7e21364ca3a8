// The environment store: defaults, persistence in the registry, case.
#include <gtest/gtest.h>

#include "platform/environment_store.h"
#include "platform/product.h"
#include "scratch_folder.h"

namespace tarn::platform {
namespace {

class EnvironmentStoreTest : public ::testing::Test {
 protected:
  testing::ScratchFolder folder_;
  RegistryStore registry_{folder_.path()};
  EnvironmentStore env_{registry_};
};

TEST_F(EnvironmentStoreTest, MaxArrayHasItsDefaultUntilSet) {
  EXPECT_EQ(env_.Get("MaxArray"), "100000");
  EXPECT_EQ(env_.Get("maxarray"), "100000");
  EXPECT_EQ(env_.Get("NoSuchValue"), std::nullopt);
}

TEST_F(EnvironmentStoreTest, SetValuesPersistUnderTheGeneralKey) {
  ASSERT_EQ(env_.Set("MAXARRAY", "250"), Status::kOk);
  RegistryStore again(folder_.path());
  EXPECT_EQ(EnvironmentStore(again).Get("MaxArray"), "250");
  RegistryKey key;
  ASSERT_EQ(again.OpenKey(RegistryRoot::kCurrentUser, "Software\\Tarn\\TarnCAD\\R1\\General",
                          KeyAccess::kRead, &key),
            Status::kOk);
  EXPECT_EQ(key.QueryString("maxarray").value, "250");
}

TEST_F(EnvironmentStoreTest, ResetBringsTheDefaultBack) {
  env_.Set("MaxArray", "5");
  ASSERT_EQ(env_.Reset("MaxArray"), Status::kOk);
  EXPECT_EQ(env_.Get("MaxArray"), "100000");
  EXPECT_EQ(env_.Reset("NeverSet"), Status::kOk);
}

TEST_F(EnvironmentStoreTest, NumberStoredAsDwordReadsAsDecimalText) {
  RegistryKey key;
  ASSERT_EQ(registry_.CreateKey(RegistryRoot::kCurrentUser, EnvironmentKeyPath(), &key), Status::kOk);
  key.SetDword("MaxArray", 42);
  EXPECT_EQ(env_.Get("MaxArray"), "42");
}

}  // namespace
}  // namespace tarn::platform
