#include "rig/export/PngWriter.h"

#include <png.h>

#include <cmath>
#include <csetjmp>
#include <stdexcept>

#include "rig/RigError.h"

namespace rig {
namespace {

// Compression: alpha maps are smooth, the preview is small; a middle level
// keeps the export fast.
constexpr int kCompressionLevel = 3;

void Append(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void Flush(png_structp) {}

// Runs libpng on prepared rows. Kept free of objects with destructors, as
// libpng reports errors by jumping back to the setjmp here.
bool Encode(std::string* out, int width, int height, int colourType, int bitDepth,
            png_bytep* rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, Append, Flush);
  png_set_compression_level(png, kCompressionLevel);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), bitDepth, colourType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::string PngBytes(int width, int height, int channels, int bitDepth,
                     const std::vector<std::uint16_t>& samples) {
  if (width < 1 || height < 1 || (channels != 1 && channels != 3) ||
      (bitDepth != 8 && bitDepth != 16) ||
      samples.size() != std::size_t(width) * height * channels) {
    throw std::logic_error("PngBytes: the samples do not fill the image");
  }
  const std::size_t bytesPerSample = bitDepth / 8;
  const std::size_t rowBytes = std::size_t(width) * channels * bytesPerSample;
  std::vector<png_byte> pixels(rowBytes * height);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    // PNG stores 16-bit samples most significant byte first.
    if (bitDepth == 16) {
      pixels[2 * i] = static_cast<png_byte>(samples[i] >> 8);
      pixels[2 * i + 1] = static_cast<png_byte>(samples[i] & 0xffu);
    } else {
      pixels[i] = static_cast<png_byte>(samples[i]);
    }
  }
  std::vector<png_bytep> rows(height);
  for (int y = 0; y < height; ++y) rows[y] = pixels.data() + rowBytes * y;
  std::string out;
  if (!Encode(&out, width, height, channels == 1 ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB,
              bitDepth, rows.data())) {
    throw RigError(kExitWriteFailed, "the PNG library could not encode an image");
  }
  return out;
}

std::uint16_t QuantisedWeight(float weight, int bitDepth) {
  const double top = bitDepth >= 16 ? 65535.0 : 255.0;
  if (!(weight > 0.0f)) return 0;
  if (weight >= 1.0f) return static_cast<std::uint16_t>(top);
  return static_cast<std::uint16_t>(std::floor(double(weight) * top + 0.5));
}

}  // namespace rig
