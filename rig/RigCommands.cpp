#include "rig/RigCommands.h"

#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "rig/scene/DefaultRig.h"
#include "rig/reports/RefinementReport.h"
#include "rig/RigError.h"
#include "rig/engine/RigEvaluation.h"
#include "rig/engine/RigGraph.h"
#include "rig/pictures/RigPicture.h"
#include "rig/reports/RigReport.h"
#include "rig/scene/RigFeasibility.h"
#include "rig/scene/SceneReader.h"
#include "rig/scene/SceneWriteBack.h"
#include "rig/studio/StudioServer.h"
#include "rig/reports/TextTable.h"

namespace rig {
namespace {

namespace fs = std::filesystem;

constexpr char kModuleFile[] = "VistrelCommand.so";
constexpr char kDefaultPicture[] = "rig.svg";

// The module built beside the program: in its folder, or in the build
// tree's lib/ next to its bin/.
std::string ModulePath(const RigOptions& o) {
  if (!o.module.empty()) return o.module;
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) exe = fs::absolute(o.program, ec);
  const fs::path dir = exe.parent_path();
  for (const fs::path& candidate : {dir / kModuleFile, dir / ".." / "lib" / kModuleFile}) {
    if (fs::exists(candidate, ec)) return candidate.lexically_normal().string();
  }
  return (dir / kModuleFile).string();
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (fs::equivalent(a, b, ec)) return true;
  return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

// Outputs go only where the user named them, and never over an input.
void CheckOutputs(const RigOptions& o, const std::vector<std::string>& outputs) {
  const std::vector<std::string> inputs = {o.scene, o.project, o.module};
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    if (outputs[i].empty()) continue;
    for (const std::string& in : inputs) {
      if (!in.empty() && SameFile(outputs[i], in)) {
        throw RigError(kExitUsage, outputs[i] + " is an input of this run; refusing to overwrite it");
      }
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (SameFile(outputs[i], outputs[j])) {
        throw RigError(kExitUsage, outputs[i] + " is named for two outputs");
      }
    }
  }
}

void Output(const RigReport& report, const RigOptions& o, const std::string& svg,
            const std::string& intro) {
  if (o.json) {
    std::cout << RigReportJson(report).dump(2) << '\n';
  } else {
    std::cout << intro;
    PrintRigReport(std::cout, report);
  }
  if (!svg.empty()) {
    WriteRigPicture(report, svg);
    (o.json ? std::cerr : std::cout) << "\nPicture: " << svg
                                     << " (the unrolled screen; open it in a browser)\n";
  }
  if (!o.plan.empty()) {
    WriteRigPlan(report, o.plan);
    (o.json ? std::cerr : std::cout) << (svg.empty() ? "\n" : "") << "Plan: " << o.plan
                                     << " (the rig from above; open it in a browser)\n";
  }
}

int RunScene(const Scene& scene, const RigOptions& o, const std::string& svg, const std::string& intro) {
  CheckOutputs(o, {svg, o.plan, o.save});
  CheckRigFeasible(scene);
  ModuleSession session(ModulePath(o));
  RigReport report = EvaluateScene(session, scene, o.refine, nullptr);
  Output(report, o, svg, intro);
  if (!o.writeBack.empty()) {
    WriteBackRefinedScene(o.scene, report, o.writeBack);
    (o.json ? std::cerr : std::cout) << "Refined scene: " << o.writeBack << "\n";
  }
  if (!o.save.empty()) {
    session.SaveProject(o.save);
    (o.json ? std::cerr : std::cout) << "Project: " << o.save << " (vistrel-rig load " << o.save
                                     << " shows these results again)\n";
  }
  return kExitOk;
}

int ExecuteDefault(const RigOptions& o) {
  const Scene scene = DefaultRig();
  const ProjectorParameters& planned = scene.projectors[1].parameters;
  const ProjectorParameters truth = DefaultRigTruth(planned);
  std::string intro =
      "vistrel-rig: the embedded default rig. Three projectors side by side on a screen of radius 5, "
      "a camera near the axis.\nThe centre projector's eight shifts are simulated from the projector "
      "as it \"truly\" stands:";
  for (int k = 0; k < kProjectorParameterCount; ++k) {
    if (ParameterOf(truth, k) != ParameterOf(planned, k)) {
      intro += std::string(" ") + kParameterNames[k] + " " + Fixed(ParameterOf(truth, k), 3);
    }
  }
  intro += ";\nthe calibration below searches those four parameters and should land near them.\n"
           "Next: vistrel-rig run examples/four-projectors.json (from the repository: bash scripts/run.sh "
           "run examples/four-projectors.json); vistrel-rig --help lists every command.\n\n";
  return RunScene(scene, o, o.svg.empty() ? kDefaultPicture : o.svg, intro);
}

int ExecuteRun(const RigOptions& o) {
  CheckOutputs(o, {o.svg, o.plan, o.save});
  if (!o.writeBack.empty()) {
    // The one output that may name an input: the scene, when the user asks
    // for it to be rewritten.
    RigOptions others = o;
    others.scene.clear();
    CheckOutputs(others, {o.svg, o.plan, o.save, o.writeBack});
  }
  const Scene scene = ReadSceneFile(o.scene);
  return RunScene(scene, o, o.svg, "vistrel-rig: " + o.scene + "\n\n");
}

int ExecuteLoad(const RigOptions& o) {
  CheckOutputs(o, {o.svg, o.plan});
  ModuleSession session(ModulePath(o));
  session.LoadProject(o.project);
  RigGraph graph = FindRigGraph(session, o.project);
  CheckRigFeasible(SceneOfGraph(graph));
  EvaluateRig(graph, false);
  RigReport report = BuildRigReport(graph, true);
  if (o.refine) AddRefinements(report);
  Output(report, o, o.svg,
         "vistrel-rig: " + o.project + " (evaluated again; calibrations are shown as saved)\n\n");
  return kExitOk;
}

int ExecuteServe(const RigOptions& o) {
  StudioOptions studio;
  studio.scenePath = o.scene;
  studio.modulePath = ModulePath(o);
  studio.host = o.host;
  studio.port = o.port;
  return RunStudio(studio);
}

void CommonOptions(CLI::App& app, RigOptions& o) {
  app.add_option("--module", o.module, "the module file (default: the one built beside the program)")
      ->type_name("PATH");
  app.add_option("--plan", o.plan,
                 "write the plan view there (SVG): the rig from above, each projector numbered with its "
                 "light cone to its footprint")
      ->type_name("FILE");
  app.add_flag("--json", o.json, "print every result as JSON on stdout instead of tables");
}

CLI::Option* RefineOption(CLI::App& app, RigOptions& o) {
  return app.add_flag("--refine", o.refine,
                      "after the module's search, polish each calibration with a bounded least-squares "
                      "refinement and show both results side by side, with how well the points "
                      "determine each parameter");
}

void DefaultOptions(CLI::App& app, RigOptions& o) {
  CommonOptions(app, o);
  RefineOption(app, o);
  app.add_option("--svg", o.svg, "write the picture there instead of rig.svg")->type_name("FILE");
}

void RunOptions(CLI::App& app, RigOptions& o) {
  app.add_option("SCENE", o.scene, "the scene file (JSON)")->required()->type_name("FILE");
  CommonOptions(app, o);
  app.add_option("--svg", o.svg, "write the picture (SVG) there")->type_name("FILE");
  app.add_option("--save", o.save,
                 "save the whole project of channels there (the module's MODE blocks included)")
      ->type_name("PROJECT");
  CLI::Option* refine = RefineOption(app, o);
  app.add_option("--write-back", o.writeBack,
                 "with --refine: write a copy of the scene with the refined values there (the "
                 "calibrations of refined projectors left out); names the scene itself only if you "
                 "want it rewritten")
      ->type_name("FILE")
      ->needs(refine);
}

void LoadOptions(CLI::App& app, RigOptions& o) {
  app.add_option("PROJECT", o.project, "a project saved by run --save")->required()->type_name("FILE");
  CommonOptions(app, o);
  RefineOption(app, o);
  app.add_option("--svg", o.svg, "write the picture (SVG) there")->type_name("FILE");
}

void ServeOptions(CLI::App& app, RigOptions& o) {
  app.add_option("SCENE", o.scene, "the scene file (JSON); Save in the page rewrites it, keeping the previous "
                 "version as SCENE~")
      ->required()
      ->type_name("FILE");
  app.add_option("--module", o.module, "the module file (default: the one built beside the program)")
      ->type_name("PATH");
  app.add_option("--port", o.port, "the port to listen on (0: any free port)")
      ->capture_default_str()
      ->check(CLI::Range(0, 65535))
      ->type_name("N");
  app.add_option("--host", o.host,
                 "the address to listen on; anything but loopback lets other machines edit and save the scene")
      ->capture_default_str()
      ->type_name("ADDR");
}

}  // namespace

const std::vector<RigCommand>& RigCommandTable() {
  static const std::vector<RigCommand> table = {
      {"",
       "Plan, frame and calibrate a projector rig on a cylindrical screen through the calibration "
       "command module, as the engine would drive it. Without a command: the embedded default rig "
       "(three projectors, a camera near the axis, a simulated calibration), printed as tables, "
       "with its picture written to rig.svg.",
       "vistrel-rig --svg default.svg", DefaultOptions, ExecuteDefault},
      {"run",
       "Run a scene file through all three modes: where each projector stands, where the eye must "
       "look, and each calibration (evaluated once).",
       "vistrel-rig run examples/four-projectors.json --svg rig.svg --save rig.kprj\n"
       "         vistrel-rig run examples/four-projectors.json --refine --write-back refined.json", RunOptions,
       ExecuteRun},
      {"load",
       "Load a saved project, evaluate it again and print the same results; calibrations are shown "
       "as saved, never evaluated again (a second evaluation would walk the projector away).",
       "vistrel-rig load rig.kprj --json", LoadOptions, ExecuteLoad},
      {"serve",
       "The rig studio in the browser: serve the scene on a local address, edit projectors, the camera "
       "and calibrations there and watch the pictures and reports follow, every change evaluated "
       "through the module; Save writes the scene back.",
       "vistrel-rig serve examples/four-projectors.json --port 8740", ServeOptions, ExecuteServe},
  };
  return table;
}

int RunRigProgram(int argc, char** argv) {
  RigOptions options;
  options.program = argc > 0 ? argv[0] : "vistrel-rig";
  const auto& table = RigCommandTable();
  CLI::App app(table[0].summary, "vistrel-rig");
  app.footer(std::string("Example: ") + table[0].example +
             "\nExit status: 0 done, 1 bad input (file, scene or project), 2 bad command line, "
             "3 the module could not be loaded or stopped an evaluation.");
  table[0].addOptions(app, options);
  std::vector<CLI::App*> commands(table.size(), nullptr);
  for (std::size_t i = 1; i < table.size(); ++i) {
    commands[i] = app.add_subcommand(table[i].name, table[i].summary);
    commands[i]->footer(std::string("Example: ") + table[i].example);
    table[i].addOptions(*commands[i], options);
  }
  app.require_subcommand(0, 1);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kExitUsage;
  }
  try {
    for (std::size_t i = 1; i < table.size(); ++i) {
      if (commands[i]->parsed()) return table[i].execute(options);
    }
    return table[0].execute(options);
  } catch (const RigError& e) {
    std::cout.flush();
    std::cerr << "vistrel-rig: " << e.what() << '\n';
    return e.Status();
  } catch (const std::exception& e) {
    std::cout.flush();
    std::cerr << "vistrel-rig: " << e.what() << '\n';
    return kExitBadInput;
  }
}

}  // namespace rig
