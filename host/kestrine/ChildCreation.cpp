#include "host/kestrine/ChildCreation.h"

#include <cstring>

#include "host/kestrine/ChannelKinds.h"

ChildCreation::ChildCreation() {
  type.typeGuid = kestrine::kAnyTypeGuid;
  type.secondGuid = kestrine::kAnyTypeGuid;
  slotIndex = -1;
  hasExistingLink = 0;
  linkFlag = 0;
  std::memset(childName, 0, sizeof childName);
  alignment[0] = alignment[1] = 0;
  std::memset(&extraGuid, 0, sizeof extraGuid);
  existingLink = nullptr;
  creationOption = 1;
}
