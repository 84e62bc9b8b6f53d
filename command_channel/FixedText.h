// Copying texts into the fixed-size, zero-terminated character fields that
// command channels and host records use. A field of N bytes holds at most
// N - 1 characters; nothing is ever written past it.
#pragma once

#include <cstddef>
#include <cstring>

namespace command_channel {

// Copies at most size - 1 characters of `text` and fills the rest of the
// field with zeros, so a field reused for a shorter text carries nothing of
// the longer one. `text` may point into the field itself (a prefix set from
// GetPrefix(), say): the characters are moved before the rest is cleared.
inline void CopyToField(char* field, std::size_t size, const char* text) {
  if (size == 0) return;
  const std::size_t length = text == nullptr ? 0 : ::strnlen(text, size - 1);
  if (length > 0) std::memmove(field, text, length);
  std::memset(field + length, 0, size - length);
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
