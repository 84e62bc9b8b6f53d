// PNG bytes through libpng: grey or RGB, 8 or 16 bits per sample, rows top
// first, no gamma chunk (the samples are stored as given; the alpha maps are
// linear and say so in the format's XML).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rig {

// `samples` holds width x height x channels values (channels 1: grey, 3:
// RGB), each below 2^bitDepth (bitDepth 8 or 16). Throws std::logic_error
// on a wrong shape and RigError (kExitWriteFailed) when libpng fails.
std::string PngBytes(int width, int height, int channels, int bitDepth,
                     const std::vector<std::uint16_t>& samples);

// A weight in [0, 1] as an integer sample of `bitDepth` bits, rounded to
// nearest: round(w * (2^bitDepth - 1)); NaN and values below 0 give 0.
std::uint16_t QuantisedWeight(float weight, int bitDepth);

}  // namespace rig
