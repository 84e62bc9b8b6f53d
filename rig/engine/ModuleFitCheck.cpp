#include "rig/engine/ModuleFitCheck.h"

#include <cstring>

#include "rig/RigError.h"
#include "rig/scene/Scene.h"
#include "rig/output/ShortestFloat.h"

namespace rig {
namespace {

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

void CheckModuleFit(const CalibrationProblem& problem, const ProjectorParameters& moduleFitted,
                    const std::string& projector) {
  DistortionParameterTweaker copy = TweakerFor(problem);
  copy.TweakParameters(problem.searchMask);
  for (int k = 0; k < kProjectorParameterCount; ++k) {
    const float module = ParameterOf(moduleFitted, k);
    const float own = copy.Parameter(k).storage;
    if (SameBits(module, own)) continue;
    throw RigError(kExitModule,
                   "calibration of projector \"" + projector + "\": the loaded module found " +
                       ParameterName(k) + " = " + ShortestFloatText(module) +
                       ", this program's copy of its search " + ShortestFloatText(own) +
                       "; the errors and residuals the program reports would not be the module's. "
                       "Use the module built with this program (or leave out --module)");
  }
}

}  // namespace rig
