// Little-endian encoding of the values that the host's own channels keep in
// their tagged blocks. Internal to the SDK; the reader never reads past its
// bytes and reports a short block instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace kestrine {

class BlockWriter {
 public:
  void PutU32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<unsigned char>(v >> (8 * i)));
  }
  void PutI32(std::int32_t v) { PutU32(static_cast<std::uint32_t>(v)); }
  void PutFloat(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    PutU32(bits);
  }
  void PutBytes(const void* data, std::size_t n) {
    if (n == 0) return;
    const std::size_t at = bytes_.size();
    bytes_.resize(at + n);
    std::memcpy(bytes_.data() + at, data, n);
  }
  void PutString(const std::string& s) {
    PutU32(static_cast<std::uint32_t>(s.size()));
    PutBytes(s.data(), s.size());
  }
  const std::vector<unsigned char>& Bytes() const { return bytes_; }

 private:
  std::vector<unsigned char> bytes_;
};

class BlockReader {
 public:
  explicit BlockReader(const std::vector<unsigned char>& bytes) : bytes_(bytes) {}
  bool GetU32(std::uint32_t* v) {
    if (bytes_.size() - pos_ < 4) return false;
    std::uint32_t r = 0;
    for (int i = 0; i < 4; ++i) r |= static_cast<std::uint32_t>(bytes_[pos_ + i]) << (8 * i);
    pos_ += 4;
    *v = r;
    return true;
  }
  bool GetI32(std::int32_t* v) {
    std::uint32_t u;
    if (!GetU32(&u)) return false;
    *v = static_cast<std::int32_t>(u);
    return true;
  }
  bool GetFloat(float* f) {
    std::uint32_t bits;
    if (!GetU32(&bits)) return false;
    std::memcpy(f, &bits, sizeof bits);
    return true;
  }
  bool GetBytes(void* out, std::size_t n) {
    if (bytes_.size() - pos_ < n) return false;
    if (n > 0) std::memcpy(out, bytes_.data() + pos_, n);
    pos_ += n;
    return true;
  }
  bool GetString(std::string* s) {
    std::uint32_t n;
    if (!GetU32(&n) || bytes_.size() - pos_ < n) return false;
    s->assign(reinterpret_cast<const char*>(bytes_.data() + pos_), n);
    pos_ += n;
    return true;
  }
  // How many bytes are left; lets a reader bound a count before reserving.
  std::size_t Remaining() const { return bytes_.size() - pos_; }

 private:
  const std::vector<unsigned char>& bytes_;
  std::size_t pos_ = 0;
};

}  // namespace kestrine
