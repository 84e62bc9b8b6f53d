// The pictures as a renderer draws them: rendered with rsvg-convert and
// read back pixel by pixel where footprints, their overlap, the eye's
// look-at, the refined fit and the plan's projectors must show, at the
// scale and in the places hand geometry gives.
#include <algorithm>
#include <cmath>
#include <regex>
#include <sstream>
#include <vector>

#include "tests/rig/RigProcess.h"

namespace {

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
int Distance(Rgb a, Rgb b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

// Renders `svg` (a file in the test's folder) to a PNG beside it.
Png Render(const std::filesystem::path& svg) {
  const std::filesystem::path png = svg.string() + ".png";
  EXPECT_EQ(std::system(("rsvg-convert '" + svg.string() + "' -o '" + png.string() + "'").c_str()), 0);
  return Png(png.string());
}

double Number(const std::string& text) { return text.empty() ? NAN : std::stod(text); }

constexpr double kPi = 3.14159265358979323846;

TEST_F(RigProgram, RenderedPictureShowsFootprintsTheirOverlapsAndTheEyesLookAt) {
  ASSERT_EQ(Rig(std::string("run '") + kExampleScene + "' --svg rig.svg").status, 0);
  const std::string svg = ReadFile(dir / "rig.svg");
  const Png png = Render(dir / "rig.svg");
  ASSERT_GT(png.Width(), 0);

  // The example's four footprints, left to right, each overlapping the next.
  std::vector<Box> boxes;
  for (int i = 0; i < 4; ++i) boxes.push_back(FootprintBox(svg, i));
  for (int i = 0; i < 4; ++i) {
    const Box& b = boxes[i];
    ASSERT_LT(b.x0, b.x1) << i;
    // Inside, away from labels and neighbours: the fill, not the background.
    const double x = b.x0 + 0.5 * (b.x1 - b.x0), y = b.y0 + 0.7 * (b.y1 - b.y0);
    const Rgb single = png.At(x, y);
    EXPECT_FALSE(IsWhite(single)) << "footprint " << i;
    if (i == 0) continue;
    // Where the previous footprint reaches into this one the overlap shows
    // in a colour of its own.
    const Rgb overlap = png.At((boxes[i].x0 + boxes[i - 1].x1) / 2, y);
    EXPECT_GT(Distance(overlap, single), 30) << "overlap " << i - 1 << "|" << i;
    EXPECT_GT(Distance(overlap, png.At(boxes[i - 1].x0 + 0.5 * (boxes[i - 1].x1 - boxes[i - 1].x0), y)), 30);
  }
  EXPECT_TRUE(IsWhite(png.At(boxes[1].x0 + 0.5 * (boxes[1].x1 - boxes[1].x0), boxes[1].y1 + 12)));

  const Rgb eye = png.At(Number(Attribute(svg, "eye-lookat", "cx")), Number(Attribute(svg, "eye-lookat", "cy")));
  EXPECT_LT(Sum(eye), 60) << "the eye's look-at marker is black";
  EXPECT_NE(svg.find("id=\"eye-view\""), std::string::npos);
  EXPECT_NE(svg.find("id=\"calibration-B\""), std::string::npos);
}

// A projector on the screen's axis lights a footprint whose sides are the
// vertical lines at +-half its horizontal field of view, and whose height at
// screen angle a is 2 r tan(half vertical field) cos(a).
TEST_F(RigProgram, RenderedFootprintHasTheSizeHandGeometryGivesAtThePicturesScale) {
  WriteFile(dir / "axis.json", R"({
    "screen": {"radius": 5},
    "camera": {"position": [0, 0.5, -1], "aim": {"angle": 0, "height": 0}, "field_of_view": [90, 60]},
    "projectors": [{"name": "axis", "aim": {"angle": 0, "height": 0}, "distance": 5, "field_of_view": [40, 30]}]
  })");
  ASSERT_EQ(Rig("run axis.json --svg axis.svg").status, 0);
  const std::string svg = ReadFile(dir / "axis.svg");
  std::smatch m;
  ASSERT_TRUE(std::regex_search(svg, m, std::regex("([0-9.]+) px per unit")));
  const double scale = std::stod(m[1]);
  const Png png = Render(dir / "axis.svg");
  const Box b = FootprintBox(svg, 0);
  auto blue = [](Rgb c) { return c.b > c.r + 25; };  // the fill of the first colour, not lines or labels
  // The outline's 1.5-px stroke and a pixel of smoothing at each end.
  const double tolerance = 3.5;

  const int row = static_cast<int>(b.y0 + 0.62 * (b.y1 - b.y0));
  int left = -1, right = -1;
  for (int x = 0; x < png.Width(); ++x) {
    if (blue(png.At(x, row))) right = x, left = left < 0 ? x : left;
  }
  EXPECT_NEAR(right - left + 1, 40 * kPi / 180 * 5 * scale, tolerance) << "across: 40 degrees of arc";

  const double x = left + (right - left) * (12.0 / 40.0);  // screen angle -8 degrees
  int top = -1, bottom = -1;
  for (int y = 0; y < png.Height(); ++y) {
    if (blue(png.At(x, y))) bottom = y, top = top < 0 ? y : top;
  }
  EXPECT_NEAR(bottom - top + 1, 2 * 5 * std::tan(15 * kPi / 180) * std::cos(8 * kPi / 180) * scale, tolerance) << "up";
}

TEST_F(RigProgram, RigAcrossPlusMinus180StaysInOnePieceWithItsEye) {
  WriteFile(dir / "back.json", R"({
    "screen": {"radius": 5},
    "camera": {"position": [0, 1, 0], "aim": {"angle": 180, "height": 1}, "field_of_view": [90, 60]},
    "projectors": [
      {"name": "west", "aim": {"angle": 165, "height": 1}, "distance": 3, "field_of_view": [50, 30]},
      {"name": "east", "aim": {"angle": -165, "height": 1}, "distance": 3, "field_of_view": [50, 30]}]
  })");
  ASSERT_EQ(Rig("run back.json --svg back.svg").status, 0);
  const std::string svg = ReadFile(dir / "back.svg");
  const Png png = Render(dir / "back.svg");
  const Box west = FootprintBox(svg, 0), east = FootprintBox(svg, 1);
  // 165 is left of -165 (= 195): growing screen angle runs to the right.
  ASSERT_LT(west.x0, east.x0);
  const double y = west.y0 + 0.7 * (west.y1 - west.y0);
  for (double x = (west.x0 + west.x1) / 2; x < (east.x0 + east.x1) / 2; x += 1) {
    ASSERT_FALSE(IsWhite(png.At(x, y))) << "a blank seam at x " << x;
  }
  const double eye = Number(Attribute(svg, "eye-lookat", "cx"));
  EXPECT_GT(eye, (west.x0 + west.x1) / 2);
  EXPECT_LT(eye, (east.x0 + east.x1) / 2);
}

TEST_F(RigProgram, RingOfEightWrapsIntoBandsThatShowTheWholeCircle) {
  std::string projectors;
  for (int i = 0; i < 8; ++i) {
    projectors += std::string(i ? "," : "") + R"({"name": "P)" + std::to_string(i) + R"(", "aim": {"angle": )" +
                  std::to_string(-157.5 + 45 * i) + R"(, "height": 1}, "distance": 3, "field_of_view": [75, 36]})";
  }
  WriteFile(dir / "ring.json", R"({"screen": {"radius": 5},
    "camera": {"position": [0, 1, 0], "aim": {"angle": 0, "height": 1}, "field_of_view": [90, 60]},
    "projectors": [)" + projectors + "]}");
  ASSERT_EQ(Rig("run ring.json --svg ring.svg --plan plan.svg").status, 0);
  const std::string svg = ReadFile(dir / "ring.svg");
  const Png png = Render(dir / "ring.svg");
  EXPECT_GE(png.Height(), png.Width() / 3) << "not a thin strip";
  // Each band's plot (its clip rectangle), across at the footprints' middle
  // height: lit from end to end, the cut included.
  const std::regex clip("<clipPath id=\"band-[0-9]+\"><rect x=\"([0-9.]+)\" y=\"([0-9.]+)\" width=\"([0-9.]+)\" height=\"([0-9.]+)\"");
  int bands = 0;
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), clip); it != std::sregex_iterator(); ++it, ++bands) {
    const double x0 = std::stod((*it)[1]), y0 = std::stod((*it)[2]), w = std::stod((*it)[3]), h = std::stod((*it)[4]);
    const Box b = FootprintBox(svg, 0);
    const double y = y0 + h * 0.5 + (b.y1 - b.y0) * 0.2;  // below the labels and the aim crosses
    for (double x = x0 + 2; x < x0 + w - 2; x += 1) ASSERT_FALSE(IsWhite(png.At(x, y))) << "band " << bands << " x " << x;
  }
  EXPECT_GE(bands, 2);
  EXPECT_GT(Render(dir / "plan.svg").Width(), 0);
}

TEST_F(RigProgram, RefinedFitIsDrawnOnlyWithRefine) {
  auto magenta = [](const Png& png) {
    int count = 0;
    for (int y = 0; y < png.Height(); ++y) {
      for (int x = 0; x < png.Width(); ++x) {
        const Rgb c = png.At(x, y);
        count += c.r > 150 && c.b > 150 && c.g < 90;
      }
    }
    return count;
  };
  ASSERT_EQ(Rig("--svg plain.svg").status, 0);
  ASSERT_EQ(Rig("--svg refined.svg --refine").status, 0);
  EXPECT_EQ(magenta(Render(dir / "plain.svg")), 0);
  EXPECT_GT(magenta(Render(dir / "refined.svg")), 200) << "outline, points and legend";
}

// Seen from above, screen angle 0 up and growing clockwise: the example's
// projector B aims at -16 degrees, 10 degrees down from 2.6 away, so it
// stands 4 - 2.6 cos 10 from the axis at screen angle -16 (left of up).
TEST_F(RigProgram, PlanPutsEachProjectorWhereHandGeometryDoes) {
  ASSERT_EQ(Rig(std::string("run '") + kExampleScene + "' --plan plan.svg").status, 0);
  const std::string svg = ReadFile(dir / "plan.svg");
  const double cx = Number(Attribute(svg, "plan-screen", "cx")), cy = Number(Attribute(svg, "plan-screen", "cy"));
  const double perUnit = Number(Attribute(svg, "plan-screen", "r")) / 4;
  const double fromAxis = (4 - 2.6 * std::cos(10 * kPi / 180)) * perUnit;
  const double x = cx + fromAxis * std::sin(-16 * kPi / 180), y = cy - fromAxis * std::cos(-16 * kPi / 180);
  EXPECT_NEAR(Number(Attribute(svg, "plan-projector-1", "cx")), x, 0.6);
  EXPECT_NEAR(Number(Attribute(svg, "plan-projector-1", "cy")), y, 0.6);
  const Png png = Render(dir / "plan.svg");
  EXPECT_FALSE(IsWhite(png.At(x, y)));
  EXPECT_LT(Sum(png.At(Number(Attribute(svg, "plan-eye", "cx")), Number(Attribute(svg, "plan-eye", "cy")))), 60);
}

}  // namespace
