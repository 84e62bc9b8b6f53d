// Declaring child slots, connecting channels to them and handing links back.
#include <gtest/gtest.h>

#include <vector>

#include "host/kestrine/ChannelKinds.h"
#include "host/kestrine/Oru_FloatListChannel.h"
#include "host/kestrine/Oru_VectorListChannel.h"
#include "host/kestrine/StandardChannelTypes.h"
#include "host/kestrine/Vel_ChannelGroup.h"

namespace {

void Declare(Vel_Channel& channel, int index, const _GUID& kind, ChildInfo* handOver = nullptr) {
  ChildCreation creation;
  creation.type.typeGuid = kind;
  creation.hasExistingLink = handOver != nullptr;
  creation.existingLink = handOver;
  channel.SetChildCreateType(creation, index);
}

TEST(ChildSlots, ConnectingChecksTheSlotAndTheChildsKind) {
  Oru_FloatChannel parent, value;
  Oru_VectorChannel vector;
  Oru_FloatListChannel values;  // presents itself as a value
  Oru_VectorListChannel vectors;
  Declare(parent, 0, kestrine::kValueGuid);
  Declare(parent, 1, kestrine::kValueVectorGuid);
  Declare(parent, 2, kestrine::kAnyTypeGuid);
  const struct { int slot; Vel_Channel* child; bool accepted; } cases[] = {
      {0, &value, true},  {0, &vector, false}, {0, &values, true}, {0, &vectors, false},
      {1, &vector, true}, {1, &value, false},  {1, &vectors, true}, {2, &vector, true},
      {3, &value, false}, {0, nullptr, false}};  // slot 3 is not declared
  for (const auto& c : cases) {
    parent.DisconnectChild(c.slot);
    EXPECT_EQ(parent.ConnectChild(c.slot, c.child), c.accepted) << c.slot;
    EXPECT_EQ(parent.GetChild(c.slot), c.accepted ? c.child : nullptr) << c.slot;
  }
}

TEST(ChildSlots, ADetachedLinkIsTakenBackOnlyByAnAcceptingSlotOfItsOwnChannel) {
  Vel_ChannelGroup group;
  kestrine::RegisterStandardChannelTypes(group);
  Vel_Channel* parent = group.CreateChannel(kestrine::kValueGuid);
  Vel_Channel* other = group.CreateChannel(kestrine::kValueGuid);
  Vel_Channel* value = group.CreateChannel(kestrine::kValueGuid);
  Declare(*parent, 0, kestrine::kValueGuid);
  ASSERT_TRUE(parent->ConnectChild(0, value));
  ChildInfo* link = parent->GetChildInfo(0);
  parent->SetChildCreationCount(0);  // detaches every link and forgets the slots
  EXPECT_EQ(parent->GetChildInfo(0), nullptr);
  std::vector<unsigned char> garbage(sizeof(ChildInfo), 0xAB);  // never to be followed
  Declare(*parent, 0, kestrine::kValueGuid, reinterpret_cast<ChildInfo*>(garbage.data()));
  Declare(*other, 0, kestrine::kValueGuid, link);          // not the other's link
  Declare(*parent, 1, kestrine::kValueVectorGuid, link);  // a kind that refuses it
  EXPECT_EQ(parent->GetChild(0), nullptr);
  EXPECT_EQ(other->GetChild(0), nullptr);
  EXPECT_EQ(parent->GetChild(1), nullptr);
  Declare(*parent, 5, kestrine::kValueGuid, link);  // any accepting slot takes it back
  EXPECT_EQ(parent->GetChild(5), value);
  group.RemoveChannel(value);  // detaches every link to it, for good
  EXPECT_EQ(parent->GetChildInfo(5), nullptr);
  Declare(*parent, 5, kestrine::kValueGuid, link);
  EXPECT_EQ(parent->GetChild(5), nullptr);
}

}  // namespace
