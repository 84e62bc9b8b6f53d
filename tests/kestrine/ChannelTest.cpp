// The host's channels: fresh records, the tagged-block encoding of saved
// projects, child slots and their links, index-driven lists, and the virtual
// slot order a module built against the real SDK relies on.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "host/kestrine/ChannelKinds.h"
#include "host/kestrine/ChildCreation.h"
#include "host/kestrine/Oru_FloatListChannel.h"
#include "host/kestrine/Oru_VectorListChannel.h"
#include "host/kestrine/StandardChannelTypes.h"
#include "host/kestrine/Vel_ChannelGroup.h"
#include "host/kestrine/VelFileLoader.h"
#include "host/kestrine/VelFileSaver.h"
#include "tests/support/VtableEntry.h"

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
  EXPECT_EQ(creation.hasExistingLink + creation.linkFlag, 0);
  EXPECT_STREQ(creation.childName, "");
  EXPECT_TRUE(GuidsEqual(creation.extraGuid, _GUID{}));
  EXPECT_EQ(creation.existingLink, nullptr);
  EXPECT_EQ(creation.creationOption, 1);
}

TEST(FileBlocks, ABlockIsTagSizeAndDataAndIsReadOnlyAtTheCursorAndOnlyOnce) {
  VelFileSaver saver;
  saver.SaveTag("AB");
  saver.SaveBlockSize(3);
  saver.SaveDataToFile("xyz", 3);
  saver.SaveBlock("TWO", {});
  EXPECT_EQ(saver.Bytes(), (std::vector<unsigned char>{'A', 'B', 0, 3, 0, 0, 0, 'x', 'y', 'z',
                                                       'T', 'W', 'O', 0, 0, 0, 0, 0}));
  VelFileLoader loader(saver.Bytes());
  EXPECT_FALSE(loader.GetInfoIfTag("TWO"));
  EXPECT_FALSE(loader.GetInfoIfTag("A"));
  ASSERT_TRUE(loader.GetInfoIfTag("AB"));
  EXPECT_EQ(loader.GetTagDataSize(), 3u);
  char data[3] = {};
  ASSERT_TRUE(loader.CopyTagDataToPointer(data));
  EXPECT_EQ(std::string(data, 3), "xyz");
  EXPECT_FALSE(loader.CopyTagDataToPointer(data));  // nothing pending any more
  EXPECT_TRUE(loader.GetInfoIfTag("TWO"));
}

void Declare(Vel_Channel& channel, int index, const _GUID& kind, ChildInfo* handOver = nullptr) {
  ChildCreation creation;
  creation.type.typeGuid = kind;
  creation.hasExistingLink = handOver != nullptr;
  creation.existingLink = handOver;
  channel.SetChildCreateType(creation, index);
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

TEST(ListChannels, TheIndexChannelPicksTheElementTruncatedAndClampedElseTheFirst) {
  Oru_FloatListChannel list;
  Oru_FloatChannel index;
  list.SetElements({10.0f, 11.0f, 12.0f});
  EXPECT_EQ(list.GetFloat(), 10.0f);  // no index channel
  ASSERT_TRUE(list.ConnectChild(0, &index));
  const struct { float index, element; } cases[] = {
      {0.0f, 10.0f}, {1.99f, 11.0f}, {2.0f, 12.0f}, {3.0f, 12.0f},
      {-3.0f, 10.0f}, {std::numeric_limits<float>::quiet_NaN(), 10.0f}, {1e30f, 12.0f}};
  for (const auto& c : cases) {
    index.SetFloat(c.index);
    EXPECT_EQ(list.GetFloat(), c.element) << c.index;
  }
  index.SetFloat(1.0f);
  list.SetFloat(99.0f);  // writes the picked element
  EXPECT_EQ(list.GetElements(), (std::vector<float>{10.0f, 99.0f, 12.0f}));
  ASSERT_TRUE(list.ConnectChild(0, &list));  // indexed by itself: a cycle
  EXPECT_EQ(list.GetFloat(), 12.0f);  // its own value, read as index 0, picks element 2
  Oru_VectorListChannel empty;
  empty.SetVector(D3DXVECTOR3(1.0f, 2.0f, 3.0f));  // nothing to write to
  EXPECT_EQ(empty.GetVector().x, 0.0f);
}

// The list remembers what kind its index child is; a child replaced by one of
// another kind at the same address must be looked at anew.
TEST(ListChannels, AnIndexChildReplacedAtTheSameAddressIsCheckedAnew) {
  Oru_FloatListChannel list;
  list.SetElements({10.0f, 11.0f, 12.0f});
  alignas(Oru_FloatChannel) unsigned char place[sizeof(Oru_FloatChannel)];
  auto* index = new (place) Oru_FloatChannel;
  index->SetFloat(2.0f);
  ASSERT_TRUE(list.ConnectChild(0, index));
  EXPECT_EQ(list.GetFloat(), 12.0f);
  list.DisconnectChild(0);
  index->~Oru_FloatChannel();
  // A channel that presents itself as a "Value" but reads no float.
  auto* impostor = new (place) Vel_Channel;
  impostor->SetChannelInterfaceType(&kestrine::ValueChannelType());
  ASSERT_TRUE(list.ConnectChild(0, impostor));
  EXPECT_EQ(list.GetFloat(), 10.0f);  // not a float channel: the first element
  impostor->~Vel_Channel();
}

// Lists of {0, 1}, each the index of the one before, the last indexed by a
// value of 1: the head reads 1 only when every index down to that value is
// read. A chain longer than the bound reads 0.
TEST(ListChannels, AChainOfIndexListsIsFollowedToItsBoundedDepth) {
  const std::size_t depth = kestrine::ListIndexSelector::kMaxChainDepth;
  for (const auto& [lists, head] :
       {std::pair<std::size_t, float>{depth, 1.0f}, {depth + 1, 0.0f}}) {
    std::vector<Oru_FloatListChannel> chain(lists);
    Oru_FloatChannel last;
    last.SetFloat(1.0f);
    for (std::size_t i = 0; i < lists; ++i) {
      chain[i].SetElements({0.0f, 1.0f});
      ASSERT_TRUE(chain[i].ConnectChild(0, i + 1 < lists ? &chain[i + 1] : &last));
    }
    EXPECT_EQ(chain[0].GetFloat(), head) << lists;
  }
}

#if defined(VISTREL_HAS_ITANIUM_VTABLES)
using V = Vel_Channel;       // slots 1 to 19
using F = Oru_FloatChannel;  // slots 20 to 26

TEST(VirtualSlots, ChannelOperationsSitInTheHostsSlotOrder) {
  const int slots[] = {  // slots 1 to 26, in order
      HostSlot(&V::CallChannel), HostSlot(&V::OneTimeInitialize), HostSlot(&V::DoEvent),
      HostSlot(&V::GetChannelType), HostSlot(&V::SaveChannel), HostSlot(&V::LoadChannel),
      HostSlot(&V::SetChannelInterfaceType), HostSlot(&V::GetChannelFromChannel),
      HostSlot(&V::GetTimeStamp), HostSlot(&V::SetTimeStamp), HostSlot(&V::DoDependencyInit),
      HostSlot(&V::CheckIndexNrRemoval), HostSlot(&V::GetInternalChild),
      HostSlot(&V::CheckPublicChannelInstanceRemoval), HostSlot(&V::AddMetaData),
      HostSlot(&V::SetChannelGroup), HostSlot(&V::GetFeedbackClass),
      HostSlot(&V::SetContextRenderCountName), HostSlot(&V::GetContextRenderCountName),
      HostSlot(&F::GetFloat), HostSlot(&F::GetOldFloat), HostSlot(&F::SetFloat),
      HostSlot(&F::GetDefaultFloat), HostSlot(&F::SetDefaultFloat),
      HostSlot(&F::GetDefaultFloatSetting), HostSlot(&F::SetDefaultFloatSetting)};
  for (int slot = 1; slot <= 26; ++slot) EXPECT_EQ(slots[slot - 1], slot) << slot;
  EXPECT_EQ(HostSlot(&Oru_VectorChannel::GetVector), 20);  // the vector channel's read
  EXPECT_EQ(HostSlot(&Oru_VectorChannel::SetVector), 21);  // and write
}
#endif

}  // namespace
