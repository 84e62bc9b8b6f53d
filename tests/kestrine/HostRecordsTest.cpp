// Defaults of the host records that modules fill and hand back.
#include <gtest/gtest.h>

#include <cstring>

#include "host/kestrine/ChannelKinds.h"
#include "host/kestrine/ChannelType.h"
#include "host/kestrine/ChildCreation.h"

namespace {

TEST(HostRecords, AFreshChannelTypeIsEmptyWithTheHostsOwnFieldsSet) {
  ChannelType type;
  const auto* bytes = reinterpret_cast<const unsigned char*>(&type);
  for (int i = 0; i < 112; ++i) ASSERT_EQ(bytes[i], 0) << i;
  EXPECT_EQ(type.sdkVersion, kKestrineSdkVersion);
  EXPECT_EQ(type.registryIndex, -1);
  EXPECT_EQ(type.hostFlags, kKestrineDefaultTypeFlags);
  EXPECT_EQ(type.typeCode, 0);
  EXPECT_EQ(type.typeOption, 0);
}

TEST(HostRecords, AFreshChildCreationHasTheDeclarationDefaults) {
  ChildCreation creation;
  EXPECT_TRUE(GuidsEqual(creation.type.typeGuid, kestrine::kAnyTypeGuid));
  EXPECT_TRUE(GuidsEqual(creation.type.secondGuid, kestrine::kAnyTypeGuid));
  EXPECT_EQ(creation.type.sdkVersion, kKestrineSdkVersion);
  EXPECT_EQ(creation.slotIndex, -1);
  EXPECT_EQ(creation.hasExistingLink, 0);
  EXPECT_EQ(creation.linkFlag, 0);
  EXPECT_EQ(creation.childName[0], '\0');
  const _GUID zero{};
  EXPECT_EQ(std::memcmp(&creation.extraGuid, &zero, sizeof zero), 0);
  EXPECT_EQ(creation.existingLink, nullptr);
  EXPECT_EQ(creation.creationOption, 1);
}

}  // namespace
