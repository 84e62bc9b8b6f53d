#include "host/kestrine/ListIndexSelector.h"

#include <cmath>
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

std::size_t ListIndexSelector::Pick(Vel_Channel& list, std::size_t size) {
  auto* index = dynamic_cast<Oru_FloatChannel*>(list.GetChild(kIndexSlot));
  if (index == nullptr || reading_) return 0;
  reading_ = true;
  const float value = index->GetFloat();
  reading_ = false;
  if (!(value >= 1.0f)) return 0;  // also NaN
  const double whole = std::trunc(static_cast<double>(value));
  return whole >= static_cast<double>(size - 1) ? size - 1 : static_cast<std::size_t>(whole);
}

}  // namespace kestrine
