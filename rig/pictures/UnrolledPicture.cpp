#include "rig/pictures/UnrolledPicture.h"

#include <algorithm>
#include <cmath>

#include "rig/pictures/PictureLayers.h"
#include "rig/pictures/ProjectorColours.h"
#include "rig/reports/TextTable.h"

namespace rig {
namespace {

// Rows of labels above, and below, each band: few for names (beyond them
// numbers read better than a wall of names), more for numbers.
constexpr int kMaxNameLanes = 4, kMaxLanes = 16;
constexpr double kTextHeight = 14;     // a label's box height at kLabelFont
constexpr double kCellSize = 16;       // collision grid
constexpr std::size_t kMaxSeamLabels = 24;

// A request for one text: its candidates in one band's own pixels (the top
// of the band's plot at y = 0).
struct TextRequest {
  PlacedText text;
  std::size_t band = 0;
  std::vector<LabelBox> candidates;
  std::vector<int> lane;  // per candidate: 0 in the plot, +L above (lane L-1), -L below
};

LabelBox Centred(double cx, double cy, double w, double h) { return {cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2}; }

// Keeps a box within [left, right] across.
LabelBox Clamped(LabelBox b, double left, double right) {
  if (b.x0 < left) b.x1 += left - b.x0, b.x0 = left;
  if (b.x1 > right) b.x0 -= b.x1 - right, b.x1 = right;
  return b;
}

class Planner {
 public:
  Planner(const RigReport& r, UnrolledPicture& p) : r_(r), p_(p) {}

  void Plan() {
    Colours();
    Markers();
    Fits();
    Warnings();
    const double canvasRight = UnrolledLayout::kPlotLeft + p_.layout.MaxPlotWidth() + 16;
    right_ = canvasRight;
    // Names where every name fits, else numbers keyed in the legend.
    std::vector<TextRequest> requests;
    std::vector<int> chosen;
    for (bool numbered : {false, true}) {
      p_.numbered = numbered;
      requests = Requests();
      chosen = Place(requests);
      bool all = true;
      for (std::size_t i = 0; i < requests.size(); ++i) {
        if (requests[i].text.role == TextRole::kProjector && chosen[i] < 0) all = false;
      }
      if (all) break;
    }
    // Seam values all or none: a few scattered over the rig would read as
    // if the others had none.
    bool allSeams = true;
    for (std::size_t i = 0; i < requests.size(); ++i) {
      if (requests[i].text.role == TextRole::kSeam && chosen[i] < 0) allSeams = false;
    }
    if (!allSeams) {
      for (std::size_t i = 0; i < requests.size(); ++i) {
        if (requests[i].text.role == TextRole::kSeam) chosen[i] = -1;
      }
    }
    Stack(requests, chosen);
  }

 private:
  void Colours() { p_.colours = ProjectorColours(r_); }

  void Markers() {
    for (const ProjectorReport& q : r_.projectors) {
      p_.aims.push_back(Unroll(q.lookAt, (q.angleFrom + q.angleTo) / 2));
      // The image's top edge (v = 0, u from 0 to 1), traced as the border is.
      const ProjectorLens lens{q.position, q.lookAt, q.parameters.ProjFovX, q.parameters.ProjFovY,
                               q.parameters.ProjKeystone, q.parameters.ProjRoll};
      std::vector<D3DXVECTOR3> edge;
      for (int i = 0; i <= kOutlinePointsPerEdge; ++i) {
        const D3DXVECTOR3 s = ScreenPointOfImage(lens, r_.scene.radius, static_cast<float>(i) / kOutlinePointsPerEdge, 0.0f);
        if (std::isfinite(s.x)) edge.push_back(s);
      }
      p_.topEdges.push_back(UnrollOutline(edge, (q.angleFrom + q.angleTo) / 2));
    }
    for (const CoverageOverlap& o : r_.coverage.overlaps) {
      p_.widestOverlap = std::max<double>(p_.widestOverlap, o.minWidthDegrees);
    }
  }

  void Fits() {
    for (const CalibrationReport& k : r_.calibrations) {
      int index = -1;
      for (std::size_t i = 0; i < r_.projectors.size(); ++i) {
        if (r_.projectors[i].name == k.projector) index = static_cast<int>(i);
      }
      const float reference = index >= 0 ? (r_.projectors[index].angleFrom + r_.projectors[index].angleTo) / 2
                                         : r_.scene.camera.aimAngle;
      p_.moduleFits.push_back(FitOf(index, k.fitted, reference));
      if (k.refinement) {
        ProjectorParameters refined = k.fitted;
        for (int j = 0; j < kProjectorParameterCount; ++j) ParameterOf(refined, j) = k.refinement->refinement.values[j];
        p_.refinedFits.push_back(FitOf(index, refined, reference));
      }
    }
  }

  FittedOutline FitOf(int projector, const ProjectorParameters& values, float reference) const {
    FittedOutline f;
    f.projector = projector;
    const ProjectorLens lens = LensOf(values, r_.scene.radius);
    f.outline = UnrollOutline(TraceImageBorder(lens, r_.scene.radius, kOutlinePointsPerEdge), reference);
    for (int i = 0; i < 8; ++i) {
      const std::array<double, 2> g = GridPointOffset(i);
      f.points[i] = Unroll(ScreenPointOfImage(lens, r_.scene.radius, static_cast<float>(0.5 + g[0]),
                                              static_cast<float>(0.5 + g[1])),
                           reference);
    }
    return f;
  }

  void Warnings() {
    if (r_.eye.oneEyeCannotFrame) {
      p_.warnings.push_back("One eye cannot frame these footprints (they span " +
                            Fixed(r_.eye.footprintSpan, 1) + " degrees): see the per-projector frusta.");
    }
    if (!r_.coverage.uncovered.empty()) {
      p_.warnings.push_back(std::to_string(r_.coverage.uncovered.size()) +
                            (r_.coverage.uncovered.size() == 1 ? " part" : " parts") +
                            " of the area to cover lit by no projector (hatched).");
    }
    if (!r_.coverage.gaps.empty()) {
      p_.warnings.push_back(std::to_string(r_.coverage.gaps.size()) +
                            (r_.coverage.gaps.size() == 1 ? " seam where neighbours do not meet"
                                                          : " seams where neighbours do not meet") +
                            " (red marks).");
    }
  }

  double BandOf(double angle, double* turned) const {
    return static_cast<double>(p_.layout.HomeBand(angle, turned));
  }

  // Candidates around a point: right, left, above, below, then the diagonals.
  void Around(TextRequest& t, double x, double y, double w, double gap) const {
    const double h = kTextHeight;
    const double offsets[8][2] = {{gap + w / 2, 0},  {-gap - w / 2, 0},       {0, -gap - h / 2},
                                  {0, gap + h / 2},  {gap + w / 2, -gap - h / 2}, {-gap - w / 2, -gap - h / 2},
                                  {gap + w / 2, gap + h / 2}, {-gap - w / 2, gap + h / 2}};
    for (const auto& o : offsets) {
      t.candidates.push_back(Centred(x + o[0], y + o[1], w, h));
      t.lane.push_back(0);
    }
  }

  std::vector<TextRequest> Requests() const {
    const UnrolledLayout& L = p_.layout;
    std::vector<TextRequest> out;
    const double plotH = L.PlotHeight();
    // The eye's look-at.
    if (!r_.eye.oneEyeCannotFrame && std::isfinite(r_.eye.lookAtOnScreen.angle)) {
      double a = 0;
      TextRequest t;
      t.band = static_cast<std::size_t>(BandOf(r_.eye.lookAtOnScreen.angle, &a));
      UnrolledBand b = L.Bands()[t.band];
      b.plotTop = 0;
      t.text.text = "eye look-at";
      t.text.role = TextRole::kEye;
      Around(t, L.X(b, a), L.Y(b, r_.eye.lookAtOnScreen.height), TextWidth(t.text.text, 12) + 4, 7);
      out.push_back(t);
    }
    // Calibration grid points, numbered in grid order beside the target.
    for (const CalibrationReport& k : r_.calibrations) {
      for (int i = 0; i < 8; ++i) {
        double a = 0;
        TextRequest t;
        t.band = static_cast<std::size_t>(BandOf(k.targets[i].angle, &a));
        UnrolledBand b = L.Bands()[t.band];
        b.plotTop = 0;
        t.text.text = std::to_string(i);
        t.text.role = TextRole::kCalibrationPoint;
        const double x = L.X(b, a), y = L.Y(b, k.targets[i].height);
        // First outward from the image's centre, where nothing else of the
        // calibration is drawn.
        const std::array<double, 2> g = GridPointOffset(i);
        const double len = std::hypot(g[0], g[1]);
        t.candidates.push_back(Centred(x + 14 * g[0] / len, y + 14 * g[1] / len, 10, kTextHeight));
        t.lane.push_back(0);
        Around(t, x, y, 10, 8);
        out.push_back(t);
      }
    }
    // Projectors.
    const double font = UnrolledPicture::kLabelFont;
    for (std::size_t i = 0; i < r_.projectors.size(); ++i) {
      const ProjectorReport& q = r_.projectors[i];
      if (q.unrolled.empty()) continue;
      TextRequest t;
      t.text.role = TextRole::kProjector;
      t.text.owner = static_cast<int>(i);
      t.text.text = p_.numbered ? std::to_string(i + 1) : q.name;
      const double middle = (q.angleFrom + q.angleTo) / 2.0;
      double turned = 0;
      t.band = static_cast<std::size_t>(BandOf(middle, &turned));
      UnrolledBand b = L.Bands()[t.band];
      b.plotTop = 0;
      const double turn = turned - middle;
      const double x0 = L.X(b, q.angleFrom + turn), x1 = L.X(b, q.angleTo + turn), cx = (x0 + x1) / 2;
      const double top = L.Y(b, q.heightTo), bottom = L.Y(b, q.heightFrom);
      const double w = TextWidth(t.text.text, font) + 4;
      t.text.anchorX = cx;
      if (w <= 0.8 * (x1 - x0)) {
        for (double depth : {0.22, 0.5, 0.78}) {
          t.candidates.push_back(Centred(cx, top + depth * (bottom - top), w, kTextHeight));
          t.lane.push_back(0);
        }
      }
      // Rows above the band first: neighbours then step up a staircase in
      // order, read left to right; the rows below take what is left over.
      const int lanes = p_.numbered ? kMaxLanes : kMaxNameLanes;
      for (int lane = 1; lane <= lanes; ++lane) {
        t.candidates.push_back(Clamped(Centred(cx, -(lane - 0.5) * UnrolledPicture::kLaneHeight, w, kTextHeight),
                                       4, right_));
        t.lane.push_back(lane);
      }
      for (int lane = 1; lane <= lanes; ++lane) {
        t.candidates.push_back(Clamped(Centred(cx, plotH + UnrolledPicture::kTickRow + (lane - 0.5) * UnrolledPicture::kLaneHeight,
                                               w, kTextHeight),
                                       4, right_));
        t.lane.push_back(-lane);
      }
      // The leader's end on the footprint: its top or bottom edge.
      t.text.anchorY = top;
      out.push_back(t);
      (void)bottom;
    }
    // Each seam's narrowest overlap or gap, for a rig with few enough seams
    // to read them (the report's tables hold them all; the marks show where).
    if (r_.coverage.overlaps.size() + r_.coverage.gaps.size() > kMaxSeamLabels) return out;
    for (const CoverageOverlap& o : r_.coverage.overlaps) {
      // Footprints that overlap but not all the way along their seam (their
      // edges slant apart) have a narrowest width below zero: a gap there.
      out.push_back(SeamRequest(o.minWidthDegrees < 0 ? "gap " + Fixed(-o.minWidthDegrees, 2) + "\u00b0 at an end"
                                                      : "overlap " + Fixed(o.minWidthDegrees, 2) + "\u00b0",
                                o.whereMin, o.first));
    }
    for (const CoverageGap& g : r_.coverage.gaps) {
      out.push_back(SeamRequest("gap " + Fixed(g.widthDegrees, 2) + "\u00b0", g.where, g.first));
    }
    return out;
  }

  TextRequest SeamRequest(const std::string& text, UnrolledPoint where, int owner) const {
    const UnrolledLayout& L = p_.layout;
    double a = 0;
    TextRequest t;
    t.band = static_cast<std::size_t>(BandOf(where.angle, &a));
    UnrolledBand b = L.Bands()[t.band];
    b.plotTop = 0;
    t.text.text = text;
    t.text.role = TextRole::kSeam;
    t.text.owner = owner;
    Around(t, L.X(b, a), L.Y(b, where.height), TextWidth(text, 10) + 4, 6);
    return t;
  }

  // Fixed marks every text must keep clear of, in band pixels.
  std::vector<std::vector<LabelBox>> Obstacles() const {
    const UnrolledLayout& L = p_.layout;
    std::vector<std::vector<LabelBox>> out(L.Bands().size());
    auto mark = [&](UnrolledPoint u, double half) {
      if (!(std::isfinite(u.angle) && std::isfinite(u.height))) return;
      for (std::size_t k = 0; k < L.Bands().size(); ++k) {
        UnrolledBand b = L.Bands()[k];
        b.plotTop = 0;
        for (double t : L.TurnsInto(b, u.angle, u.angle)) {
          out[k].push_back(Centred(L.X(b, u.angle + t), L.Y(b, u.height), 2 * half, 2 * half));
        }
      }
    };
    for (const UnrolledPoint& a : p_.aims) mark(a, 5);
    if (!r_.eye.oneEyeCannotFrame) mark(r_.eye.lookAtOnScreen, 6);
    for (const CalibrationReport& k : r_.calibrations) {
      for (int i = 0; i < 8; ++i) {
        mark(k.targets[i], 7);
        mark(k.startPoints[i], 6);
        mark(k.fittedPoints[i], 4);
      }
    }
    for (const FittedOutline& f : p_.refinedFits) {
      for (const UnrolledPoint& u : f.points) mark(u, 4);
    }
    for (const CoverageOverlap& o : r_.coverage.overlaps) mark(o.whereMin, 5);
    for (const CoverageGap& g : r_.coverage.gaps) mark(g.where, 5);
    // The row of tick numbers under each plot, the column of them left of it.
    for (std::size_t k = 0; k < L.Bands().size(); ++k) {
      out[k].push_back({0, L.PlotHeight() + 1, right_ + 100, L.PlotHeight() + UnrolledPicture::kTickRow});
      out[k].push_back({0, -8, UnrolledLayout::kPlotLeft - 1, L.PlotHeight() + 8});
    }
    return out;
  }

  std::vector<int> Place(const std::vector<TextRequest>& requests) const {
    const std::vector<std::vector<LabelBox>> obstacles = Obstacles();
    std::vector<int> chosen(requests.size(), -1);
    // Bands never share pixels: each is placed on its own.
    for (std::size_t k = 0; k < obstacles.size(); ++k) {
      std::vector<std::vector<LabelBox>> candidates;
      std::vector<std::size_t> which;
      for (std::size_t i = 0; i < requests.size(); ++i) {
        if (requests[i].band != k) continue;
        candidates.push_back(requests[i].candidates);
        which.push_back(i);
      }
      const std::vector<int> c = PlaceLabels(candidates, obstacles[k], kCellSize);
      for (std::size_t j = 0; j < which.size(); ++j) chosen[which[j]] = c[j];
    }
    return chosen;
  }

  // Bands stacked with room for the lanes they use; every box moved from
  // band pixels to canvas pixels.
  void Stack(const std::vector<TextRequest>& requests, const std::vector<int>& chosen) {
    std::vector<UnrolledBand>& bands = p_.layout.Bands();
    std::vector<int> above(bands.size(), 0), below(bands.size(), 0);
    for (std::size_t i = 0; i < requests.size(); ++i) {
      if (chosen[i] < 0) continue;
      const int lane = requests[i].lane[chosen[i]];
      if (lane > 0) above[requests[i].band] = std::max(above[requests[i].band], lane);
      if (lane < 0) below[requests[i].band] = std::max(below[requests[i].band], -lane);
    }
    double y = UnrolledPicture::kTitleHeight + UnrolledPicture::kWarningHeight * p_.warnings.size() + 12;
    for (std::size_t k = 0; k < bands.size(); ++k) {
      bands[k].plotTop = y + above[k] * UnrolledPicture::kLaneHeight;
      y = bands[k].plotTop + p_.layout.PlotHeight() + UnrolledPicture::kTickRow +
          below[k] * UnrolledPicture::kLaneHeight + UnrolledPicture::kBandGap;
    }
    // The axis title under the last band.
    y += 6;
    for (std::size_t i = 0; i < requests.size(); ++i) {
      if (chosen[i] < 0) continue;
      const TextRequest& t = requests[i];
      const double top = bands[t.band].plotTop;
      PlacedText placed = t.text;
      placed.box = t.candidates[chosen[i]];
      placed.box.y0 += top, placed.box.y1 += top;
      const int lane = t.lane[chosen[i]];
      if (lane != 0) {
        placed.leader = true;
        if (lane < 0) {
          // From below: to the footprint's lowest point under the label.
          const ProjectorReport& q = r_.projectors[t.text.owner];
          UnrolledBand b = bands[t.band];
          placed.anchorY = p_.layout.Y(b, q.heightFrom);
        } else {
          placed.anchorY = t.text.anchorY + top;
        }
      }
      p_.texts.push_back(placed);
    }
    p_.width = std::max(right_ + UnrolledPicture::kRightMargin, 640.0);
    p_.legendTop = y;
    p_.height = y + LegendHeight(p_, r_, p_.width) + 10;
    double wy = UnrolledPicture::kTitleHeight;
    for (const std::string& w : p_.warnings) {
      p_.warningBoxes.push_back({UnrolledLayout::kPlotLeft, wy, UnrolledLayout::kPlotLeft + TextWidth(w, 12), wy + 16});
      wy += UnrolledPicture::kWarningHeight;
    }
  }

  const RigReport& r_;
  UnrolledPicture& p_;
  double right_ = 0;
};

UnrolledLayout LayoutOf(const RigReport& r) {
  double h0 = 0, h1 = 0;
  const std::vector<AngleSpan> spans = ContentSpans(r, &h0, &h1);
  return UnrolledLayout(spans, h0, h1, r.scene.radius, r.scene.camera.aimAngle + 180.0);
}

}  // namespace

std::array<double, 2> GridPointOffset(int i) {
  static const double kOffsets[8][2] = {{0, -0.5}, {0.5, -0.5}, {0.5, 0},  {0.5, 0.5},
                                        {0, 0.5},  {-0.5, 0.5}, {-0.5, 0}, {-0.5, -0.5}};
  const int k = ((i % 8) + 8) % 8;
  return {kOffsets[k][0], kOffsets[k][1]};
}

UnrolledPicture PlanUnrolledPicture(const RigReport& report) {
  UnrolledPicture picture(LayoutOf(report));
  Planner(report, picture).Plan();
  return picture;
}

}  // namespace rig
