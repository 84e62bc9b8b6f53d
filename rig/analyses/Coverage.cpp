#include "rig/analyses/Coverage.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

// GCC 12 reports a false "may be used uninitialized" inside Boost.Geometry's
// envelope of multi-polygons (a state it fills before reading); only for
// Boost's own lines.
#pragma GCC diagnostic push
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/box.hpp>
#include <boost/geometry/geometries/multi_polygon.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#pragma GCC diagnostic pop

namespace rig {
namespace {

namespace bg = boost::geometry;
// The unrolled screen at true scale, in doubles: x the arc length along the
// screen (screen angle times radius, in radians), y the height.
using Point = bg::model::d2::point_xy<double>;
using Polygon = bg::model::polygon<Point>;  // clockwise, closed
using Shapes = bg::model::multi_polygon<Polygon>;
using Box = bg::model::box<Point>;

constexpr double kPi = 3.14159265358979323846;
// Lines across a seam at which its width is measured.
constexpr int kSeamLines = 64;

float NormalAngle(double degrees) {
  double a = std::fmod(degrees + 180.0, 360.0);
  if (a < 0) a += 360.0;
  float f = static_cast<float>(a - 180.0);
  return f >= 180.0f ? -180.0f : f;
}

struct Footprint {
  Polygon shape;           // turned so that its angle extent starts in [-180, 180)
  double x0 = 0, x1 = 0;   // arc length extent
  double y0 = 0, y1 = 0;   // height extent
  bool usable = false;
};

// Geometry shared by the whole analysis: the unit conversions.
struct Screen {
  double perDegree;  // arc length of one degree of screen angle
  double turn;       // arc length of the whole circle
  double X(double degrees) const { return degrees * perDegree; }
  double Degrees(double x) const { return x / perDegree; }
  UnrolledPoint Spot(double x, double y) const {
    return {NormalAngle(Degrees(x)), static_cast<float>(y)};
  }
};

// The bounding box of outer rings (holes lie inside them).
Box BoundsOf(const Shapes& shapes) {
  double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
  for (const Polygon& p : shapes) {
    for (const Point& q : p.outer()) {
      x0 = std::min(x0, q.x());
      x1 = std::max(x1, q.x());
      y0 = std::min(y0, q.y());
      y1 = std::max(y1, q.y());
    }
  }
  return Box(Point(x0, y0), Point(x1, y1));
}
Box BoundsOf(const Polygon& p) { return BoundsOf(Shapes{p}); }

Polygon Shifted(const Polygon& p, double dx) {
  Polygon out;
  for (const Point& q : p.outer()) out.outer().emplace_back(q.x() + dx, q.y());
  for (const auto& inner : p.inners()) {
    out.inners().emplace_back();
    for (const Point& q : inner) out.inners().back().emplace_back(q.x() + dx, q.y());
  }
  return out;
}

Footprint MakeFootprint(const std::vector<UnrolledPoint>& outline, const Screen& s) {
  Footprint f;
  double lo = INFINITY;
  for (const UnrolledPoint& u : outline) {
    if (!std::isfinite(u.angle) || !std::isfinite(u.height)) return f;
    lo = std::min(lo, static_cast<double>(u.angle));
  }
  if (outline.size() < 3) return f;
  // Whole turns that bring the extent's start into [-180, 180).
  const double turns = std::floor((lo + 180.0) / 360.0);
  for (const UnrolledPoint& u : outline) {
    const Point q(s.X(u.angle - turns * 360.0), u.height);
    if (f.shape.outer().empty() || !bg::equals(q, f.shape.outer().back())) f.shape.outer().push_back(q);
  }
  bg::correct(f.shape);
  // Points that lie within a millionth of the circle's length of the line
  // through their neighbours change no width or area that the report shows
  // but cost every polygon operation; drop them.
  Polygon simple;
  bg::simplify(f.shape, simple, 1e-6 * s.turn);
  if (simple.outer().size() >= 4) f.shape = std::move(simple);
  if (f.shape.outer().size() < 4 || !(bg::area(f.shape) > 0)) return f;
  const Box b = BoundsOf(f.shape);
  f.x0 = b.min_corner().x();
  f.x1 = b.max_corner().x();
  f.y0 = b.min_corner().y();
  f.y1 = b.max_corner().y();
  // An outline that would wrap on itself is no footprint of a projector
  // inside the screen; it takes part in nothing.
  f.usable = f.x1 - f.x0 < s.turn;
  return f;
}

// Where the line `across == value` (across the seam) meets the ring: the
// extent of its crossings along the other axis. `alongX`: the line is
// horizontal (constant height), the extent is in x.
bool SpanOnLine(const Polygon& p, bool alongX, double value, double& lo, double& hi) {
  lo = INFINITY;
  hi = -INFINITY;
  const auto& ring = p.outer();
  for (std::size_t k = 0; k + 1 < ring.size(); ++k) {
    const double at = alongX ? ring[k].y() : ring[k].x();
    const double bt = alongX ? ring[k + 1].y() : ring[k + 1].x();
    const double as = alongX ? ring[k].x() : ring[k].y();
    const double bs = alongX ? ring[k + 1].x() : ring[k + 1].y();
    if ((at <= value && value < bt) || (bt <= value && value < at)) {
      const double s = as + (bs - as) * (value - at) / (bt - at);
      lo = std::min(lo, s);
      hi = std::max(hi, s);
    }
  }
  return lo <= hi;
}

// The seam between footprints a and b (b already turned beside a): the
// width of their overlap on each line across it, negative where they part.
struct SeamScan {
  bool sideBySide = true;
  bool any = false;  // some line meets both
  double minWidth = INFINITY, maxWidth = -INFINITY;
  Point minFrom, minTo, maxFrom, maxTo;  // ends of the extreme lines' overlap (or gap)
};

SeamScan ScanSeam(const Footprint& a, const Polygon& b, double bx0, double bx1, double bandFrom, double bandTo) {
  SeamScan scan;
  // Side by side when their centres lie further apart, relative to their
  // sizes, along the screen than up it.
  const double dx = std::fabs((bx0 + bx1) - (a.x0 + a.x1)) / ((a.x1 - a.x0) + (bx1 - bx0));
  const Box bb = BoundsOf(b);
  const double by0 = bb.min_corner().y(), by1 = bb.max_corner().y();
  const double dy = std::fabs((by0 + by1) - (a.y0 + a.y1)) / ((a.y1 - a.y0) + (by1 - by0));
  scan.sideBySide = dx >= dy;
  // The band both footprints share along the seam.
  double from = scan.sideBySide ? std::max(a.y0, by0) : std::max(a.x0, bx0);
  double to = scan.sideBySide ? std::min(a.y1, by1) : std::min(a.x1, bx1);
  if (scan.sideBySide) {
    from = std::max(from, bandFrom);
    to = std::min(to, bandTo);
  }
  if (!(from < to)) return scan;
  // The facing edges: a's upper end and b's lower end on each line when a
  // lies before b across the seam, else the other way round. A line where
  // either facing end runs at less than 45 degrees to the seam (through a
  // curved or slanted top or bottom edge rather than up a side) does not
  // measure the seam.
  const bool aBefore = scan.sideBySide ? a.x0 + a.x1 <= bx0 + bx1 : a.y0 + a.y1 <= by0 + by1;
  double t[kSeamLines], endA[kSeamLines], endB[kSeamLines], span[kSeamLines][4];
  bool meets[kSeamLines];
  for (int k = 0; k < kSeamLines; ++k) {
    t[k] = from + (to - from) * (k + 0.5) / kSeamLines;
    double* l = span[k];
    meets[k] = SpanOnLine(a.shape, scan.sideBySide, t[k], l[0], l[1]) && SpanOnLine(b, scan.sideBySide, t[k], l[2], l[3]);
    endA[k] = aBefore ? l[1] : l[0];
    endB[k] = aBefore ? l[2] : l[3];
  }
  auto steep = [&](const double* end, int k) {
    const int p = k > 0 && meets[k - 1] ? k - 1 : k, q = k + 1 < kSeamLines && meets[k + 1] ? k + 1 : k;
    return p == q || std::fabs(end[q] - end[p]) <= t[q] - t[p];
  };
  for (int k = 0; k < kSeamLines; ++k) {
    if (!meets[k] || !steep(endA, k) || !steep(endB, k)) continue;
    const double alo = span[k][0], ahi = span[k][1], blo = span[k][2], bhi = span[k][3];
    const double line = t[k];
    const double lo = std::max(alo, blo), hi = std::min(ahi, bhi);
    const double width = hi - lo;
    // The overlap runs from lo to hi; a gap from the nearer end of one to the other.
    const double gapFrom = ahi < blo ? ahi : bhi, gapTo = ahi < blo ? blo : alo;
    const Point p = scan.sideBySide ? Point(width >= 0 ? lo : gapFrom, line) : Point(line, width >= 0 ? lo : gapFrom);
    const Point q = scan.sideBySide ? Point(width >= 0 ? hi : gapTo, line) : Point(line, width >= 0 ? hi : gapTo);
    scan.any = true;
    if (width < scan.minWidth) {
      scan.minWidth = width;
      scan.minFrom = p;
      scan.minTo = q;
    }
    if (width > scan.maxWidth) {
      scan.maxWidth = width;
      scan.maxFrom = p;
      scan.maxTo = q;
    }
  }
  return scan;
}

ScreenBox BoxOf(const Box& b, const Screen& s) {
  ScreenBox out;
  const double from = s.Degrees(b.min_corner().x()), to = s.Degrees(b.max_corner().x());
  out.angleFrom = NormalAngle(from);
  out.angleTo = out.angleFrom + static_cast<float>(to - from);
  out.heightFrom = static_cast<float>(b.min_corner().y());
  out.heightTo = static_cast<float>(b.max_corner().y());
  return out;
}

// A ring as an outline in one piece, turned so that it starts its angle
// extent in [-180, 180).
template <typename Ring>
std::vector<UnrolledPoint> OutlineOf(const Ring& ring, const Screen& s) {
  double lo = INFINITY;
  for (const Point& p : ring) lo = std::min(lo, s.Degrees(p.x()));
  const double shift = -360.0 * std::floor((lo + 180.0) / 360.0);
  std::vector<UnrolledPoint> out;
  for (std::size_t k = 0; k + 1 < ring.size(); ++k) {
    out.push_back({static_cast<float>(s.Degrees(ring[k].x()) + shift), static_cast<float>(ring[k].y())});
  }
  return out;
}

// The union of shapes [from, to), merged pairwise in a balanced tree so that
// each level costs about the size of all outlines together.
Shapes UnionOf(const std::vector<Polygon>& shapes, std::size_t from, std::size_t to) {
  if (to - from == 1) return Shapes{shapes[from]};
  const std::size_t middle = from + (to - from) / 2;
  Shapes out;
  bg::union_(UnionOf(shapes, from, middle), UnionOf(shapes, middle, to), out);
  return out;
}

// Whether the angle intervals [x0, x1] (arc lengths, x0 within the first
// turn) cover the whole circle; otherwise the covered stretch that the
// largest uncovered arc leaves, as [from, to].
bool CircleCovered(std::vector<std::pair<double, double>> spans, double turn, double& from, double& to) {
  std::sort(spans.begin(), spans.end());
  // Sweep twice round, so that an interval past the end covers the start.
  double reach = spans.front().first, largestGap = 0, gapEnd = spans.front().first;
  double gapStart = spans.front().first;
  const std::size_t n = spans.size();
  for (std::size_t k = 0; k < 2 * n; ++k) {
    const double start = spans[k % n].first + (k >= n ? turn : 0.0);
    const double end = spans[k % n].second + (k >= n ? turn : 0.0);
    if (start > reach && start - reach > largestGap) {
      largestGap = start - reach;
      gapStart = reach;
      gapEnd = start;
    }
    reach = std::max(reach, end);
  }
  if (largestGap <= 0) return true;
  from = gapEnd;
  to = gapStart + turn;
  if (to - from > turn) to -= turn;
  return false;
}

}  // namespace

CoverageReport AnalyseCoverage(const CoverageInput& input) {
  CoverageReport report;
  const Screen s{static_cast<double>(input.radius) * kPi / 180.0, 2.0 * kPi * input.radius};
  if (!(s.perDegree > 0) || !std::isfinite(s.perDegree)) return report;

  std::vector<Footprint> feet;
  std::vector<int> usable;
  for (const std::vector<UnrolledPoint>& outline : input.footprints) {
    feet.push_back(MakeFootprint(outline, s));
    if (feet.back().usable) usable.push_back(static_cast<int>(feet.size()) - 1);
  }
  if (usable.empty()) return report;
  const double halfTurn = s.turn / 2;

  // Candidate pairs: footprint i with every footprint j (itself turned by
  // 0 or one whole turn) that starts within i's extent or less than one of
  // i's widths past it. Sorted by start, each i looks only at that window.
  struct Entry {
    double start;
    int index;
    int turns;
  };
  std::vector<Entry> entries;
  for (int i : usable) {
    entries.push_back({feet[i].x0, i, 0});
    entries.push_back({feet[i].x0 + s.turn, i, 1});
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return a.start != b.start ? a.start < b.start : a.index != b.index ? a.index < b.index : a.turns < b.turns;
  });
  double widest = 0;  // the widest footprint, for finding what covers a point
  for (int i : usable) widest = std::max(widest, feet[i].x1 - feet[i].x0);

  // Whether some footprint other than a and b lights point p.
  auto litByOther = [&](const Point& p, int a, int b) {
    for (int turns = -1; turns <= 1; ++turns) {
      const double x = p.x() - turns * s.turn;
      auto it = std::lower_bound(entries.begin(), entries.end(), x - widest,
                                 [](const Entry& e, double v) { return e.start < v; });
      for (; it != entries.end() && it->start <= x; ++it) {
        if (it->turns != 0 || it->index == a || it->index == b) continue;
        const Footprint& f = feet[it->index];
        if (x <= f.x1 && p.y() >= f.y0 && p.y() <= f.y1 && bg::covered_by(Point(x, p.y()), f.shape)) return true;
      }
    }
    return false;
  };

  // Side by side, seams are measured only within the heights to cover.
  const double bandFrom = input.extent.heights ? (*input.extent.heights)[0] : -INFINITY;
  const double bandTo = input.extent.heights ? (*input.extent.heights)[1] : INFINITY;
  std::map<std::pair<int, int>, CoverageOverlap> overlaps;
  for (std::size_t e = 0; e < entries.size(); ++e) {
    if (entries[e].turns != 0) continue;
    const int i = entries[e].index;
    const Footprint& a = feet[i];
    const double reach = a.x1 + (a.x1 - a.x0);
    for (std::size_t k = e + 1; k < entries.size() && entries[k].start <= reach; ++k) {
      const int j = entries[k].index;
      if (j == i) continue;
      const Footprint& b = feet[j];
      const double dx = entries[k].turns * s.turn;
      const Polygon bs = Shifted(b.shape, dx);
      // Too far apart up the screen to share a seam.
      const double gapUp = std::max(a.y0, b.y0) - std::min(a.y1, b.y1);
      if (gapUp > std::max(a.y1 - a.y0, b.y1 - b.y0)) continue;

      Shapes common;
      bg::intersection(a.shape, bs, common);
      const double area = bg::area(common);
      const SeamScan scan = ScanSeam(a, bs, b.x0 + dx, b.x1 + dx, bandFrom, bandTo);
      const int first = std::min(i, j), second = std::max(i, j);
      if (area > 0) {
        CoverageOverlap& o = overlaps[{first, second}];
        const bool fresh = o.regions.empty();
        o.first = first;
        o.second = second;
        o.across = scan.sideBySide ? SeamDirection::kSideBySide : SeamDirection::kStacked;
        o.area += static_cast<float>(area);
        const Box box = BoundsOf(common);
        if (fresh) o.bounds = BoxOf(box, s);
        for (const Polygon& p : common) o.regions.push_back(OutlineOf(p.outer(), s));
        // Without a line that meets both (overlapping corners only), the
        // region's own extent across the seam stands for its width.
        double lo = scan.minWidth, hi = scan.maxWidth;
        Point where(0.5 * (box.min_corner().x() + box.max_corner().x()),
                    0.5 * (box.min_corner().y() + box.max_corner().y()));
        if (scan.any) {
          where = Point(0.5 * (scan.minFrom.x() + scan.minTo.x()), 0.5 * (scan.minFrom.y() + scan.minTo.y()));
        } else {
          lo = hi = scan.sideBySide ? box.max_corner().x() - box.min_corner().x()
                                    : box.max_corner().y() - box.min_corner().y();
        }
        if (fresh || lo < o.minWidth) {
          o.minWidth = static_cast<float>(lo);
          o.whereMin = s.Spot(where.x(), where.y());
        }
        if (fresh || hi > o.maxWidth) o.maxWidth = static_cast<float>(hi);
        continue;
      }
      // Apart: a gap if some line meets both, it is no wider than the wider
      // of the two footprints across the seam, and no other footprint
      // lights its middle.
      if (!scan.any || !(scan.maxWidth < 0)) continue;
      const double width = -scan.maxWidth;
      const double size = scan.sideBySide ? std::max(a.x1 - a.x0, b.x1 - b.x0) : std::max(a.y1 - a.y0, b.y1 - b.y0);
      if (width > size) continue;
      const Point middle(0.5 * (scan.maxFrom.x() + scan.maxTo.x()), 0.5 * (scan.maxFrom.y() + scan.maxTo.y()));
      if (litByOther(middle, i, j)) continue;
      CoverageGap g;
      g.first = first;
      g.second = second;
      g.across = scan.sideBySide ? SeamDirection::kSideBySide : SeamDirection::kStacked;
      g.width = static_cast<float>(width);
      g.widthDegrees = static_cast<float>(s.Degrees(width));
      g.where = s.Spot(middle.x(), middle.y());
      // maxFrom lies on the footprint nearer the lower end of the line.
      const bool aFirst = (i == first);
      const bool fromOnA = scan.sideBySide ? a.x0 <= b.x0 + dx : a.y0 <= b.y0;
      const UnrolledPoint p = s.Spot(scan.maxFrom.x(), scan.maxFrom.y());
      const UnrolledPoint q = s.Spot(scan.maxTo.x(), scan.maxTo.y());
      g.fromPoint = fromOnA == aFirst ? p : q;
      g.toPoint = fromOnA == aFirst ? q : p;
      report.gaps.push_back(g);
    }
  }
  for (auto& entry : overlaps) {
    CoverageOverlap& o = entry.second;
    o.minWidthDegrees = static_cast<float>(s.Degrees(o.minWidth));
    o.maxWidthDegrees = static_cast<float>(s.Degrees(o.maxWidth));
    report.overlaps.push_back(std::move(o));
  }
  std::sort(report.gaps.begin(), report.gaps.end(), [](const CoverageGap& a, const CoverageGap& b) {
    return a.first != b.first ? a.first < b.first : a.second < b.second;
  });

  // The area to cover.
  std::vector<std::pair<double, double>> spans;
  double y0 = INFINITY, y1 = -INFINITY;
  for (int i : usable) {
    spans.emplace_back(feet[i].x0, feet[i].x1);
    y0 = std::min(y0, feet[i].y0);
    y1 = std::max(y1, feet[i].y1);
  }
  double from = -halfTurn, to = halfTurn;
  const ScreenExtent& extent = input.extent;
  report.extentGiven = extent.angles.has_value() || extent.heights.has_value();
  if (extent.angles) {
    const float a = (*extent.angles)[0], b = (*extent.angles)[1];
    double span = std::fmod(static_cast<double>(b) - a, 360.0);
    if (span <= 0) span += 360.0;
    report.wholeCircle = span >= 360.0;
    from = s.X(NormalAngle(a));
    to = from + s.X(span);
  } else {
    report.wholeCircle = CircleCovered(spans, s.turn, from, to);
    if (report.wholeCircle) from = -halfTurn, to = halfTurn;
  }
  if (extent.heights) {
    y0 = (*extent.heights)[0];
    y1 = (*extent.heights)[1];
  }
  const Box area(Point(from, y0), Point(to, y1));
  report.area = BoxOf(area, s);
  report.areaSize = static_cast<float>((to - from) * (y1 - y0));

  // Every footprint, turned by whole turns wherever it meets the area.
  std::vector<Polygon> lit;
  for (int i : usable) {
    for (int turns = -1; turns <= 2; ++turns) {
      const double dx = turns * s.turn;
      if (feet[i].x1 + dx > from && feet[i].x0 + dx < to) lit.push_back(Shifted(feet[i].shape, dx));
    }
  }
  Shapes covered, open;
  if (!lit.empty()) covered = UnionOf(lit, 0, lit.size());
  if (report.extentGiven) {
    bg::difference(area, covered, open);
  } else {
    // Nothing asked for: only holes that footprints enclose count.
    for (const Polygon& p : covered) {
      for (const auto& inner : p.inners()) {
        Polygon hole;
        for (const Point& q : inner) hole.outer().push_back(q);
        bg::correct(hole);
        open.push_back(hole);
      }
    }
  }
  for (const Polygon& p : open) {
    UncoveredRegion u;
    u.area = static_cast<float>(bg::area(p));
    if (!(u.area > 0)) continue;
    const Box box = BoundsOf(p);
    u.bounds = BoxOf(box, s);
    u.outline = OutlineOf(p.outer(), s);
    report.uncoveredSize += u.area;
    report.uncovered.push_back(std::move(u));
  }
  std::stable_sort(report.uncovered.begin(), report.uncovered.end(),
                   [](const UncoveredRegion& a, const UncoveredRegion& b) { return a.area > b.area; });
  Shapes inside;
  bg::intersection(area, covered, inside);
  report.coveredSize = static_cast<float>(bg::area(inside));
  return report;
}

}  // namespace rig
