// Arbitrary bytes read as a scene file. Properties: the reader refuses with
// a bad-input RigError naming the file or accepts; an accepted scene passes
// the shared validation, runs through the module (or is refused by it with
// a module RigError), gives a finite report or a bad-input refusal, and
// comes back from its saved project with the same names and values, bit for
// bit.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/RigFuzzSupport.h"
#include "host/kestrine/VelFileLoader.h"
#include "rig/engine/RigGraph.h"
#include "rig/pictures/RigPicture.h"
#include "rig/reports/ReportFiniteness.h"
#include "rig/reports/RigReport.h"
#include "rig/scene/SceneReader.h"
#include "rig/scene/SceneValidation.h"

namespace {

// Enough projectors to reach the module's list handling, few enough that
// one input stays well inside the time limit.
constexpr std::size_t kMaxRunProjectors = 64;

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void CheckRoundTrip(const rig::Scene& scene, rig::ModuleSession& session) {
  const std::string bytes = session.ProjectBytes();
  rig::ModuleSession again = fuzz::NewSession();
  VelFileLoader loader(std::vector<unsigned char>(bytes.begin(), bytes.end()));
  fuzz::Require(again.Group().LoadProject(loader), "a saved project loads");
  rig::RigGraph graph;
  fuzz::Require(fuzz::Refusable([&] { graph = rig::FindRigGraph(again, "fuzz.kprj"); },
                                rig::kExitBadInput, "fuzz.kprj"),
                "load accepts what run saved");
  const rig::Scene back = rig::SceneOfGraph(graph);
  fuzz::Require(back.projectors.size() == scene.projectors.size(), "every projector comes back");
  for (std::size_t i = 0; i < scene.projectors.size(); ++i) {
    fuzz::Require(back.projectors[i].name == scene.projectors[i].name, "names come back unchanged");
    for (int k = 0; k < kProjectorParameterCount; ++k) {
      fuzz::Require(SameBits(ParameterOf(back.projectors[i].parameters, k),
                             ParameterOf(scene.projectors[i].parameters, k)),
                    "parameters come back bit for bit");
    }
  }
  fuzz::Require(SameBits(back.radius, scene.radius), "the radius comes back");
  fuzz::Require(back.calibrations.size() == scene.calibrations.size(), "every calibration comes back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(bytes), size);
  rig::Scene scene;
  if (!fuzz::Refusable([&] { scene = rig::ReadSceneText(text, "fuzz.json"); }, rig::kExitBadInput,
                       "fuzz.json")) {
    return 0;
  }
  fuzz::Require(!rig::FindSceneProblem(scene), "an accepted scene passes the validation");
  if (scene.projectors.size() > kMaxRunProjectors) return 0;

  rig::ModuleSession session = fuzz::NewSession();
  rig::RigGraph graph = rig::BuildRigGraph(session, scene);
  if (!fuzz::Refusable([&] { rig::EvaluateRig(graph, true); }, rig::kExitModule, "")) return 0;
  fuzz::Refusable(
      [&] {
        const rig::RigReport report = rig::BuildRigReport(graph, false);
        rig::FiniteReportJson(report);
        rig::RigReportJson(report).dump();
        rig::RigPictureSvg(report);
      },
      rig::kExitBadInput, "");
  CheckRoundTrip(scene, session);
  return 0;
}
