// One link from a channel's child slot to another channel. Links belong to
// the channel that holds the slot and live as long as it does, so a pointer
// to one stays valid after the link is detached from its slot (a later
// declaration may hand it back to re-attach it).
#pragma once

#include <cstdint>

class Vel_Channel;

struct ChildInfo {
  Vel_Channel* owner = nullptr;  // the channel whose slot this link fills
  Vel_Channel* child = nullptr;  // the connected channel; null until resolved after a load
  std::uint32_t childId = 0;     // the child's number in a saved project
  int slotIndex = -1;            // the slot it is attached to, -1 when detached
};
