#include "host/kestrine/VelFileLoader.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

#include "host/kestrine/VelFileSaver.h"

VelFileLoader::VelFileLoader(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}

bool VelFileLoader::ReadFromFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  cursor_ = 0;
  pending_ = false;
  return true;
}

bool VelFileLoader::ReadHeader(Header* header) const {
  std::size_t pos = cursor_;
  std::string tag;
  while (true) {
    if (pos >= bytes_.size()) return false;
    const unsigned char c = bytes_[pos++];
    if (c == 0) break;
    if (tag.size() >= VelFileSaver::kMaxTagLength) return false;
    tag.push_back(static_cast<char>(c));
  }
  if (bytes_.size() - pos < 4) return false;
  std::uint32_t size = 0;
  for (int i = 0; i < 4; ++i) size |= static_cast<std::uint32_t>(bytes_[pos + i]) << (8 * i);
  pos += 4;
  if (bytes_.size() - pos < size) return false;
  header->tag = std::move(tag);
  header->dataStart = pos;
  header->dataSize = size;
  return true;
}

bool VelFileLoader::GetInfoIfTag(char* tag) { return GetInfoIfTag(static_cast<const char*>(tag)); }

bool VelFileLoader::GetInfoIfTag(const char* tag) {
  pending_ = false;
  if (tag == nullptr) return false;
  Header header;
  if (!ReadHeader(&header) || header.tag != tag) return false;
  pendingHeader_ = std::move(header);
  pending_ = true;
  return true;
}

unsigned long VelFileLoader::GetTagDataSize() const {
  return pending_ ? static_cast<unsigned long>(pendingHeader_.dataSize) : 0;
}

bool VelFileLoader::CopyTagDataToPointer(void* destination) {
  if (!pending_ || destination == nullptr) return false;
  if (pendingHeader_.dataSize > 0) {
    std::memcpy(destination, bytes_.data() + pendingHeader_.dataStart, pendingHeader_.dataSize);
  }
  cursor_ = pendingHeader_.dataStart + pendingHeader_.dataSize;
  pending_ = false;
  return true;
}

bool VelFileLoader::CopyTagData(std::vector<unsigned char>* data) {
  if (!pending_ || data == nullptr) return false;
  data->resize(pendingHeader_.dataSize);
  unsigned char empty = 0;
  return CopyTagDataToPointer(data->empty() ? &empty : data->data());
}

std::string VelFileLoader::PeekTag() const {
  Header header;
  return ReadHeader(&header) ? header.tag : std::string();
}

bool VelFileLoader::SkipBlock() {
  pending_ = false;
  Header header;
  if (!ReadHeader(&header)) return false;
  cursor_ = header.dataStart + header.dataSize;
  return true;
}
