// Declaring child slots, connecting channels to them and handing links back.
#include <gtest/gtest.h>

#include <cstring>

#include "host/kestrine/ChannelKinds.h"
#include "host/kestrine/Oru_FloatChannel.h"
#include "host/kestrine/Oru_FloatListChannel.h"
#include "host/kestrine/Oru_VectorChannel.h"
#include "host/kestrine/Oru_VectorListChannel.h"
#include "host/kestrine/StandardChannelTypes.h"
#include "host/kestrine/Vel_ChannelGroup.h"

namespace {

void Declare(Vel_Channel& channel, int index, const _GUID& kind, ChildInfo* handOver = nullptr) {
  ChildCreation creation;
  creation.type.typeGuid = kind;
  creation.slotIndex = index;
  creation.hasExistingLink = handOver != nullptr;
  creation.existingLink = handOver;
  channel.SetChildCreateType(creation, index);
}

TEST(ChildSlots, ConnectingChecksTheSlotAndTheChildsKind) {
  Oru_FloatChannel parent, value;
  Oru_VectorChannel vector;
  Oru_FloatListChannel valueList;
  Oru_VectorListChannel vectorList;
  Declare(parent, 0, kestrine::kValueGuid);
  Declare(parent, 1, kestrine::kValueVectorGuid);
  Declare(parent, 2, kestrine::kAnyTypeGuid);
  struct Case {
    int slot;
    Vel_Channel* child;
    bool accepted;
  };
  const Case cases[] = {
      {0, &value, true},      {0, &vector, false},   {0, &valueList, true},
      {0, &vectorList, false}, {1, &vector, true},   {1, &vectorList, true},
      {1, &value, false},     {2, &value, true},     {2, &vector, true},
      {3, &value, false},  // not declared
      {0, nullptr, false},
  };
  for (const Case& c : cases) {
    parent.DisconnectChild(c.slot);
    EXPECT_EQ(parent.ConnectChild(c.slot, c.child), c.accepted) << c.slot;
    EXPECT_EQ(parent.GetChild(c.slot), c.accepted ? c.child : nullptr) << c.slot;
  }
}

TEST(ChildSlots, ClearingTheSlotsDetachesLinksThatADeclarationCanHandBack) {
  Oru_FloatChannel parent, value;
  Declare(parent, 0, kestrine::kValueGuid);
  ASSERT_TRUE(parent.ConnectChild(0, &value));
  ChildInfo* link = parent.GetChildInfo(0);
  ASSERT_NE(link, nullptr);

  parent.SetChildCreationCount(0);
  EXPECT_EQ(parent.GetChildInfo(0), nullptr);
  EXPECT_EQ(parent.GetDeclaredSlot(0), nullptr);
  EXPECT_FALSE(parent.ConnectChild(0, &value));  // no slot any more

  Declare(parent, 0, kestrine::kValueGuid);  // without the link: empty
  EXPECT_EQ(parent.GetChild(0), nullptr);
  Declare(parent, 0, kestrine::kValueVectorGuid, link);  // a kind that refuses it
  EXPECT_EQ(parent.GetChild(0), nullptr);
  Declare(parent, 5, kestrine::kValueGuid, link);  // any accepting slot takes it back
  EXPECT_EQ(parent.GetChildInfo(5), link);
  EXPECT_EQ(parent.GetChild(5), &value);
}

TEST(ChildSlots, LinksOfOtherChannelsOrStalePointersAreNeverAttached) {
  Oru_FloatChannel parent, other, value;
  Declare(other, 0, kestrine::kValueGuid);
  ASSERT_TRUE(other.ConnectChild(0, &value));
  Declare(parent, 0, kestrine::kValueGuid, other.GetChildInfo(0));
  EXPECT_EQ(parent.GetChildInfo(0), nullptr);

  alignas(ChildInfo) unsigned char garbage[sizeof(ChildInfo)];
  std::memset(garbage, 0xAB, sizeof garbage);
  Declare(parent, 1, kestrine::kValueGuid, reinterpret_cast<ChildInfo*>(garbage));
  EXPECT_EQ(parent.GetChildInfo(1), nullptr);
}

TEST(ChildSlots, DeclarationsOutsideTheSlotRangeAreRecordedButIgnored) {
  Oru_FloatChannel parent;
  parent.ClearSlotEventLog();
  Declare(parent, -1, kestrine::kValueGuid);
  Declare(parent, Vel_Channel::kSlotLimit, kestrine::kValueGuid);
  EXPECT_TRUE(parent.GetDeclaredSlotIndices().empty());
  ASSERT_EQ(parent.GetSlotEventLog().size(), 2u);
  EXPECT_EQ(parent.GetSlotEventLog()[1].argument, Vel_Channel::kSlotLimit);
}

TEST(ChildSlots, RemovingAChannelFromItsGroupDetachesEveryLinkToIt) {
  Vel_ChannelGroup group;
  kestrine::RegisterStandardChannelTypes(group);
  Vel_Channel* parent = group.CreateChannel(kestrine::kValueGuid);
  Vel_Channel* value = group.CreateChannel(kestrine::kValueGuid);
  Declare(*parent, 0, kestrine::kValueGuid);
  ASSERT_TRUE(parent->ConnectChild(0, value));
  ChildInfo* link = parent->GetChildInfo(0);
  group.RemoveChannel(value);
  EXPECT_EQ(group.GetChannelCount(), 1u);
  EXPECT_EQ(parent->GetChild(0), nullptr);
  Declare(*parent, 0, kestrine::kValueGuid, link);  // the old link leads nowhere now
  EXPECT_EQ(parent->GetChild(0), nullptr);
}

}  // namespace
