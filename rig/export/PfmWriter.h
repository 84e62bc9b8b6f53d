// Portable float map bytes, as the format's warp files hold them: the header
// "PF\n<width> <height>\n-1.0\n" (three channels, the negative scale saying
// little-endian), then width x height x 3 little-endian 32-bit floats, the
// image's top row first (the format's order; a plain netpbm viewer, which
// expects the bottom row first, shows it upside down).
#pragma once

#include <string>
#include <vector>

namespace rig {

// `rgb` holds width x height x 3 floats, rows top first.
std::string PfmBytes(int width, int height, const std::vector<float>& rgb);

}  // namespace rig
