#include "host/kestrine/ListIndexSelector.h"

#include <cstdint>
#include <cstring>

#include "host/kestrine/ChannelKinds.h"
#include "host/kestrine/Oru_FloatChannel.h"

namespace kestrine {

void ListIndexSelector::DeclareIndexSlot(Vel_Channel& list) {
  ChildCreation creation;
  creation.type.typeGuid = kValueGuid;
  std::strncpy(creation.type.typeName, kValueTypeName, sizeof creation.type.typeName - 1);
  creation.slotIndex = kIndexSlot;
  creation.linkFlag = 1;
  std::strncpy(creation.childName, "Index", sizeof creation.childName - 1);
  list.SetChildCreateType(creation, kIndexSlot);
}

Oru_FloatChannel* ListIndexSelector::AsValueChannel(Vel_Channel* child) {
  if (child == nullptr) return nullptr;
  const std::type_info* type = &typeid(*child);
  if (child != seenChild_ || type != seenType_) {
    seenIndex_ = dynamic_cast<Oru_FloatChannel*>(child);
    seenChild_ = child;
    seenType_ = type;
  }
  return seenIndex_;
}

std::size_t ListIndexSelector::Pick(Vel_Channel& list, std::size_t size) {
  Oru_FloatChannel* index = AsValueChannel(list.GetChild(kIndexSlot));
  if (index == nullptr || reading_) return 0;
  reading_ = true;
  const float value = index->GetFloat();
  reading_ = false;
  const std::size_t last = size - 1;
  if (!(value >= 1.0f)) return 0;  // also NaN
  // No list is that long (and +infinity lands here): clamped without a
  // conversion that could overflow.
  if (!(value < 0x1p62f)) return last;
  // Exact truncation: every float in [1, 2^62) converts to a 64-bit integer.
  const auto whole = static_cast<std::size_t>(static_cast<std::int64_t>(value));
  return whole >= last ? last : whole;
}

}  // namespace kestrine
