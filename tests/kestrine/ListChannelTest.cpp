// Index-driven list channels pick their element through a "Value" channel.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/kestrine/Oru_FloatChannel.h"
#include "host/kestrine/Oru_FloatListChannel.h"
#include "host/kestrine/Oru_VectorListChannel.h"

namespace {

TEST(ListChannels, TheIndexChannelPicksTheElementTruncatedAndClamped) {
  Oru_FloatListChannel list;
  Oru_FloatChannel index;
  list.SetElements({10.0f, 11.0f, 12.0f});
  ASSERT_TRUE(list.ConnectChild(0, &index));
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    float index;
    float element;
  } cases[] = {{0.0f, 10.0f}, {1.0f, 11.0f}, {1.99f, 11.0f}, {2.0f, 12.0f}, {7.0f, 12.0f},
               {-3.0f, 10.0f}, {nan, 10.0f}, {1e30f, 12.0f}};
  for (const auto& c : cases) {
    index.SetFloat(c.index);
    EXPECT_EQ(list.GetFloat(), c.element) << c.index;
  }
  index.SetFloat(1.0f);
  list.SetFloat(99.0f);
  EXPECT_EQ(list.GetElements()[1], 99.0f);
}

TEST(ListChannels, WithoutIndexOrElementsTheyReadTheFirstOrNothing) {
  Oru_VectorListChannel list;
  EXPECT_EQ(list.GetVector().x, 0.0f);
  list.SetVector(D3DXVECTOR3(1.0f, 2.0f, 3.0f));  // ignored: nothing to write to
  EXPECT_TRUE(list.GetElements().empty());
  list.SetElements({D3DXVECTOR3(4.0f, 5.0f, 6.0f), D3DXVECTOR3(7.0f, 8.0f, 9.0f)});
  EXPECT_EQ(list.GetVector().y, 5.0f);
}

TEST(ListChannels, AListIndexedByItselfStopsAtItsFirstElement) {
  Oru_FloatListChannel list;
  list.SetElements({2.0f, 3.0f, 4.0f});
  ASSERT_TRUE(list.ConnectChild(0, &list));
  EXPECT_EQ(list.GetFloat(), 4.0f);  // its own value, read as index 0, picks element 2
}

}  // namespace
