// Shared by the export tests: rigs built in code, and readers for what the
// export writes (zip members, PFM, PNG), written here from the formats'
// own definitions rather than taken from the exporter.
#pragma once

#include <png.h>
#include <zip.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "rig/scene/Scene.h"

namespace export_test {

// A projector aiming at (angle, height) from `distance` straight in front,
// with the given fields of view and resolution.
inline rig::Projector MakeProjector(const std::string& name, float angle, float height, float distance,
                                    float fovX, float fovY, int width, int heightPx) {
  rig::Projector p;
  p.name = name;
  p.resolution = std::array<int, 2>{width, heightPx};
  p.parameters = {angle, height, 0.0f, 0.0f, distance, fovX, fovY, 0.0f, 0.0f};
  return p;
}

inline rig::Scene MakeScene(float radius, std::array<float, 3> eye) {
  rig::Scene s;
  s.radius = radius;
  s.camera.position = eye;
  s.camera.fovX = 90.0f;
  s.camera.fovY = 60.0f;
  return s;
}

// Two projectors standing on the screen's axis (their distance is the
// radius), aiming level at -15 and +15 degrees with 40 x 30 degree lenses:
// seen from the axis, image column u lies at screen angle
// aim + atan((2u - 1) tan 20), so their footprints overlap from -5 to +5.
inline rig::Scene TwoOnTheAxis(int width, int height) {
  rig::Scene s = MakeScene(4.0f, {0.0f, 1.5f, 0.0f});
  s.projectors.push_back(MakeProjector("A", -15.0f, 1.5f, 4.0f, 40.0f, 30.0f, width, height));
  s.projectors.push_back(MakeProjector("B", 15.0f, 1.5f, 4.0f, 40.0f, 30.0f, width, height));
  return s;
}

// Three projectors over 100 degrees of a screen of radius 5, one rolled and
// one with a lens shift, the extent inside their footprints.
inline rig::Scene ThreeInARow(int width, int height) {
  rig::Scene s = MakeScene(5.0f, {0.3f, 1.4f, -0.4f});
  s.extent.angles = std::array<float, 2>{-50.0f, 50.0f};
  s.extent.heights = std::array<float, 2>{0.9f, 2.0f};
  s.projectors.push_back(MakeProjector("west", -32.0f, 1.5f, 3.5f, 52.0f, 32.0f, width, height));
  s.projectors.push_back(MakeProjector("middle", 0.0f, 1.5f, 3.5f, 52.0f, 32.0f, width, height));
  s.projectors.push_back(MakeProjector("east", 32.0f, 1.5f, 3.5f, 52.0f, 32.0f, width, height));
  s.projectors[0].parameters.ProjRoll = 2.0f;
  s.projectors[2].parameters.ProjKeystone = 0.15f;
  s.projectors[2].parameters.ProjectionAngY = 6.0f;
  return s;
}

// Eight projectors round the whole screen, one of them aiming at 180
// degrees so that its image crosses the +-180 seam.
inline rig::Scene RingOfEight(int width, int height) {
  rig::Scene s = MakeScene(4.0f, {0.0f, 1.3f, 0.0f});
  s.extent.heights = std::array<float, 2>{0.8f, 1.8f};
  for (int i = 0; i < 8; ++i) {
    s.projectors.push_back(MakeProjector("ring" + std::to_string(i), -135.0f + 45.0f * i, 1.3f, 3.0f, 70.0f,
                                         42.0f, width, height));
  }
  return s;
}

// The members of a zip file, by name.
inline std::map<std::string, std::string> Unzip(const std::string& bytes) {
  std::map<std::string, std::string> members;
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error) : nullptr;
  if (!archive) {
    if (source) zip_source_free(source);
    return members;
  }
  for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
    zip_stat_t st;
    zip_stat_index(archive, zip_uint64_t(i), 0, &st);
    std::string data(std::size_t(st.size), '\0');
    zip_file_t* f = zip_fopen_index(archive, zip_uint64_t(i), 0);
    if (f && zip_fread(f, data.data(), st.size) == zip_int64_t(st.size)) members[st.name] = data;
    if (f) zip_fclose(f);
  }
  zip_close(archive);
  return members;
}

struct FloatImage {
  int width = 0, height = 0;
  std::vector<float> rgb;  // rows top first, as stored
  const float* At(int x, int y) const { return &rgb[(std::size_t(y) * width + x) * 3]; }
};

// A PFM file: "PF", width, height, a negative scale (little-endian), then
// the floats; empty on any deviation.
inline FloatImage ReadPfm(const std::string& bytes) {
  FloatImage image;
  int w = 0, h = 0, used = 0;
  char scale[16] = {0};
  if (std::sscanf(bytes.c_str(), "PF\n%d %d\n%15s\n%n", &w, &h, scale, &used) != 3 || scale[0] != '-') return image;
  if (w < 1 || h < 1 || bytes.size() != std::size_t(used) + std::size_t(w) * h * 12) return image;
  image.width = w;
  image.height = h;
  image.rgb.resize(std::size_t(w) * h * 3);
  for (std::size_t i = 0; i < image.rgb.size(); ++i) {
    std::uint32_t bits = 0;
    for (int b = 0; b < 4; ++b) bits |= std::uint32_t(std::uint8_t(bytes[used + 4 * i + b])) << (8 * b);
    std::memcpy(&image.rgb[i], &bits, 4);
  }
  return image;
}

// A grey PNG as values 0..1 (8 or 16 bits, read with libpng's low-level
// reader, no gamma conversion), rows top first.
struct GreyImage {
  int width = 0, height = 0, bitDepth = 0;
  std::vector<double> values;
  double At(int x, int y) const { return values[std::size_t(y) * width + x]; }
  // Bilinear at image point (u, v) in 0..1 of the whole image.
  double Sample(double u, double v) const {
    const double fx = std::fmin(std::fmax(u * width - 0.5, 0.0), width - 1.0);
    const double fy = std::fmin(std::fmax(v * height - 0.5, 0.0), height - 1.0);
    const int x0 = int(fx), y0 = int(fy);
    const int x1 = std::min(x0 + 1, width - 1), y1 = std::min(y0 + 1, height - 1);
    const double tx = fx - x0, ty = fy - y0;
    return (At(x0, y0) * (1 - tx) + At(x1, y0) * tx) * (1 - ty) + (At(x0, y1) * (1 - tx) + At(x1, y1) * tx) * ty;
  }
};

struct PngSource {
  const std::string* bytes;
  std::size_t at;
};

inline void ReadFromString(png_structp png, png_bytep out, png_size_t length) {
  PngSource* s = static_cast<PngSource*>(png_get_io_ptr(png));
  if (s->at + length > s->bytes->size()) png_error(png, "truncated");
  std::memcpy(out, s->bytes->data() + s->at, length);
  s->at += length;
}

inline GreyImage ReadGreyPng(const std::string& bytes) {
  GreyImage image;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  PngSource source{&bytes, 0};
  std::vector<png_byte> pixels;
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return GreyImage{};
  }
  png_set_read_fn(png, &source, ReadFromString);
  png_read_info(png, info);
  const int w = int(png_get_image_width(png, info)), h = int(png_get_image_height(png, info));
  const int depth = png_get_bit_depth(png, info);
  if (png_get_color_type(png, info) != PNG_COLOR_TYPE_GRAY) png_error(png, "not grey");
  const std::size_t rowBytes = png_get_rowbytes(png, info);
  pixels.resize(rowBytes * h);
  rows.resize(h);
  for (int y = 0; y < h; ++y) rows[y] = pixels.data() + rowBytes * y;
  png_read_image(png, rows.data());
  png_destroy_read_struct(&png, &info, nullptr);
  image.width = w;
  image.height = h;
  image.bitDepth = depth;
  const double top = depth == 16 ? 65535.0 : 255.0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const png_byte* p = rows[y] + (depth == 16 ? 2 * x : x);
      image.values.push_back((depth == 16 ? (p[0] << 8 | p[1]) : p[0]) / top);
    }
  }
  return image;
}

}  // namespace export_test
