// A mode takes a child as a value or vector channel only when it is one: its
// own type, a type derived from it (an index-driven list), never another kind.
#include "command/ChildChannels.h"

#include <gtest/gtest.h>

#include "host/kestrine/Oru_FloatListChannel.h"
#include "host/kestrine/Oru_VectorListChannel.h"

namespace {

TEST(ChildChannels, AChildIsTakenAsAKindExactlyWhenItIsOne) {
  Oru_FloatChannel value;
  Oru_FloatListChannel valueList;
  Oru_VectorChannel vector;
  Oru_VectorListChannel vectorList;
  Vel_Channel bare;
  const struct {
    Vel_Channel* child;
    bool isValue, isVector;
  } cases[] = {{&value, true, false},       {&valueList, true, false}, {&vector, false, true},
               {&vectorList, false, true}, {&bare, false, false},     {nullptr, false, false}};
  for (const auto& c : cases) {
    Oru_FloatChannel* asValue = ChildAs<Oru_FloatChannel>(c.child);
    Oru_VectorChannel* asVector = ChildAs<Oru_VectorChannel>(c.child);
    EXPECT_EQ(asValue, dynamic_cast<Oru_FloatChannel*>(c.child));
    EXPECT_EQ(asVector, dynamic_cast<Oru_VectorChannel*>(c.child));
    EXPECT_EQ(asValue != nullptr, c.isValue);
    EXPECT_EQ(asVector != nullptr, c.isVector);
  }
}

}  // namespace
