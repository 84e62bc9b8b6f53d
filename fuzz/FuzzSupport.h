// What the fuzz targets share: a failed property aborts (libFuzzer keeps the
// input), the host's and the command's channel types, per-channel snapshots of
// saved state, and floats from the input with the awkward ones likely.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "command/VistrelCommand.h"
#include "host/kestrine/StandardChannelTypes.h"
#include "host/kestrine/VelFileSaver.h"
#include "host/kestrine/Vel_Channel.h"
#include "host/kestrine/Vel_ChannelGroup.h"
#include "plugin/TypeDescriptor.h"

namespace fuzz {

inline void Require(bool holds, const char* property) {
  if (!holds) {
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
  }
}

// The host's standard channel types and "VistrelCommand", as a host that
// has loaded both libraries registers them.
inline void RegisterTypes(Vel_ChannelGroup& group) {
  kestrine::RegisterStandardChannelTypes(group);
  ChannelType type;
  std::strcpy(type.typeName, kVistrelCommandTypeName);
  type.typeGuid = type.secondGuid = kVistrelCommandTypeGuid;
  group.RegisterType(type, [] { return new VistrelCommand; });
}

// Each channel's own saved blocks, channel by channel: a channel whose bytes
// are unchanged was not written.
inline std::vector<std::vector<unsigned char>> Snapshot(Vel_ChannelGroup& group) {
  std::vector<std::vector<unsigned char>> saved;
  for (std::size_t i = 0; i < group.GetChannelCount(); ++i) {
    VelFileSaver saver;
    group.GetChannel(i)->SaveChannel(saver);
    saved.push_back(saver.Bytes());
  }
  return saved;
}

inline std::vector<unsigned char> SavedProject(Vel_ChannelGroup& group) {
  VelFileSaver saver;
  group.SaveProject(saver);
  return saver.Bytes();
}

inline float AnyFloat(FuzzedDataProvider& data) {
  constexpr float kSpecial[] = {0.0f, -0.0f, 1.0f, -1.0f, 0.5f, 2.9f, 1024.0f, 1025.0f, 1e8f,
                                std::numeric_limits<float>::max(),
                                std::numeric_limits<float>::infinity(),
                                -std::numeric_limits<float>::infinity(),
                                std::numeric_limits<float>::quiet_NaN()};
  switch (data.ConsumeIntegralInRange(0, 3)) {
    case 0: {
      const auto bits = data.ConsumeIntegral<std::uint32_t>();
      float f;
      std::memcpy(&f, &bits, sizeof f);
      return f;
    }
    case 1:
      return static_cast<float>(data.ConsumeIntegralInRange(-8, 8));
    case 2:
      return data.ConsumeFloatingPointInRange(-100.0f, 100.0f);
    default:
      return data.PickValueInArray(kSpecial);
  }
}

}  // namespace fuzz
