// The host's list of channel-type dependencies: which channel types (by
// GUID) a channel needs to be present. Filled through
// Vel_Channel::AddChannelGuidDepend.
#pragma once

#include <cstddef>
#include <vector>

#include "host/kestrine/Guid.h"
#include "host/kestrine/KestrineExport.h"

class KESTRINE_API Vel_List {
 public:
  // Appends `guid` unless it is listed already.
  void AddGuid(const _GUID& guid);
  std::size_t Size() const { return guids_.size(); }
  const _GUID& At(std::size_t i) const { return guids_.at(i); }
  bool Contains(const _GUID& guid) const;

 private:
  std::vector<_GUID> guids_;
};
