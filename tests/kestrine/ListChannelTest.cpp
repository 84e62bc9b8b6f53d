// Index-driven list channels pick their element through a "Value" channel.
#include <gtest/gtest.h>

#include <limits>
#include <new>

#include "host/kestrine/Oru_FloatListChannel.h"
#include "host/kestrine/Oru_VectorListChannel.h"
#include "host/kestrine/StandardChannelTypes.h"

namespace {

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

}  // namespace
