// Reads the tagged blocks that VelFileSaver writes, front to back.
//
// A reader asks GetInfoIfTag whether the block at the cursor bears a tag;
// when it does, GetTagDataSize tells the block's size and
// CopyTagDataToPointer copies its data and moves past it. A malformed or
// truncated block is never reported as present, so a reader never copies
// more than the file holds.
#pragma once

#include <string>
#include <vector>

#include "host/kestrine/KestrineExport.h"

class KESTRINE_API VelFileLoader {
 public:
  VelFileLoader() = default;
  explicit VelFileLoader(std::vector<unsigned char> bytes);

  // Replaces the contents with the file at `path`; false when it cannot be read.
  bool ReadFromFile(const std::string& path);

  // True when the block at the cursor is whole and bears `tag`; it then
  // becomes the pending block. A different or malformed block: false, and
  // nothing is pending.
  bool GetInfoIfTag(char* tag);
  bool GetInfoIfTag(const char* tag);
  // Data size of the pending block; 0 when none is pending.
  unsigned long GetTagDataSize() const;
  // Copies the pending block's data to `destination` (which must hold
  // GetTagDataSize() bytes) and moves past the block. False, copying
  // nothing, when no block is pending or `destination` is null.
  bool CopyTagDataToPointer(void* destination);

  // Copies the pending block's data into `data` (resized to fit) and moves
  // past the block. False when no block is pending.
  bool CopyTagData(std::vector<unsigned char>* data);

  // The tag of the block at the cursor, or "" when none is whole there.
  std::string PeekTag() const;
  // Moves past the block at the cursor; false at the end or on a malformed block.
  bool SkipBlock();
  bool AtEnd() const { return cursor_ >= bytes_.size(); }

 private:
  struct Header {
    std::string tag;
    std::size_t dataStart = 0;
    std::size_t dataSize = 0;
  };
  bool ReadHeader(Header* header) const;

  std::vector<unsigned char> bytes_;
  std::size_t cursor_ = 0;
  bool pending_ = false;
  Header pendingHeader_;
};
