// The system registry, the service calls and the dictionary's ownership.
#include <gtest/gtest.h>

#include <tarnsdk/tcrxapi.h>

#include "runtime/system_registry.h"

namespace {

TEST(SystemRegistry, HoldsTheHostObjectsUnderTheirNames) {
  TcRxDictionary* reg = tcrxSysRegistry();
  ASSERT_NE(reg, nullptr);
  EXPECT_STREQ(reg->at(TCRX_SERVICE_DICTIONARY)->className(), "TcRxDictionary");
  EXPECT_STREQ(reg->at(TCRX_DYNAMIC_LINKER)->className(), "TcRxDynamicLinker");
  EXPECT_STREQ(reg->at(TCRX_COMMAND_STACK)->className(), "TcEdCommandStack");
}

TEST(SystemRegistry, HostObjectsCannotBeRemovedOrReplaced) {
  TcRxDictionary* reg = tcrxSysRegistry();
  TcRxObject* linker = reg->at(TCRX_DYNAMIC_LINKER);
  EXPECT_EQ(reg->remove(TCRX_DYNAMIC_LINKER), nullptr);
  auto* intruder = new TcRxService;
  EXPECT_EQ(reg->atPut(TCRX_DYNAMIC_LINKER, intruder), intruder);  // refused: still the caller's
  delete intruder;
  EXPECT_EQ(reg->at(TCRX_DYNAMIC_LINKER), linker);
}

TEST(Services, RegisterOnceAndRemoveGivesTheObjectBack) {
  EXPECT_FALSE(tcrxServiceIsRegistered("RegistryTestService"));
  TcRxService* s = tcrxRegisterService("RegistryTestService");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(tcrxRegisterService("RegistryTestService"), s);  // the existing one
  EXPECT_TRUE(tcrxServiceIsRegistered("RegistryTestService"));
  EXPECT_FALSE(tcrxServiceIsRegistered("registrytestservice"));  // names are exact
  auto* services = static_cast<TcRxDictionary*>(tcrxSysRegistry()->at(TCRX_SERVICE_DICTIONARY));
  TcRxObject* removed = services->remove("RegistryTestService");
  EXPECT_EQ(removed, s);
  delete removed;
  EXPECT_FALSE(tcrxServiceIsRegistered("RegistryTestService"));
  EXPECT_EQ(tcrxRegisterService(""), nullptr);
  EXPECT_EQ(tcrxRegisterService(nullptr), nullptr);
  EXPECT_FALSE(tcrxServiceIsRegistered(nullptr));
}

TEST(RxDictionary, AtPutHandsBackTheFormerObject) {
  tarn::runtime::RxDictionary d;
  auto* a = new TcRxService;
  auto* b = new TcRxService;
  EXPECT_EQ(d.atPut("K", a), nullptr);
  EXPECT_EQ(d.atPut("K", a), nullptr);  // the same object again is no exchange
  EXPECT_EQ(d.atPut("K", b), a);
  delete a;
  EXPECT_EQ(d.numEntries(), 1u);
  EXPECT_EQ(d.atPut(nullptr, b), nullptr);
  EXPECT_EQ(d.remove("absent"), nullptr);
  EXPECT_TRUE(d.has("K"));
}

}  // namespace
