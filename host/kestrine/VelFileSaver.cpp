#include "host/kestrine/VelFileSaver.h"

#include <cstdint>
#include <cstring>
#include <fstream>

bool VelFileSaver::SaveTag(const char* tag) {
  const char* text = tag ? tag : "";
  const std::size_t length = ::strnlen(text, kMaxTagLength);
  bytes_.insert(bytes_.end(), text, text + length);
  bytes_.push_back(0);
  return tag != nullptr;
}

bool VelFileSaver::SaveBlockSize(unsigned long size) {
  const std::uint32_t n = size > 0xFFFFFFFFul ? 0xFFFFFFFFu : static_cast<std::uint32_t>(size);
  for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<unsigned char>(n >> (8 * i)));
  return true;
}

bool VelFileSaver::SaveDataToFile(const void* data, unsigned long size) {
  if (data == nullptr) return size == 0;
  const auto* p = static_cast<const unsigned char*>(data);
  bytes_.insert(bytes_.end(), p, p + size);
  return true;
}

bool VelFileSaver::SaveBlock(const char* tag, const std::vector<unsigned char>& data) {
  const bool tagged = SaveTag(tag);
  SaveBlockSize(data.size());
  SaveDataToFile(data.data(), data.size());
  return tagged;
}

bool VelFileSaver::WriteToFile(const std::string& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(reinterpret_cast<const char*>(bytes_.data()),
            static_cast<std::streamsize>(bytes_.size()));
  return static_cast<bool>(out);
}
