// Copying texts into the fixed-size, zero-terminated character fields that
// command channels and host records use. A field of N bytes holds at most
// N - 1 characters; nothing is ever written past it.
#pragma once

#include <cstddef>
#include <cstring>

namespace command_channel {

// Fills the whole field with zeros, then copies at most size - 1
// characters of `text`; the rest of the field stays zero, so a field
// reused for a shorter text carries nothing of the longer one.
inline void CopyToField(char* field, std::size_t size, const char* text) {
  std::memset(field, 0, size);
  if (size == 0 || text == nullptr) return;
  std::memcpy(field, text, ::strnlen(text, size - 1));
}

// `first` immediately followed by `second` (as "%s%s" formats them), cut to
// size - 1 characters; the rest of the field is zero.
inline void JoinToField(char* field, std::size_t size, const char* first, const char* second) {
  CopyToField(field, size, first);
  if (size == 0 || second == nullptr) return;
  const std::size_t used = ::strnlen(field, size - 1);
  std::memcpy(field + used, second, ::strnlen(second, size - 1 - used));
}

// Whether `text` holds more than `limit` characters; reads at most limit + 1.
inline bool LongerThan(const char* text, std::size_t limit) {
  return ::strnlen(text, limit + 1) > limit;
}

}  // namespace command_channel
