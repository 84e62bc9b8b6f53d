// Coverage of hand-made footprints whose overlaps, gaps and holes follow
// from their corners. The radius is 180 / pi, so one degree of screen angle
// is one unit of length and every expected width and area is read off the
// rectangles directly.
#include <gtest/gtest.h>

#include <vector>

#include "rig/analyses/Coverage.h"

namespace {

using rig::CoverageInput;
using rig::CoverageReport;
using rig::SeamDirection;
using rig::UnrolledPoint;
using Outline = std::vector<UnrolledPoint>;

constexpr float kUnitRadius = 57.29577951f;  // 180 / pi
constexpr float kTolerance = 2e-3f;

// The rectangle [a0, a1] x [h0, h1], traced with a few points per edge as
// a traced border is.
Outline Box(float a0, float a1, float h0, float h1) {
  Outline out;
  for (int k = 0; k < 4; ++k) out.push_back({a0 + (a1 - a0) * k / 4, h0});
  for (int k = 0; k < 4; ++k) out.push_back({a1, h0 + (h1 - h0) * k / 4});
  for (int k = 0; k < 4; ++k) out.push_back({a1 - (a1 - a0) * k / 4, h1});
  for (int k = 0; k < 4; ++k) out.push_back({a0, h1 - (h1 - h0) * k / 4});
  return out;
}

CoverageReport Analyse(std::vector<Outline> footprints, rig::ScreenExtent extent = {}) {
  CoverageInput input;
  input.radius = kUnitRadius;
  input.extent = extent;
  input.footprints = std::move(footprints);
  return rig::AnalyseCoverage(input);
}

struct OverlapCase {
  const char* name;
  std::vector<Outline> footprints;
  SeamDirection across;
  float area, width, whereAngle;
};

TEST(Coverage, OverlapsHaveTheirAreaWidthAcrossTheSeamAndPlace) {
  const OverlapCase cases[] = {
      {"side by side", {Box(0, 10, 0, 5), Box(8, 18, 0, 5)}, SeamDirection::kSideBySide, 10, 2, 9},
      // Equally wide everywhere: the first of the 64 lines is the narrowest.
      {"stacked rows", {Box(0, 10, 0, 5), Box(0, 10, 4, 9)}, SeamDirection::kStacked, 10, 1, 10.0f / 128},
      // The first runs from 170 past 180 to -175 (185), the second from -178.
      {"across +-180", {Box(170, 185, 0, 5), Box(-178, -170, 0, 5)}, SeamDirection::kSideBySide, 15, 3, -176.5f},
      {"outline given a turn away", {Box(-190, -175, 0, 5), Box(-178, -170, 0, 5)}, SeamDirection::kSideBySide,
       15, 3, -176.5f},
  };
  for (const OverlapCase& c : cases) {
    const CoverageReport r = Analyse(c.footprints);
    ASSERT_EQ(r.overlaps.size(), 1u) << c.name;
    EXPECT_TRUE(r.gaps.empty()) << c.name;
    const rig::CoverageOverlap& o = r.overlaps[0];
    EXPECT_EQ(o.first, 0) << c.name;
    EXPECT_EQ(o.second, 1) << c.name;
    EXPECT_EQ(o.across, c.across) << c.name;
    EXPECT_NEAR(o.area, c.area, kTolerance) << c.name;
    EXPECT_NEAR(o.minWidth, c.width, kTolerance) << c.name;
    EXPECT_NEAR(o.maxWidth, c.width, kTolerance) << c.name;
    if (c.across == SeamDirection::kSideBySide) {
      EXPECT_NEAR(o.minWidthDegrees, c.width, kTolerance) << c.name;
    }
    EXPECT_NEAR(o.whereMin.angle, c.whereAngle, kTolerance) << c.name;
  }
}

TEST(Coverage, SlantedEdgesThatPartReportANegativeMinimumWhereTheyPart) {
  // The first's right edge leans from 10 at the bottom to 12 at the top;
  // the second's left edge stands at 11: a gap of 1 at the bottom, an
  // overlap of 1 at the top, measured on lines 5/64 apart from 5/128 up.
  const Outline leaning = {{0, 0}, {10, 0}, {10.4f, 1}, {11.2f, 3}, {12, 5}, {0, 5}};
  const CoverageReport r = Analyse({leaning, Box(11, 20, 0, 5)});
  ASSERT_EQ(r.overlaps.size(), 1u);
  const float first = 5.0f / 128, last = 5 - first;
  EXPECT_NEAR(r.overlaps[0].minWidth, 0.4f * first - 1, kTolerance);
  EXPECT_NEAR(r.overlaps[0].maxWidth, 0.4f * last - 1, kTolerance);
  EXPECT_NEAR(r.overlaps[0].whereMin.height, first, kTolerance);
  EXPECT_NEAR(r.overlaps[0].area, 0.5f * 2.5f * 1, kTolerance);  // the triangle above 2.5
}

TEST(Coverage, GapsBetweenNeighboursButNotAcrossAThirdFootprint) {
  const CoverageReport apart = Analyse({Box(0, 10, 0, 5), Box(11.5f, 21, 0, 5)});
  EXPECT_TRUE(apart.overlaps.empty());
  ASSERT_EQ(apart.gaps.size(), 1u);
  const rig::CoverageGap& g = apart.gaps[0];
  EXPECT_EQ(g.across, SeamDirection::kSideBySide);
  EXPECT_NEAR(g.width, 1.5f, kTolerance);
  EXPECT_NEAR(g.where.angle, 10.75f, kTolerance);
  EXPECT_NEAR(g.fromPoint.angle, 10, kTolerance);
  EXPECT_NEAR(g.toPoint.angle, 11.5f, kTolerance);

  const CoverageReport rows = Analyse({Box(0, 10, 0, 5), Box(0, 10, 5.25f, 9)});
  ASSERT_EQ(rows.gaps.size(), 1u);
  EXPECT_EQ(rows.gaps[0].across, SeamDirection::kStacked);
  EXPECT_NEAR(rows.gaps[0].width, 0.25f, kTolerance);

  // A and C do not meet, but B lights everything between them.
  const CoverageReport three = Analyse({Box(0, 10, 0, 5), Box(8, 18, 0, 5), Box(16, 26, 0, 5)});
  EXPECT_EQ(three.overlaps.size(), 2u);
  EXPECT_TRUE(three.gaps.empty());
}

TEST(Coverage, AWholeRingPairsEveryNeighbourOnceIncludingTheOneAcross180) {
  // Four footprints 100 degrees wide centred 90 apart: 10 degrees overlap each.
  const CoverageReport r = Analyse({Box(-50, 50, 0, 5), Box(40, 140, 0, 5), Box(130, 230, 0, 5), Box(-140, -40, 0, 5)},
                                   {std::array<float, 2>{0, 0}, std::array<float, 2>{1, 4}});
  ASSERT_EQ(r.overlaps.size(), 4u);
  const int pairs[4][2] = {{0, 1}, {0, 3}, {1, 2}, {2, 3}};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(r.overlaps[k].first, pairs[k][0]);
    EXPECT_EQ(r.overlaps[k].second, pairs[k][1]);
    EXPECT_NEAR(r.overlaps[k].minWidth, 10, kTolerance);
  }
  EXPECT_TRUE(r.gaps.empty());
  EXPECT_TRUE(r.wholeCircle);
  EXPECT_TRUE(r.uncovered.empty());
  EXPECT_NEAR(r.areaSize, 360 * 3, 0.1f);
  EXPECT_NEAR(r.coveredSize, 360 * 3, 0.1f);
}

TEST(Coverage, UncoveredPartsOfTheExtentOrHolesBetweenFootprints) {
  // The second stops below the extent's top: its top-right corner is dark.
  const CoverageReport corner = Analyse({Box(0, 10, 0, 5), Box(8, 20, 0, 4)},
                                        {std::array<float, 2>{0, 20}, std::array<float, 2>{0, 5}});
  ASSERT_EQ(corner.uncovered.size(), 1u);
  EXPECT_NEAR(corner.uncovered[0].area, 10, kTolerance);
  EXPECT_NEAR(corner.uncovered[0].bounds.angleFrom, 10, kTolerance);
  EXPECT_NEAR(corner.uncovered[0].bounds.angleTo, 20, kTolerance);
  EXPECT_NEAR(corner.uncovered[0].bounds.heightFrom, 4, kTolerance);
  EXPECT_NEAR(corner.coveredSize, 90, kTolerance);

  // An extent across +-180, from 170 to -170, half lit.
  const CoverageReport seam = Analyse({Box(170, 180, 0, 5)}, {std::array<float, 2>{170, -170}, std::nullopt});
  ASSERT_EQ(seam.uncovered.size(), 1u);
  EXPECT_NEAR(seam.uncovered[0].area, 50, kTolerance);
  EXPECT_NEAR(seam.uncovered[0].bounds.angleFrom, -180, kTolerance);

  // No extent: a frame of four footprints encloses a dark square of 4 x 4.
  const CoverageReport frame =
      Analyse({Box(0, 10, 0, 3), Box(0, 10, 7, 10), Box(0, 3, 0, 10), Box(7, 10, 0, 10)});
  ASSERT_EQ(frame.uncovered.size(), 1u);
  EXPECT_NEAR(frame.uncovered[0].area, 16, kTolerance);
  EXPECT_FALSE(frame.extentGiven);

  const CoverageReport one = Analyse({Box(0, 10, 0, 5)});
  EXPECT_TRUE(one.overlaps.empty() && one.gaps.empty() && one.uncovered.empty());
}

}  // namespace
