#include "rig/RigCommands.h"

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>

#include "rig/scene/DefaultRig.h"
#include "rig/reports/RefinementReport.h"
#include "rig/RigError.h"
#include "rig/engine/RigGraph.h"
#include "rig/export/RigExport.h"
#include "rig/output/StagedFile.h"
#include "rig/pictures/RigPicture.h"
#include "rig/reports/RigReport.h"
#include "rig/scene/SceneReader.h"
#include "rig/scene/SceneWriteBack.h"
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
}

int RunScene(const Scene& scene, const RigOptions& o, const std::string& svg, const std::string& intro) {
  CheckOutputs(o, {svg, o.save});
  ModuleSession session(ModulePath(o));
  RigGraph graph = BuildRigGraph(session, scene);
  EvaluateRig(graph, true);
  RigReport report = BuildRigReport(graph, false);
  if (o.refine) AddRefinements(report);
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
  CheckOutputs(o, {o.svg, o.save});
  if (!o.writeBack.empty()) {
    // The one output that may name an input: the scene, when the user asks
    // for it to be rewritten.
    RigOptions others = o;
    others.scene.clear();
    CheckOutputs(others, {o.svg, o.save, o.writeBack});
  }
  const Scene scene = ReadSceneFile(o.scene);
  return RunScene(scene, o, o.svg, "vistrel-rig: " + o.scene + "\n\n");
}

int ExecuteLoad(const RigOptions& o) {
  CheckOutputs(o, {o.svg});
  ModuleSession session(ModulePath(o));
  session.LoadProject(o.project);
  RigGraph graph = FindRigGraph(session, o.project);
  EvaluateRig(graph, false);
  RigReport report = BuildRigReport(graph, true);
  if (o.refine) AddRefinements(report);
  Output(report, o, o.svg,
         "vistrel-rig: " + o.project + " (evaluated again; calibrations are shown as saved)\n\n");
  return kExitOk;
}

// The file's date: now, or SOURCE_DATE_EPOCH when set (reproducible files).
std::time_t ExportTime() {
  const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
  if (epoch && *epoch) {
    char* end = nullptr;
    const long long seconds = std::strtoll(epoch, &end, 10);
    if (end && *end == '\0' && seconds >= 0) return static_cast<std::time_t>(seconds);
  }
  return std::time(nullptr);
}

void PrintExportSummary(const RigExport& e, const RigOptions& o) {
  for (const std::string& name : e.skipped) {
    std::cout << "Note: projector " << name << " has no resolution and is left out of the export.\n";
  }
  std::cout << "Eye " << Triple(e.eye.x, e.eye.y, e.eye.z, 3) << "; profile 3d, level " << e.level
            << "; alpha maps " << e.alphaBits << "-bit grey, linear (gammaEmbedded 1.0)"
            << (e.level == 3 ? "; zero beta maps" : "") << ".\n";
  TextTable table({"projector", "pixels", "yaw", "pitch", "left", "right", "down", "up", "warp grid"});
  for (const ExportedProjector& p : e.projectors) {
    const Frustum& f = p.frustum;
    table.Add({p.name, std::to_string(p.maps.resolution[0]) + " x " + std::to_string(p.maps.resolution[1]),
               Fixed(f.yaw, 2), Fixed(f.pitch, 2), Fixed(f.left, 2), Fixed(f.right, 2), Fixed(f.down, 2),
               Fixed(f.up, 2), std::to_string(p.maps.grid.width) + " x " + std::to_string(p.maps.grid.height)});
  }
  table.Print(std::cout);
  if (!o.mpcdi.empty()) std::cout << "MPCDI file: " << o.mpcdi << "\n";
  if (!o.images.empty()) std::cout << "Loose files: " << o.images << "\n";
  if (!o.preview.empty()) std::cout << "Preview: " << o.preview << "\n";
}

int ExecuteExport(const RigOptions& o) {
  if (o.mpcdi.empty() && o.images.empty() && o.preview.empty()) {
    throw RigError(kExitUsage, "export: name at least one output: --mpcdi FILE, --images DIR or --preview FILE");
  }
  CheckOutputs(o, {o.mpcdi, o.preview, o.images});
  const Scene scene = ReadSceneFile(o.scene);
  std::vector<std::string> outputs = {o.mpcdi, o.preview};
  if (!o.images.empty()) {
    for (const std::string& name : LooseFileNames(scene)) outputs.push_back((fs::path(o.images) / name).string());
  }
  CheckOutputs(o, outputs);
  // A folder that is not there fails now, not after minutes of computing.
  for (const std::string& path : {o.mpcdi, o.preview, o.images}) {
    std::error_code ec;
    const fs::path parent = fs::path(path).parent_path();
    if (!path.empty() && !parent.empty() && !fs::is_directory(parent, ec)) {
      throw RigError(kExitWriteFailed, path + ": cannot write there (the folder " + parent.string() +
                                           " does not exist)");
    }
  }
  ExportSettings settings;
  if (!o.eye.empty()) {
    if (!std::isfinite(o.eye[0]) || !std::isfinite(o.eye[1]) || !std::isfinite(o.eye[2])) {
      throw RigError(kExitUsage, "--eye: expected three finite numbers x,y,z");
    }
    settings.eye = std::array<float, 3>{o.eye[0], o.eye[1], o.eye[2]};
  }
  settings.warpStep = o.warpStep;
  settings.alphaBits = o.alphaBits;
  settings.blendWidth = o.blendWidth;
  const RigExport e = ComputeRigExport(scene, settings);

  // Every output is staged first and renamed into place only when all are
  // written: a failure leaves none of them changed.
  std::vector<StagedFile> staged;
  if (!o.mpcdi.empty()) staged.emplace_back(o.mpcdi, MpcdiFileBytes(e, ExportTime()));
  const std::string preview = o.images.empty() && o.preview.empty() ? "" : PreviewPng(e, settings);
  if (!o.images.empty()) {
    std::error_code ec;
    if (!fs::is_directory(o.images, ec) && !fs::create_directory(o.images, ec)) {
      throw RigError(kExitWriteFailed, o.images + ": cannot create the folder (" + ec.message() + ")");
    }
    for (const LooseFile& f : LooseFiles(e)) staged.emplace_back((fs::path(o.images) / f.name).string(), f.bytes);
    staged.emplace_back((fs::path(o.images) / "preview.png").string(), preview);
  }
  if (!o.preview.empty()) staged.emplace_back(o.preview, preview);
  for (StagedFile& f : staged) f.Commit();
  PrintExportSummary(e, o);
  return kExitOk;
}

void CommonOptions(CLI::App& app, RigOptions& o) {
  app.add_option("--module", o.module, "the module file (default: the one built beside the program)")
      ->type_name("PATH");
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

void ExportOptions(CLI::App& app, RigOptions& o) {
  app.add_option("SCENE", o.scene, "the scene file (JSON); projectors need a resolution")
      ->required()
      ->type_name("FILE");
  app.add_option("--mpcdi", o.mpcdi, "write the MPCDI file (3d profile) there")->type_name("FILE");
  app.add_option("--images", o.images,
                 "write the same as loose files in this folder (created if missing): a PFM warp and a "
                 "PNG alpha map per projector, frusta.json, preview.png")
      ->type_name("DIR");
  app.add_option("--preview", o.preview, "write the blend on the unrolled screen (PNG) there")
      ->type_name("FILE");
  app.add_option("--eye", o.eye, "the design eye the frusta and warps are made for (default: the camera)")
      ->delimiter(',')
      ->expected(3)
      ->type_name("X,Y,Z");
  app.add_option("--warp-step", o.warpStep,
                 "pixels per warp grid point (default 10; 1: every pixel, which needs profile level 3)")
      ->check(CLI::Range(1, 100000))
      ->type_name("N");
  app.add_option("--alpha-bits", o.alphaBits, "bits per alpha sample, 8 (default) or 16")
      ->check(CLI::IsMember({8, 16}))
      ->type_name("8|16");
  app.add_option("--blend-width", o.blendWidth,
                 "limit each blend ramp to this many degrees of screen from an image edge (default: "
                 "the whole overlap)")
      ->check(CLI::Range(0.0f, 360.0f))
      ->type_name("DEG");
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
      {"export",
       "Export each projector's frustum, geometry warp and alpha (blend) map for image generators, "
       "as an MPCDI file and/or loose files; the module is not needed.",
       "vistrel-rig export examples/curved-wall-export.json --mpcdi rig.mpcdi --images export/", ExportOptions,
       ExecuteExport},
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
             "3 the module could not be loaded or stopped an evaluation, 4 an output could not be written.");
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
