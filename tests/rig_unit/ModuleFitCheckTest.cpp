// A module result that differs from the program's copy of the search in a
// single bit is refused, naming the parameter; the copy's own result passes.
#include <gtest/gtest.h>

#include <cmath>

#include "rig/RigError.h"
#include "rig/engine/ModuleFitCheck.h"
#include "tests/rig_calibration/FitProblem.h"

namespace {

TEST(ModuleFitCheck, RefusesAResultThatDiffersInOneBit) {
  const fit_scene::Scene scene;
  const fit_scene::Shifts shifts =
      fit_scene::SimulatedShifts(scene, fit_scene::kStartingProjector, fit_scene::TrueProjector());
  const rig::CalibrationProblem problem = fit_scene::ProblemWith(shifts, fit_scene::kMisplaced);

  // The module's result, as the module runs it: a fresh tweaker on the
  // same inputs.
  fit_scene::Fit module(scene, shifts, problem.ranges);
  module.TweakParameters(problem.searchMask);
  ProjectorParameters fitted{};
  for (int k = 0; k < 9; ++k) ParameterOf(fitted, k) = module.Parameter(k).storage;
  EXPECT_NO_THROW(rig::CheckModuleFit(problem, fitted, "A"));

  fitted.ProjRoll = std::nextafter(fitted.ProjRoll, 100.0f);
  try {
    rig::CheckModuleFit(problem, fitted, "A");
    ADD_FAILURE() << "a different result was accepted";
  } catch (const rig::RigError& e) {
    EXPECT_EQ(e.Status(), rig::kExitModule);
    EXPECT_NE(std::string(e.what()).find("ProjRoll"), std::string::npos) << e.what();
  }
}

}  // namespace
