// The 16-byte GUID in the Windows layout (a 32-bit word, two 16-bit words,
// eight bytes; words little-endian in memory on the platforms we build for).
// Channel types and child kinds are identified by these.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#include <guiddef.h>
#else
struct _GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];
};
typedef _GUID GUID;
#endif

static_assert(sizeof(_GUID) == 16, "a GUID is 16 bytes");

inline bool GuidsEqual(const _GUID& a, const _GUID& b) {
  if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
  for (int i = 0; i < 8; ++i) {
    if (a.Data4[i] != b.Data4[i]) return false;
  }
  return true;
}
