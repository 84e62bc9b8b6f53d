#include "host/kestrine/Vel_List.h"

void Vel_List::AddGuid(const _GUID& guid) {
  if (!Contains(guid)) guids_.push_back(guid);
}

bool Vel_List::Contains(const _GUID& guid) const {
  for (const _GUID& g : guids_) {
    if (GuidsEqual(g, guid)) return true;
  }
  return false;
}
