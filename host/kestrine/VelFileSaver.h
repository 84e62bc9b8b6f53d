// Writes a project as a sequence of tagged blocks:
//   tag   - the tag's characters and a zero byte (at most 63 characters kept)
//   size  - 32-bit little-endian count of data bytes
//   data  - that many bytes
// A writer calls SaveTag, SaveBlockSize and SaveDataToFile in that order for
// each block. The bytes collect in memory; WriteToFile stores them.
#pragma once

#include <string>
#include <vector>

#include "host/kestrine/KestrineExport.h"

class KESTRINE_API VelFileSaver {
 public:
  static constexpr unsigned long kMaxTagLength = 63;

  // Starts a block. A null tag is written as the empty tag; a longer tag is cut.
  bool SaveTag(const char* tag);
  // The block's data size; sizes above 2^32 - 1 are written as 2^32 - 1.
  bool SaveBlockSize(unsigned long size);
  // Appends `size` bytes of data; a null pointer writes nothing and fails.
  bool SaveDataToFile(const void* data, unsigned long size);

  // The three calls above for one whole block.
  bool SaveBlock(const char* tag, const std::vector<unsigned char>& data);

  const std::vector<unsigned char>& Bytes() const { return bytes_; }
  // Stores the bytes at `path`, replacing the file. False when it cannot.
  bool WriteToFile(const std::string& path) const;

 private:
  std::vector<unsigned char> bytes_;
};
