// The host's virtual slot order, which a module built against the real SDK
// relies on.
#include <gtest/gtest.h>

#include "host/kestrine/Oru_FloatChannel.h"
#include "host/kestrine/Oru_VectorChannel.h"
#include "tests/support/VtableEntry.h"

#if defined(VISTREL_HAS_ITANIUM_VTABLES)
namespace {

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

}  // namespace
#endif
