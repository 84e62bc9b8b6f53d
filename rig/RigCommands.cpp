#include "rig/RigCommands.h"

#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <iostream>
#include <sstream>

#include "rig/scene/CalibrationVisibility.h"
#include "rig/scene/CameraPointShifts.h"
#include "rig/scene/DefaultRig.h"
#include "rig/output/OutputSet.h"
#include "rig/reports/RefinementReport.h"
#include "rig/reports/ReportFiniteness.h"
#include "rig/RigError.h"
#include "rig/engine/RigEvaluation.h"
#include "rig/engine/RigGraph.h"
#include "rig/export/RigExport.h"
#include "rig/output/StagedFile.h"
#include "rig/pictures/RigPicture.h"
#include "rig/reports/RigReport.h"
#include "rig/scene/RigFeasibility.h"
#include "rig/scene/SceneReader.h"
#include "rig/scene/SceneSimulation.h"
#include "rig/output/ShortestFloat.h"
#include "rig/output/StagedFile.h"
#include "rig/scene/SceneValidation.h"
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
void CheckOutputsAgainst(const std::vector<std::string>& outputs,
                         const std::vector<std::string>& inputs) {
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

// Every output path of this command, checked before any work: none names
// an input or another output (exit 2), each can take a file (exit 4).
void CheckOutputs(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs) {
  CheckOutputsAgainst(outputs, inputs);
  for (const std::string& path : outputs) {
    if (!path.empty()) CheckOutputPath(path);
  }
}

// Runs the rig and produces every result before anything is shown or
// written: the files are staged and committed together, and only then is
// the report printed, so a failure leaves the user's files as they were
// and prints nothing but the message.
int RunScene(Scene scene, const std::string& sceneText, const RigOptions& o,
             const std::string& svg, const std::string& intro) {
  PrepareScene(scene);
  ModuleSession session(ModulePath(o));
  RigReport report = EvaluateScene(session, scene, o.refine, nullptr);
  const nlohmann::json json = FiniteReportJson(report);
  std::ostringstream shown;
  if (o.json) shown << json.dump(2) << '\n';
  else {
    shown << intro;
    PrintRigReport(shown, report);
  }
  std::ostringstream notes;
  OutputSet outputs;
  if (!svg.empty()) {
    outputs.Add(svg, RigPictureSvg(report));
    notes << "\nPicture: " << svg << " (the unrolled screen; open it in a browser)\n";
  }
  if (!o.plan.empty()) {
    outputs.Add(o.plan, RigPlanSvg(report));
    notes << (svg.empty() ? "\n" : "") << "Plan: " << o.plan << " (the rig from above; open it in a browser)\n";
  }
  if (!o.writeBack.empty()) {
    outputs.Add(o.writeBack, RefinedSceneText(sceneText, o.scene, report));
    notes << "Refined scene: " << o.writeBack << "\n";
  }
  if (!o.save.empty()) {
    outputs.Add(o.save, session.ProjectBytes());
    notes << "Project: " << o.save << " (vistrel-rig load " << o.save << " shows these results again)\n";
  }
  outputs.CommitAll();
  std::cout << shown.str();
  (o.json ? std::cerr : std::cout) << notes.str();
  return kExitOk;
}

int ExecuteDefault(const RigOptions& o) {
  const Scene scene = DefaultRig();
  ValidateScene(scene, [](const std::string&) { return std::string("the default rig: "); });
  const ProjectorParameters& planned = scene.projectors[1].parameters;
  const ProjectorParameters truth = DefaultRigTruth(planned);
  std::string intro =
      "vistrel-rig: the embedded default rig. Three projectors side by side on a screen of radius 5, "
      "a camera near the axis.\nThe centre projector's eight shifts are simulated from the projector "
      "as it \"truly\" stands:";
  for (int k = 0; k < kProjectorParameterCount; ++k) {
    if (ParameterOf(truth, k) != ParameterOf(planned, k)) {
      intro += std::string(" ") + ParameterName(k) + " " + Fixed(ParameterOf(truth, k), 3);
    }
  }
  intro += ";\nthe calibration below searches those four parameters and should land near them.\n"
           "Next: vistrel-rig run examples/four-projectors.json (from the repository: bash scripts/run.sh "
           "run examples/four-projectors.json); vistrel-rig --help lists every command.\n\n";
  const std::string svg = o.svg.empty() ? kDefaultPicture : o.svg;
  CheckOutputs({svg, o.plan}, {o.module});
  return RunScene(scene, "", o, svg, intro);
}

int ExecuteRun(const RigOptions& o) {
  // --write-back is the one output that may name an input: the scene, when
  // the user asks for it to be rewritten.
  CheckOutputs({o.svg, o.plan, o.save}, {o.scene, o.module});
  CheckOutputs({o.svg, o.plan, o.save, o.writeBack}, {o.module});
  const std::string text = ReadSceneBytes(o.scene);
  const Scene scene = ReadSceneText(text, o.scene);
  return RunScene(scene, text, o, o.svg, "vistrel-rig: " + o.scene + "\n\n");
}

int ExecuteLoad(const RigOptions& o) {
  CheckOutputs({o.svg, o.plan}, {o.project, o.module});
  ModuleSession session(ModulePath(o));
  session.LoadProject(o.project);
  RigGraph graph = FindRigGraph(session, o.project);
  CheckRigFeasible(SceneOfGraph(graph));
  EvaluateRig(graph, false);
  RigReport report = BuildRigReport(graph, true);
  if (o.refine) AddRefinements(report);
  const nlohmann::json json = FiniteReportJson(report);
  std::ostringstream shown;
  if (o.json) shown << json.dump(2) << '\n';
  else {
    shown << "vistrel-rig: " << o.project << " (evaluated again; calibrations are shown as saved)\n\n";
    PrintRigReport(shown, report);
  }
  OutputSet outputs;
  if (!o.svg.empty()) outputs.Add(o.svg, RigPictureSvg(report));
  if (!o.plan.empty()) outputs.Add(o.plan, RigPlanSvg(report));
  outputs.CommitAll();
  std::cout << shown.str();
  if (!o.svg.empty()) {
    (o.json ? std::cerr : std::cout) << "\nPicture: " << o.svg
                                     << " (the unrolled screen; open it in a browser)\n";
  }
  if (!o.plan.empty()) {
    (o.json ? std::cerr : std::cout) << "Plan: " << o.plan << " (the rig from above; open it in a browser)\n";
  }
  return kExitOk;
}

// "NAME=VALUE" of --set: a parameter's name and a finite number.
std::pair<int, float> ParseSetting(const std::string& text) {
  const std::size_t eq = text.find('=');
  const int k = eq == std::string::npos ? -1 : ProjectorParameterIndex(text.substr(0, eq).c_str());
  if (k < 0) {
    throw RigError(kExitUsage, "--set " + text + ": expected NAME=VALUE with NAME one of "
                               "ProjLookatAngX, ProjLookatHeight, ProjectionAngX, ProjectionAngY, "
                               "ProjDist, ProjFovX, ProjFovY, ProjKeystone, ProjRoll");
  }
  const std::string number = text.substr(eq + 1);
  char* end = nullptr;
  const float value = number.empty() ? NAN : std::strtof(number.c_str(), &end);
  if (!std::isfinite(value) || end != number.c_str() + number.size()) {
    throw RigError(kExitUsage, "--set " + text + ": \"" + number + "\" is not a finite number");
  }
  return {k, value};
}

int ExecuteSimulate(const RigOptions& o) {
  CheckOutputs({o.output}, {o.scene, o.module});
  SimulationRequest request;
  request.projector = o.projector;
  request.noisePixels = o.noisePixels;
  request.seed = o.seed;
  request.cameraPoints = o.cameraPoints;
  for (const std::string& set : o.sets) request.truth.push_back(ParseSetting(set));
  const std::string text = ReadSceneBytes(o.scene);
  const Scene scene = ReadSceneText(text, o.scene);
  CheckRigFeasible(scene);
  CheckCalibrationsVisible(scene);
  const Simulation simulation = Simulate(scene, request);
  WriteFileWhole(o.output, SimulatedSceneText(text, o.projector, simulation, o.cameraPoints));
  std::cout << "Simulated calibration of \"" << o.projector << "\" standing at";
  for (const auto& set : request.truth) {
    std::cout << " " << ParameterName(set.first) << " " << ShortestFloatText(set.second);
  }
  if (o.noisePixels > 0.0) {
    std::cout << ", markers with " << ShortestFloatText(static_cast<float>(o.noisePixels))
              << " px of noise per coordinate (seed " << o.seed << ")";
  }
  std::cout << "\nshifts (du, dv), projector image units:";
  for (const auto& shift : simulation.shifts) {
    std::cout << " (" << ShortestFloatText(shift[0]) << ", " << ShortestFloatText(shift[1]) << ")";
  }
  std::cout << "\nScene: " << o.output << " (vistrel-rig run " << o.output
            << " --refine calibrates it)\n";
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
  CheckOutputsAgainst({o.mpcdi, o.preview, o.images}, {o.scene, o.module});
  CheckOutputs({o.mpcdi, o.preview}, {o.scene, o.module});
  const Scene scene = ReadSceneFile(o.scene);
  CheckRigFeasible(scene);
  std::vector<std::string> outputs = {o.mpcdi, o.preview};
  if (!o.images.empty()) {
    for (const std::string& name : LooseFileNames(scene)) outputs.push_back((fs::path(o.images) / name).string());
  }
  CheckOutputsAgainst(outputs, {o.scene, o.module});
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

void SimulateOptions(CLI::App& app, RigOptions& o) {
  app.add_option("SCENE", o.scene, "the scene file (JSON)")->required()->type_name("FILE");
  app.add_option("--projector", o.projector, "the projector measured")->required()->type_name("NAME");
  app.add_option("--set", o.sets,
                 "a parameter's true value, e.g. ProjFovX=58; repeat for more; the calibration "
                 "searches these parameters")
      ->required()
      ->type_name("PARAM=VALUE");
  app.add_option("--noise-px", o.noisePixels,
                 "Gaussian noise on each marker coordinate, standard deviation in camera pixels")
      ->type_name("S");
  app.add_flag("--camera-points", o.cameraPoints,
               "write the markers as camera_points (pixels of the measuring camera) instead of "
               "shifts");
  app.add_option("--seed", o.seed, "the noise generator's seed (same seed, same file)")->type_name("N");
  app.add_option("-o,--output", o.output, "write the scene with the simulated calibration there")
      ->required()
      ->type_name("OUT");
  app.add_option("--module", o.module, "unused; accepted as by every command")->type_name("PATH");
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
      {"simulate",
       "Write a copy of a scene with a calibration of one projector whose shifts are what the "
       "camera would measure if the projector truly stood at the given values (optionally with "
       "Gaussian noise in camera pixels).",
       "vistrel-rig simulate examples/four-projectors.json --projector B --set ProjFovX=57.5 "
       "--set ProjRoll=0.8 --noise-px 1 --seed 7 -o sim.json",
       SimulateOptions, ExecuteSimulate},
      {"export",
       "Export each projector's frustum, geometry warp and alpha (blend) map for image generators, "
       "as an MPCDI file and/or loose files; the module is not needed.",
       "vistrel-rig export examples/curved-wall-export.json --mpcdi rig.mpcdi --images export/", ExportOptions,
       ExecuteExport},
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
             "3 the module could not be loaded, stopped an evaluation or computes otherwise than this "
             "program's copy of it, 4 an output file could not be written, 5 an internal error of "
             "the program.");
  table[0].addOptions(app, options);
  std::vector<CLI::App*> commands(table.size(), nullptr);
  for (std::size_t i = 1; i < table.size(); ++i) {
    commands[i] = app.add_subcommand(table[i].name, table[i].summary);
    commands[i]->footer(std::string("Example: ") + table[i].example);
    table[i].addOptions(*commands[i], options);
  }
  app.require_subcommand(0, 1);
  // A file-size limit must fail the write (and leave the user's files as
  // they were), not kill the program halfway with a temporary file left.
  std::signal(SIGXFSZ, SIG_IGN);
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
    // Every expected failure is a RigError; anything else is a fault of the
    // program, not of what the user gave it.
    std::cout.flush();
    std::cerr << "vistrel-rig: internal error: " << e.what() << '\n';
    return kExitInternal;
  }
}

}  // namespace rig
