// The certainty analysis against its closed form: for two searched
// parameters the covariance is sigma^2 (J^T J)^-1 with a 2 x 2 inverse
// written out by hand, J taken here by central differences of the camera
// points (a different method from the solver's derivatives); the residual
// noise is sqrt(error / (16 - n)) for n searched parameters.
#include <gtest/gtest.h>

#include <cmath>

#include "rig/calibration/CalibrationCertainty.h"
#include "tests/rig_calibration/FitProblem.h"

namespace {

using fit_scene::Projector;

constexpr int kHeight = 1, kFovX = 5, kRoll = 8;  // ProjLookatHeight, ProjFovX, ProjRoll

using fit_scene::ProblemWith;

// d(camera point i)/d(parameter k) at `p`, central differences in double.
D3DXVECTOR2 Derivative(const Projector& p, int k, int i, float h) {
  const fit_scene::Scene scene;
  Projector lo = p, hi = p;
  ParameterOf(lo, k) -= h;
  ParameterOf(hi, k) += h;
  const D3DXVECTOR2 g = DistortionParameterTweaker::kGridPoints[i];
  const D3DXVECTOR2 a = fit_scene::Map(scene, lo, g, true), b = fit_scene::Map(scene, hi, g, true);
  const double width = 2.0 * h;
  return D3DXVECTOR2(static_cast<float>((double(b.x) - a.x) / width),
                     static_cast<float>((double(b.y) - a.y) / width));
}

// One parameter: sigma over the length of its Jacobian column.
TEST(CalibrationCertainty, MatchesTheClosedFormCovarianceOfOneAndTwoParameters) {
  const Projector start = fit_scene::kStartingProjector;
  struct Case {
    int a, b;             // b < 0: a alone
    float stepA, stepB;  // finite-difference steps, parameter units
  };
  for (const Case& c : {Case{kHeight, -1, 0.01f, 0}, Case{kRoll, -1, 0.05f, 0}, Case{kHeight, kFovX, 0.01f, 0.05f},
                        Case{kFovX, kRoll, 0.05f, 0.05f}}) {
    SCOPED_TRACE(testing::Message() << c.a << " " << c.b);
    const bool two = c.b >= 0;
    // No shifts: the start is the exact solution and the noise is the assumed one.
    const rig::CalibrationProblem problem = ProblemWith(fit_scene::Shifts{}, (1u << c.a) | (two ? 1u << c.b : 0u));
    float values[9];
    for (int k = 0; k < 9; ++k) values[k] = ParameterOf(start, k);
    const float sigma = 2e-3f;
    const rig::CalibrationCertainty got = rig::AnalyseCertainty(problem, values, sigma);

    double aa = 0, ab = 0, bb = 0;
    for (int i = 0; i < 8; ++i) {
      const D3DXVECTOR2 ja = Derivative(start, c.a, i, c.stepA);
      const D3DXVECTOR2 jb = two ? Derivative(start, c.b, i, c.stepB) : D3DXVECTOR2(0.0f, 0.0f);
      aa += double(ja.x) * ja.x + double(ja.y) * ja.y;
      ab += double(ja.x) * jb.x + double(ja.y) * jb.y;
      bb += double(jb.x) * jb.x + double(jb.y) * jb.y;
    }
    if (!two) bb = 1;  // the 1 x 1 inverse, 1 / aa
    const double det = aa * bb - ab * ab;
    const double sdA = sigma * std::sqrt(bb / det), sdB = sigma * std::sqrt(aa / det);
    const double widthA = problem.ranges[c.a].maxVal - problem.ranges[c.a].minVal;

    ASSERT_TRUE(got.determined);
    EXPECT_EQ(got.pointNoise, sigma);
    ASSERT_EQ(got.parameters.size(), two ? 2u : 1u);
    EXPECT_EQ(got.parameters[0].parameter, c.a);
    EXPECT_NEAR(got.parameters[0].standardDeviation, sdA, 0.01 * sdA);
    EXPECT_NEAR(got.parameters[0].shareOfRange, sdA / widthA, 0.01 * sdA / widthA);
    if (two) {
      EXPECT_EQ(got.parameters[1].parameter, c.b);
      EXPECT_NEAR(got.parameters[1].standardDeviation, sdB, 0.01 * sdB);
    }
    const double correlation = -ab / std::sqrt(aa * bb);
    EXPECT_EQ(got.inseparable.empty(), std::fabs(correlation) <= 0.99) << correlation;
  }
}

TEST(CalibrationCertainty, ResidualNoiseDividesByTheDegreesOfFreedom) {
  // Shifts from a projector that stands elsewhere, analysed at the start:
  // the residuals are those of the start, error by the independent sum.
  const fit_scene::Scene scene;
  const Projector start = fit_scene::kStartingProjector;
  const fit_scene::Shifts shifts = fit_scene::SimulatedShifts(scene, start, fit_scene::TrueProjector());
  D3DXVECTOR2 targets[8];
  for (int i = 0; i < 8; ++i) {
    const D3DXVECTOR2 g = DistortionParameterTweaker::kGridPoints[i];
    targets[i] = fit_scene::Map(scene, start, D3DXVECTOR2(g.x + shifts[i].x, g.y + shifts[i].y), true);
  }
  const double error = fit_scene::ErrorAgainst(scene, start, targets);
  float values[9];
  for (int k = 0; k < 9; ++k) values[k] = ParameterOf(start, k);
  for (unsigned mask : {1u << kFovX, (1u << kHeight) | (1u << kFovX) | (1u << kRoll)}) {
    int n = 0;
    for (int k = 0; k < 9; ++k) n += (mask >> k) & 1u;
    const rig::CalibrationCertainty got = rig::AnalyseCertainty(ProblemWith(shifts, mask), values, 1e-6f);
    const double expected = std::sqrt(error / (16 - n));
    EXPECT_NEAR(got.residualNoise, expected, 1e-5 * expected) << n;
    EXPECT_EQ(got.pointNoise, got.residualNoise) << "the residuals imply more than 1e-6";
  }
}

}  // namespace
