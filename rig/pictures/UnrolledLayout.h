// Where the unrolled screen goes on the picture: which stretch of screen
// angle is shown, where it is cut, how it wraps into bands, and the one
// scale that maps scene lengths to pixels (the same across and up, so
// shapes are true).
//
// The cut: where no content (footprint, the eye's frame, calibration
// points, the screen extent) crosses, the middle of the widest such gap, so
// a rig across +-180 degrees stays in one piece. When the content goes all
// the way round, at the angle the fewest footprints cross, behind the
// camera's aim on a tie; the footprints across it are drawn whole at both
// ends. A long stretch (a 360-degree ring) wraps into bands stacked top to
// bottom, so the picture is never a thin strip: the fewest bands (at most
// kMaxBands) that make the plots together at least an eighth as tall as
// they are wide. Footprints across a band's end are drawn whole in both bands.
//
// Screen angles are degrees, unwrapped (any multiple of 360 may be added to
// draw a shape in a band); heights in scene lengths; pixels x right, y down.
#pragma once

#include <vector>

#include "rig/reports/RigReport.h"

namespace rig {

struct AngleSpan {
  double from = 0, to = 0;  // degrees, from <= to, at most 360 apart
  bool keepWhole = false;   // a footprint: never cut, drawn whole at a cut
};

struct UnrolledBand {
  double angleFrom = 0, angleTo = 0;  // the angles shown, padding and overhang included
  double nominalFrom = 0, nominalTo = 0;  // the share of the circle this band stands for
  double plotTop = 0;                 // pixel y of the top of its plot
};

class UnrolledLayout {
 public:
  static constexpr int kMaxBands = 8;
  static constexpr double kMaxPlotWidth = 1100, kMaxPlotHeight = 560, kPlotLeft = 70;

  // Lays out `spans` (every footprint's and other content's angle extent),
  // heights [heightFrom, heightTo] and the circle of `radius`. `behind` is
  // the angle a cut of the whole circle prefers (the camera's back).
  UnrolledLayout(const std::vector<AngleSpan>& spans, double heightFrom, double heightTo,
                 double radius, double behind);

  std::vector<UnrolledBand>& Bands() { return bands_; }
  const std::vector<UnrolledBand>& Bands() const { return bands_; }
  double Scale() const { return scale_; }        // pixels per scene length
  double PlotWidth(const UnrolledBand& b) const { return Arc(b.angleTo - b.angleFrom); }
  double PlotHeight() const { return (heightTop_ - heightBottom_) * scale_; }
  double MaxPlotWidth() const;
  double HeightBottom() const { return heightBottom_; }
  double HeightTop() const { return heightTop_; }
  bool WholeCircle() const { return wholeCircle_; }

  double X(const UnrolledBand& b, double angle) const { return kPlotLeft + Arc(angle - b.angleFrom); }
  double Y(const UnrolledBand& b, double height) const {
    return b.plotTop + (heightTop_ - height) * scale_;
  }
  // The whole turns (-720 ... 720) by which a shape spanning [from, to]
  // degrees must be turned to fall (in part) in band `b`: none, one, or
  // two (a shape wider than the band's overhang).
  std::vector<double> TurnsInto(const UnrolledBand& b, double from, double to) const;
  // The band whose nominal share holds `angle` (turned by whole turns).
  std::size_t HomeBand(double angle, double* turned) const;

 private:
  double Arc(double degrees) const;  // pixels along the screen

  std::vector<UnrolledBand> bands_;
  double radius_ = 1, scale_ = 1, heightBottom_ = 0, heightTop_ = 1;
  bool wholeCircle_ = false;
};

// The angle extents of everything the unrolled picture shows, and its
// height range: footprints, calibration points, the screen extent, and the
// eye's frame when it frames them (its angles only; it is clipped to the
// heights of the rest).
std::vector<AngleSpan> ContentSpans(const RigReport& report, double* heightFrom, double* heightTo);

}  // namespace rig
