// How an index-driven list channel picks its element: from the "Value"
// channel connected at its slot 0 ("Index"). The value is truncated toward
// zero and clamped to the list; no index channel, NaN, or a list asked
// again while it is reading its own index (a cycle in the graph) picks
// element 0.
#pragma once

#include <cstddef>

#include "host/kestrine/KestrineExport.h"

class Vel_Channel;

namespace kestrine {

class KESTRINE_API ListIndexSelector {
 public:
  static constexpr int kIndexSlot = 0;

  // Declares the "Index" slot, accepting "Value" channels, on `list`.
  static void DeclareIndexSlot(Vel_Channel& list);
  // The element of a list of `size` (> 0) elements that the index picks.
  std::size_t Pick(Vel_Channel& list, std::size_t size);

 private:
  bool reading_ = false;
};

}  // namespace kestrine
