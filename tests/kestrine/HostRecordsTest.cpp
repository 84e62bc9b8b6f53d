// Defaults of the host records that modules fill and hand back.
#include <gtest/gtest.h>

#include <cstring>

#include "host/kestrine/ChannelKinds.h"
#include "host/kestrine/ChildCreation.h"

namespace {

TEST(HostRecords, FreshRecordsHoldTheHostsDefaults) {
  const ChannelType type;
  const unsigned char zeros[112] = {};
  EXPECT_EQ(std::memcmp(&type, zeros, sizeof zeros), 0);  // name and both GUIDs
  EXPECT_EQ(type.sdkVersion, kKestrineSdkVersion);
  EXPECT_EQ(type.hostFlags, kKestrineDefaultTypeFlags);
  const ChildCreation creation;
  EXPECT_TRUE(GuidsEqual(creation.type.typeGuid, kestrine::kAnyTypeGuid));
  EXPECT_TRUE(GuidsEqual(creation.type.secondGuid, kestrine::kAnyTypeGuid));
  EXPECT_EQ(creation.slotIndex, -1);
  EXPECT_EQ(creation.hasExistingLink, 0);
  EXPECT_EQ(creation.linkFlag, 0);
  EXPECT_STREQ(creation.childName, "");
  EXPECT_TRUE(GuidsEqual(creation.extraGuid, _GUID{}));
  EXPECT_EQ(creation.existingLink, nullptr);
  EXPECT_EQ(creation.creationOption, 1);
}

}  // namespace
