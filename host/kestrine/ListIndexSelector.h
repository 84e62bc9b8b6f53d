// How an index-driven list channel picks its element: from the "Value"
// channel connected at its slot 0 ("Index"). The value is truncated toward
// zero and clamped to the list; no index channel, NaN, or a list asked
// again while it is reading its own index (a cycle in the graph) picks
// element 0.
#pragma once

#include <cstddef>
#include <typeinfo>

#include "host/kestrine/KestrineExport.h"

class Oru_FloatChannel;
class Vel_Channel;

namespace kestrine {

class KESTRINE_API ListIndexSelector {
 public:
  static constexpr int kIndexSlot = 0;

  // Declares the "Index" slot, accepting "Value" channels, on `list`.
  static void DeclareIndexSlot(Vel_Channel& list);
  // The element of a list of `size` (> 0) elements that the index picks.
  // Allocates nothing; a read costs one slot look-up and one read of the
  // index channel (the child's kind is checked once per child, see
  // AsValueChannel).
  std::size_t Pick(Vel_Channel& list, std::size_t size);

 private:
  // `child` as a "Value" channel, or null: what dynamic_cast gives, kept for
  // the last child seen together with its dynamic type. The answer depends
  // on nothing else, so it is reused while the slot holds an object at the
  // same address of the same type, and a channel replaced by another at the
  // same address is checked anew.
  Oru_FloatChannel* AsValueChannel(Vel_Channel* child);

  bool reading_ = false;
  const Vel_Channel* seenChild_ = nullptr;
  const std::type_info* seenType_ = nullptr;
  Oru_FloatChannel* seenIndex_ = nullptr;
};

}  // namespace kestrine
