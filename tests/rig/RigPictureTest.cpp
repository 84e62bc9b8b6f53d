// The picture as a renderer draws it: rendered with rsvg-convert and read
// back pixel by pixel where footprints, their overlap and the eye's look-at
// must show.
#include <png.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "tests/rig/RigProcess.h"

namespace {

struct Rgb {
  int r, g, b;
};

class Png {
 public:
  explicit Png(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return;
    image.format = PNG_FORMAT_RGB;
    pixels_.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, pixels_.data(), 0, nullptr)) {
      width_ = static_cast<int>(image.width);
      height_ = static_cast<int>(image.height);
    }
  }
  int Width() const { return width_; }
  Rgb At(double x, double y) const {
    const std::size_t i = 3 * (static_cast<std::size_t>(y) * width_ + static_cast<std::size_t>(x));
    return {pixels_[i], pixels_[i + 1], pixels_[i + 2]};
  }

 private:
  std::vector<png_byte> pixels_;
  int width_ = 0, height_ = 0;
};

struct Box {
  double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
};

// The text of attribute `name` in the element whose id is `id` ("" if none).
std::string Attribute(const std::string& svg, const std::string& id, const std::string& name) {
  const std::size_t element = svg.find("id=\"" + id + "\"");
  const std::size_t at = element == std::string::npos ? element : svg.find(" " + name + "=\"", element);
  if (at == std::string::npos) return "";
  const std::size_t from = at + name.size() + 3;
  return svg.substr(from, svg.find('"', from) - from);
}

// The bounding box of footprint `i`'s polygon in the SVG.
Box FootprintBox(const std::string& svg, int i) {
  std::istringstream points(Attribute(svg, "footprint-" + std::to_string(i), "points"));
  Box b;
  double x, y;
  char comma;
  while (points >> x >> comma >> y) {
    b.x0 = std::min(b.x0, x), b.x1 = std::max(b.x1, x), b.y0 = std::min(b.y0, y), b.y1 = std::max(b.y1, y);
  }
  return b;
}

bool IsWhite(Rgb c) { return c.r > 225 && c.g > 225 && c.b > 225; }
int Sum(Rgb c) { return c.r + c.g + c.b; }

TEST_F(RigProgram, RenderedPictureShowsFootprintsTheirOverlapAndTheEyesLookAt) {
  ASSERT_EQ(Rig(std::string("run '") + kExampleScene + "' --svg rig.svg").status, 0);
  ASSERT_EQ(std::system(("rsvg-convert '" + (dir / "rig.svg").string() + "' -o '" +
                         (dir / "rig.png").string() + "'").c_str()), 0);
  const std::string svg = ReadFile(dir / "rig.svg");
  const Png png((dir / "rig.png").string());
  ASSERT_GT(png.Width(), 0);

  // The example's four footprints, left to right, each overlapping the next.
  std::vector<Box> boxes;
  for (int i = 0; i < 4; ++i) boxes.push_back(FootprintBox(svg, i));
  for (int i = 0; i < 4; ++i) {
    const Box& b = boxes[i];
    ASSERT_LT(b.x0, b.x1) << i;
    // Inside, away from label and neighbours: the fill, not the background.
    const double x = b.x0 + 0.5 * (b.x1 - b.x0), y = b.y0 + 0.7 * (b.y1 - b.y0);
    const Rgb single = png.At(x, y);
    EXPECT_FALSE(IsWhite(single)) << "footprint " << i;
    if (i == 0) continue;
    // Where the previous footprint reaches into this one both fills show: darker.
    const Rgb overlap = png.At((boxes[i].x0 + boxes[i - 1].x1) / 2, y);
    EXPECT_LT(Sum(overlap) + 30, Sum(single)) << "overlap " << i - 1 << "|" << i;
    EXPECT_LT(Sum(overlap) + 30, Sum(png.At(boxes[i - 1].x0 + 0.5 * (boxes[i - 1].x1 - boxes[i - 1].x0), y)));
  }
  // Below every footprint, the background.
  EXPECT_TRUE(IsWhite(png.At(boxes[1].x0 + 0.5 * (boxes[1].x1 - boxes[1].x0), boxes[1].y1 + 12)));

  const std::string cx = Attribute(svg, "eye-lookat", "cx"), cy = Attribute(svg, "eye-lookat", "cy");
  ASSERT_FALSE(cx.empty() || cy.empty());
  const Rgb eye = png.At(std::stod(cx), std::stod(cy));
  EXPECT_LT(Sum(eye), 60) << "the eye's look-at marker is black";
  EXPECT_NE(svg.find("id=\"eye-view\""), std::string::npos);
  EXPECT_NE(svg.find("id=\"calibration-B\""), std::string::npos);
}

}  // namespace
