// The pictures' layout decided before drawing: labels that never collide,
// neighbours in different colours, a cut that keeps footprints whole, a
// canvas that holds everything at 1 to 512 projectors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "rig/pictures/LabelPlacement.h"
#include "rig/pictures/PlanView.h"
#include "rig/pictures/PolylineSimplification.h"
#include "rig/pictures/ProjectorColours.h"
#include "rig/pictures/UnrolledPicture.h"
#include "tests/rig/SyntheticRig.h"

namespace {

using rig::LabelBox;

TEST(LabelPlacement, TakesTheFirstFreeCandidateAgainstObstaclesAndEarlierLabels) {
  const double inf = INFINITY;
  struct Case {
    const char* what;
    std::vector<LabelBox> obstacles;
    std::vector<std::vector<LabelBox>> candidates;
    std::vector<int> expected;
  };
  const std::vector<Case> cases = {
      {"an overlap moves the label on; a shared edge is no overlap",
       {{0, 0, 10, 10}}, {{{5, 5, 15, 15}, {10, 0, 20, 10}}}, {1}},
      {"the second of two labels wanting one place finds none",
       {}, {{{0, 0, 10, 10}}, {{2, 2, 8, 8}}}, {0, -1}},
      {"an obstacle reaching into the next row of cells",
       {{0, 14, 10, 18}}, {{{0, 17, 10, 20}, {0, 18, 10, 22}}}, {1}},
      {"boxes meeting across the grid's cells at negative coordinates",
       {{-20, -20, -17, -17}}, {{{-18, -18, -16, -16}, {-17, -20, -15, -18}}}, {1}},
      {"an obstacle larger than the grid keeps out labels inside it",
       {{-1000, -1000, 5000, 5000}}, {{{100, 100, 110, 110}, {5000, 0, 5010, 10}}}, {1}},
      {"a box that is not finite is never chosen",
       {}, {{{0, 0, inf, 10}, {0, 0, 10, 10}}}, {1}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rig::PlaceLabels(c.candidates, c.obstacles, 16), c.expected) << c.what;
  }
}

// Every box the planner placed, projector labels among them.
void ExpectLabelsApartAndOnTheCanvas(const rig::UnrolledPicture& p, std::size_t projectors) {
  std::size_t named = 0;
  for (std::size_t i = 0; i < p.texts.size(); ++i) {
    const LabelBox& a = p.texts[i].box;
    named += p.texts[i].role == rig::TextRole::kProjector;
    ASSERT_GE(a.x0, 0) << p.texts[i].text;
    ASSERT_LE(a.x1, p.width) << p.texts[i].text;
    ASSERT_GE(a.y0, 0) << p.texts[i].text;
    ASSERT_LE(a.y1, p.legendTop) << p.texts[i].text << ": in the legend";
    for (const LabelBox& w : p.warningBoxes) ASSERT_FALSE(rig::BoxesOverlap(a, w)) << p.texts[i].text;
    for (std::size_t j = 0; j < i; ++j) {
      ASSERT_FALSE(rig::BoxesOverlap(a, p.texts[j].box)) << p.texts[i].text << " on " << p.texts[j].text;
    }
  }
  EXPECT_EQ(named, projectors) << "every projector labelled";
}

TEST(UnrolledPicture, LabelsNeverOverlapAtEightSixtyFourAndFiveHundredTwelveProjectors) {
  for (int count : {8, 64, 512}) {
    SCOPED_TRACE(count);
    const rig::RigReport r = rig_test::Ring(count);
    const rig::UnrolledPicture p = rig::PlanUnrolledPicture(r);
    ExpectLabelsApartAndOnTheCanvas(p, r.projectors.size());
    EXPECT_FALSE(p.warnings.empty()) << "one eye cannot frame a ring";
    // Not a thin strip: the bands' plots together at least an eighth as tall as wide.
    const double plots = p.layout.PlotHeight() * p.layout.Bands().size();
    EXPECT_GE(plots, 0.125 * p.layout.MaxPlotWidth());
    EXPECT_LE(p.layout.MaxPlotWidth(), rig::UnrolledLayout::kMaxPlotWidth + 1);
  }
}

TEST(UnrolledPicture, NamesTooLongToFitTurnIntoNumbersKeyedInTheLegend) {
  rig::RigReport r = rig_test::Ring(64);
  for (rig::ProjectorReport& p : r.projectors) p.name = "projector on the far left rack, " + p.name;
  const rig::UnrolledPicture p = rig::PlanUnrolledPicture(r);
  EXPECT_TRUE(p.numbered);
  ExpectLabelsApartAndOnTheCanvas(p, 64);
  EXPECT_GT(p.height - p.legendTop, 64 / 4 * 15.0) << "the key holds every name";

  const rig::UnrolledPicture few = rig::PlanUnrolledPicture(rig_test::Ring(8));
  EXPECT_FALSE(few.numbered);
}

TEST(ProjectorColours, FootprintsThatOverlapNeverShareAColour) {
  struct Case {
    int count, rows;
  };
  // An odd ring needs a third colour; rows meet above and below too.
  for (const Case c : {Case{7, 1}, Case{8, 1}, Case{64, 2}, Case{512, 1}}) {
    const rig::RigReport r = rig_test::Ring(c.count, c.rows);
    const std::vector<int> colour = rig::ProjectorColours(r);
    std::size_t pairs = 0;
    for (std::size_t i = 0; i < r.projectors.size(); ++i) {
      for (std::size_t j = 0; j < i; ++j) {
        const rig::ProjectorReport &a = r.projectors[i], &b = r.projectors[j];
        // Angle intervals meet on the circle (tried a turn either way).
        bool meet = false;
        for (float turn : {-360.0f, 0.0f, 360.0f}) {
          meet = meet || (a.angleFrom < b.angleTo + turn && b.angleFrom + turn < a.angleTo);
        }
        if (meet && a.heightFrom < b.heightTo && b.heightFrom < a.heightTo) {
          ++pairs;
          ASSERT_NE(colour[i], colour[j]) << c.count << "x" << c.rows << ": " << a.name << " and " << b.name;
        }
      }
    }
    EXPECT_GE(pairs, r.projectors.size()) << "the ring closes: as many overlapping pairs as projectors";
  }
}

// For each footprint, whether some band shows it whole (turned by whole turns).
bool ShownWhole(const rig::UnrolledLayout& l, const rig::ProjectorReport& p) {
  for (const rig::UnrolledBand& b : l.Bands()) {
    for (double turn : {-720.0, -360.0, 0.0, 360.0, 720.0}) {
      if (b.angleFrom <= p.angleFrom + turn && p.angleTo + turn <= b.angleTo) return true;
    }
  }
  return false;
}

TEST(UnrolledLayout, KeepsEveryFootprintWholeAcrossPlusMinus180AndAroundTheRing) {
  struct Case {
    const char* what;
    rig::RigReport report;
    std::size_t bands;
  };
  const std::vector<Case> cases = {
      // 170 and -170: the pair meets across the +-180 line, the eye looks the other way.
      {"a pair across +-180", rig_test::SyntheticReport({{170, 1, 30, 30}, {-170, 1, 30, 30}}, 0), 1},
      {"three side by side ahead", rig_test::SyntheticReport({{-40, 1, 40, 30}, {0, 1, 40, 30}, {40, 1, 40, 30}}), 1},
      {"a ring of 8", rig_test::Ring(8), 2},
  };
  for (const Case& c : cases) {
    const rig::UnrolledLayout& l = rig::PlanUnrolledPicture(c.report).layout;
    EXPECT_EQ(l.Bands().size(), c.bands) << c.what;
    for (const rig::ProjectorReport& p : c.report.projectors) EXPECT_TRUE(ShownWhole(l, p)) << c.what << " " << p.name;
    if (l.WholeCircle()) {
      // A footprint across a band's end is drawn whole on both sides of it
      // (the first band's start is the last band's end, a turn on).
      const std::vector<rig::UnrolledBand>& b = l.Bands();
      for (std::size_t k = 0; k < b.size(); ++k) {
        const rig::UnrolledBand& next = b[(k + 1) % b.size()];
        const double turn = k + 1 == b.size() ? 360.0 : 0.0;
        for (const rig::ProjectorReport& p : c.report.projectors) {
          for (double t : {-720.0, -360.0, 0.0, 360.0, 720.0}) {
            if (!(p.angleFrom + t < b[k].nominalTo && b[k].nominalTo < p.angleTo + t)) continue;
            EXPECT_TRUE(b[k].angleFrom <= p.angleFrom + t && p.angleTo + t <= b[k].angleTo) << c.what << " " << p.name;
            EXPECT_TRUE(next.angleFrom <= p.angleFrom + t - turn && p.angleTo + t - turn <= next.angleTo)
                << c.what << " " << p.name;
          }
        }
      }
      continue;
    }
    // A stretch short of a turn starts and ends where no footprint lies.
    for (const rig::ProjectorReport& p : c.report.projectors) {
      for (double turn : {-360.0, 0.0, 360.0}) {
        for (double end : {l.Bands().front().angleFrom, l.Bands().back().angleTo}) {
          EXPECT_FALSE(p.angleFrom + turn < end && end < p.angleTo + turn) << c.what << " cut through " << p.name;
        }
      }
    }
  }
}

TEST(UnrolledPicture, NumbersTheEightCalibrationPointsInGridOrder) {
  rig::RigReport r = rig_test::SyntheticReport({{0, 1, 40, 30}});
  rig::CalibrationReport k;
  k.projector = "P1";
  k.start = k.fitted = r.projectors[0].parameters;
  const rig::ProjectorLens lens = rig::LensOf(k.start, 5);
  for (int i = 0; i < 8; ++i) {
    const std::array<double, 2> g = rig::GridPointOffset(i);
    k.targets[i] = k.startPoints[i] = k.fittedPoints[i] =
        rig::Unroll(rig::ScreenPointOfImage(lens, 5, static_cast<float>(0.5 + g[0]), static_cast<float>(0.5 + g[1])), 0);
  }
  r.calibrations.push_back(k);
  const rig::UnrolledPicture p = rig::PlanUnrolledPicture(r);
  std::set<std::string> numbers;
  for (const rig::PlacedText& t : p.texts) {
    if (t.role == rig::TextRole::kCalibrationPoint) numbers.insert(t.text);
  }
  EXPECT_EQ(numbers, (std::set<std::string>{"0", "1", "2", "3", "4", "5", "6", "7"}));
  // Grid point 1 is the image's top right corner: up and to the right on the screen.
  EXPECT_GT(k.targets[1].angle, k.targets[0].angle);
  EXPECT_GT(k.targets[1].height, k.targets[4].height);
  ExpectLabelsApartAndOnTheCanvas(p, 1);
}

TEST(PlanView, NumbersEveryProjectorWithoutOverlapsFromOneToFiveHundredTwelve) {
  for (int count : {1, 8, 64, 512}) {
    SCOPED_TRACE(count);
    const rig::PlanView v = rig::LayOutPlanView(rig_test::Ring(count));
    ASSERT_EQ(v.labels.size(), static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < v.labels.size(); ++i) {
      const LabelBox& a = v.labels[i].box;
      ASSERT_TRUE(a.x0 >= 0 && a.x1 <= v.width && a.y0 >= 0 && a.y1 <= v.keyTop) << i;
      for (const LabelBox& m : v.fixedMarks) ASSERT_FALSE(rig::BoxesOverlap(a, m)) << i;
      for (std::size_t j = 0; j < i; ++j) ASSERT_FALSE(rig::BoxesOverlap(a, v.labels[j].box)) << i << " on " << j;
    }
  }
}

// Distance from (px, py) to the segment a-b, by projection onto its line.
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay, t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

TEST(PolylineSimplification, DropsOnlyPointsWithinTheToleranceOfTheKeptLine) {
  // A straight run, an L, and a quarter circle of radius 100 px in 256
  // points (a sagitta of 0.1 px allows chords of 2*sqrt(2*100*0.1) = 8.9 px,
  // so about 157 / 8.9 = 18 chords; allow for the splits falling unevenly).
  std::vector<double> lineX, lineY, elX, elY, arcX, arcY;
  for (int i = 0; i <= 10; ++i) lineX.push_back(i * 3.0), lineY.push_back(i * 1.5);
  for (int i = 0; i <= 10; ++i) elX.push_back(i <= 5 ? i : 5), elY.push_back(i <= 5 ? 0 : i - 5);
  for (int i = 0; i < 256; ++i) {
    arcX.push_back(100 * std::cos(i * std::acos(-1.0) / 2 / 255)), arcY.push_back(100 * std::sin(i * std::acos(-1.0) / 2 / 255));
  }
  EXPECT_EQ(rig::KeptPoints(lineX, lineY, 0.1), (std::vector<std::size_t>{0, 10}));
  EXPECT_EQ(rig::KeptPoints(elX, elY, 0.1), (std::vector<std::size_t>{0, 5, 10}));
  const std::vector<std::size_t> arc = rig::KeptPoints(arcX, arcY, 0.1);
  EXPECT_GE(arc.size(), 18u);
  EXPECT_LE(arc.size(), 40u);
  for (std::size_t k = 0; k + 1 < arc.size(); ++k) {
    for (std::size_t i = arc[k] + 1; i < arc[k + 1]; ++i) {
      EXPECT_LE(SegmentDistance(arcX[i], arcY[i], arcX[arc[k]], arcY[arc[k]], arcX[arc[k + 1]], arcY[arc[k + 1]]), 0.1);
    }
  }
  // Nothing to judge a line with a missing coordinate by: kept whole.
  lineY[4] = NAN;
  EXPECT_EQ(rig::KeptPoints(lineX, lineY, 0.1).size(), 11u);
}

}  // namespace
