// The host's 132-byte description of a channel type, shared with modules by
// pointer and by value, so its layout is fixed (checked below).
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/kestrine/Guid.h"
#include "host/kestrine/KestrineExport.h"

struct KESTRINE_API ChannelType {
  char typeName[80];   // zero-terminated
  _GUID typeGuid;      // identifies the type
  _GUID secondGuid;    // the kind of channel it presents to child slots
  // Host-owned: the SDK version that built the record and the host's
  // registry index of the type (-1 until registered). Modules leave them.
  std::uint32_t sdkVersion;
  std::int32_t registryIndex;
  std::int32_t typeCode;
  std::uint32_t hostFlags;  // host-owned
  std::int32_t typeOption;

  // An empty record: zero name and GUIDs, code and option 0, the host-owned
  // fields set to the SDK's defaults.
  ChannelType();
};

// The SDK version and flags that ChannelType() writes into its host-owned fields.
inline constexpr std::uint32_t kKestrineSdkVersion = 0x00030005u;
inline constexpr std::uint32_t kKestrineDefaultTypeFlags = 0x0000A5A5u;

static_assert(sizeof(ChannelType) == 132, "ChannelType is 132 bytes");
static_assert(offsetof(ChannelType, typeName) == 0, "typeName at 0");
static_assert(offsetof(ChannelType, typeGuid) == 80, "typeGuid at 80");
static_assert(offsetof(ChannelType, secondGuid) == 96, "secondGuid at 96");
static_assert(offsetof(ChannelType, sdkVersion) == 112, "host-owned bytes at 112");
static_assert(offsetof(ChannelType, typeCode) == 120, "typeCode at 120");
static_assert(offsetof(ChannelType, hostFlags) == 124, "host-owned bytes at 124");
static_assert(offsetof(ChannelType, typeOption) == 128, "typeOption at 128");
