// The vtable entry that a virtual member function occupies, read from the
// Itanium C++ ABI's representation of a pointer to it (1 + the entry's byte
// offset). Entries 0 and 1 are the two destructors the ABI makes of slot 0,
// so a slot k >= 1 of the host's numbering sits at entry k + 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__GNUC__) && !defined(__arm__)  // GCC, mingw-w64 included
#define VISTREL_HAS_ITANIUM_VTABLES 1

template <typename MemberFunction>
std::ptrdiff_t VtableEntry(MemberFunction function) {
  struct {
    std::uintptr_t pointer;
    std::ptrdiff_t adjustment;
  } raw;
  static_assert(sizeof raw == sizeof function, "Itanium member function pointer");
  std::memcpy(&raw, &function, sizeof raw);
  return static_cast<std::ptrdiff_t>((raw.pointer - 1) / sizeof(void*));
}

// The host's slot number of a virtual member function (1 and up).
template <typename MemberFunction>
int HostSlot(MemberFunction function) {
  return static_cast<int>(VtableEntry(function)) - 1;
}
#endif
