#include "rig/export/PfmWriter.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace rig {

std::string PfmBytes(int width, int height, const std::vector<float>& rgb) {
  if (width < 1 || height < 1 || rgb.size() != std::size_t(width) * height * 3) {
    throw std::logic_error("PfmBytes: the samples do not fill the image");
  }
  std::string out = "PF\n" + std::to_string(width) + " " + std::to_string(height) + "\n-1.0\n";
  const std::size_t header = out.size();
  out.resize(header + rgb.size() * 4);
  char* bytes = &out[header];
  for (float f : rgb) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    for (int b = 0; b < 4; ++b) *bytes++ = static_cast<char>((bits >> (8 * b)) & 0xffu);
  }
  return out;
}

}  // namespace rig
