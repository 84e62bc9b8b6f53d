#include "rig/pictures/ProjectorColours.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "rig/reports/RigReport.h"

namespace rig {
namespace {

// Ten hues of distinct lightness (dark blue, orange, green, red, purple,
// brown, pink, olive, cyan, grey-blue), all dark enough for a 1.5 px line
// on white and light enough at 35 % opacity to show an overlap darker.
const char* const kPalette[] = {"#1f5fa8", "#e8710a", "#2a9d3c", "#c9252c", "#7b4fb5",
                                "#8c5a3c", "#d45fa6", "#7f8a1a", "#1596a8", "#4a5868"};
constexpr int kPaletteSize = sizeof(kPalette) / sizeof(kPalette[0]);

// Where an angle falls in [0, 360).
double Wrap(double a) {
  const double w = std::fmod(a, 360.0);
  return w < 0 ? w + 360.0 : w;
}

}  // namespace

int PaletteSize() { return kPaletteSize; }

const char* PaletteColour(int index) {
  const int i = index % kPaletteSize;
  return kPalette[i < 0 ? i + kPaletteSize : i];
}

std::vector<int> ColourFootprints(const std::vector<FootprintBox>& boxes, double angleMargin,
                                  double heightMargin) {
  const std::size_t n = boxes.size();
  // Each box as an interval starting in [0, 360), and the same one turn on
  // so that pairs across 0 meet in one sweep.
  struct Span {
    double from, to;
    std::size_t box;
  };
  std::vector<Span> spans;
  for (std::size_t i = 0; i < n; ++i) {
    const FootprintBox& b = boxes[i];
    if (!(std::isfinite(b.angleFrom) && std::isfinite(b.angleTo))) continue;
    const double width = std::min(std::max(b.angleTo - b.angleFrom, 0.0), 360.0);
    const double from = Wrap(b.angleFrom - angleMargin);
    spans.push_back({from, from + width + 2 * angleMargin, i});
    spans.push_back({from + 360, from + 360 + width + 2 * angleMargin, i});
  }
  std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) {
    return a.from < b.from || (a.from == b.from && a.box < b.box);
  });
  // Neighbours by sweeping the sorted intervals with the set still open.
  std::vector<std::vector<std::size_t>> neighbours(n);
  std::vector<const Span*> open;
  for (const Span& s : spans) {
    open.erase(std::remove_if(open.begin(), open.end(), [&](const Span* o) { return o->to <= s.from; }),
               open.end());
    for (const Span* o : open) {
      const FootprintBox &a = boxes[o->box], &b = boxes[s.box];
      const bool heightsMeet = a.heightFrom - heightMargin < b.heightTo && b.heightFrom - heightMargin < a.heightTo;
      if (o->box != s.box && heightsMeet) {
        neighbours[o->box].push_back(s.box);
        neighbours[s.box].push_back(o->box);
      }
    }
    open.push_back(&s);
  }
  // Greedy, in order around the circle (by where each footprint starts).
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return Wrap(boxes[a].angleFrom) < Wrap(boxes[b].angleFrom);
  });
  std::vector<int> colour(n, -1);
  std::vector<long> used(kPaletteSize, 0);
  for (std::size_t i : order) {
    std::vector<int> taken(kPaletteSize, 0);
    for (std::size_t j : neighbours[i]) {
      if (colour[j] >= 0) ++taken[colour[j]];
    }
    int best = 0;
    for (int c = 1; c < kPaletteSize; ++c) {
      if (taken[c] < taken[best] || (taken[c] == taken[best] && used[c] < used[best])) best = c;
    }
    colour[i] = best;
    ++used[best];
  }
  return colour;
}

std::vector<int> ProjectorColours(const RigReport& r) {
  std::vector<FootprintBox> boxes;
  double low = INFINITY, high = -INFINITY;
  for (const ProjectorReport& q : r.projectors) {
    boxes.push_back({q.angleFrom, q.angleTo, q.heightFrom, q.heightTo});
    if (std::isfinite(q.heightFrom) && std::isfinite(q.heightTo)) {
      low = std::min<double>(low, q.heightFrom), high = std::max<double>(high, q.heightTo);
    }
  }
  return ColourFootprints(boxes, 1.0, low < high ? (high - low) / 50 : 0.0);
}

}  // namespace rig
