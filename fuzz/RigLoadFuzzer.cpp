// Arbitrary bytes loaded as a rig project, as `vistrel-rig load` does.
// Properties: a project the group cannot load, or one that is not a rig,
// or holds values outside their intervals, is refused with a bad-input
// RigError naming the file; one that loads is evaluated, reported (text,
// JSON, picture) or refused the same way; no other exception escapes (the
// JSON library's own text never reaches the user) and nothing crashes.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <vector>

#include "fuzz/RigFuzzSupport.h"
#include "host/kestrine/VelFileLoader.h"
#include "rig/engine/RigGraph.h"
#include "rig/pictures/RigPicture.h"
#include "rig/reports/ReportFiniteness.h"
#include "rig/reports/RigReport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  rig::ModuleSession session = fuzz::NewSession();
  VelFileLoader loader(std::vector<unsigned char>(bytes, bytes + size));
  if (!session.Group().LoadProject(loader)) return 0;
  rig::RigGraph graph;
  if (!fuzz::Refusable([&] { graph = rig::FindRigGraph(session, "fuzz.kprj"); }, rig::kExitBadInput,
                       "fuzz.kprj")) {
    return 0;
  }
  if (!fuzz::Refusable([&] { rig::EvaluateRig(graph, false); }, rig::kExitModule, "")) return 0;
  fuzz::Refusable(
      [&] {
        const rig::RigReport report = rig::BuildRigReport(graph, true);
        rig::FiniteReportJson(report);
        std::ostringstream text;
        rig::PrintRigReport(text, report);
        rig::RigReportJson(report).dump();
        rig::RigPictureSvg(report);
      },
      rig::kExitBadInput, "");
  return 0;
}
