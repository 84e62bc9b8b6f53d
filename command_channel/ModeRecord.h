// One entry of a command channel's mode table: a name and a description,
// each a zero-terminated text of at most 127 characters in a 128-byte field,
// with zeros after the terminator.
#pragma once

#include <cstddef>

struct ModeRecord {
  static constexpr std::size_t kFieldSize = 128;
  char name[kFieldSize];
  char description[kFieldSize];
};

static_assert(sizeof(ModeRecord) == 256, "a mode record is 256 bytes");
