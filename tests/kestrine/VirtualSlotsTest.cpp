// The host's virtual slot order, which a module built against the real SDK
// relies on.
#include <gtest/gtest.h>

#include "host/kestrine/Oru_FloatChannel.h"
#include "host/kestrine/Oru_VectorChannel.h"
#include "tests/support/VtableEntry.h"

#if defined(VISTREL_HAS_ITANIUM_VTABLES)

namespace {

TEST(VirtualSlots, ChannelOperationsSitInTheHostsSlotOrder) {
  const int slots[] = {
      HostSlot(&Vel_Channel::CallChannel),
      HostSlot(&Vel_Channel::OneTimeInitialize),
      HostSlot(&Vel_Channel::DoEvent),
      HostSlot(&Vel_Channel::GetChannelType),
      HostSlot(&Vel_Channel::SaveChannel),
      HostSlot(&Vel_Channel::LoadChannel),
      HostSlot(&Vel_Channel::SetChannelInterfaceType),
      HostSlot(&Vel_Channel::GetChannelFromChannel),
      HostSlot(&Vel_Channel::GetTimeStamp),
      HostSlot(&Vel_Channel::SetTimeStamp),
      HostSlot(&Vel_Channel::DoDependencyInit),
      HostSlot(&Vel_Channel::CheckIndexNrRemoval),
      HostSlot(&Vel_Channel::GetInternalChild),
      HostSlot(&Vel_Channel::CheckPublicChannelInstanceRemoval),
      HostSlot(&Vel_Channel::AddMetaData),
      HostSlot(&Vel_Channel::SetChannelGroup),
      HostSlot(&Vel_Channel::GetFeedbackClass),
      HostSlot(&Vel_Channel::SetContextRenderCountName),
      HostSlot(&Vel_Channel::GetContextRenderCountName),
      HostSlot(&Oru_FloatChannel::GetFloat),
      HostSlot(&Oru_FloatChannel::GetOldFloat),
      HostSlot(&Oru_FloatChannel::SetFloat),
      HostSlot(&Oru_FloatChannel::GetDefaultFloat),
      HostSlot(&Oru_FloatChannel::SetDefaultFloat),
      HostSlot(&Oru_FloatChannel::GetDefaultFloatSetting),
      HostSlot(&Oru_FloatChannel::SetDefaultFloatSetting),
  };
  for (int slot = 1; slot <= 26; ++slot) EXPECT_EQ(slots[slot - 1], slot) << slot;
}

TEST(VirtualSlots, TheVectorChannelReadsAt20AndWritesAt21) {
  EXPECT_EQ(HostSlot(&Oru_VectorChannel::GetVector), 20);
  EXPECT_EQ(HostSlot(&Oru_VectorChannel::SetVector), 21);
}

}  // namespace

#endif
