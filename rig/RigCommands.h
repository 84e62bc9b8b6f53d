// The program's commands, in one table that feeds both the dispatch and
// --help: each has a name (empty for the run without a command), a summary,
// an example, a function that adds its own options, and the function that
// carries it out. A new option or command is one more entry or one more
// line in a command's option function.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

namespace rig {

// Every option any command takes; a command reads the ones it declared.
struct RigOptions {
  std::string module;   // --module: the module file; default: the one built beside the program
  bool json = false;    // --json: results as JSON on stdout instead of tables
  std::string svg;      // --svg: write the picture there
  std::string plan;     // --plan: write the plan view (from above) there
  std::string scene;    // run: the scene file
  std::string save;     // run --save: write the project there
  std::string project;  // load: the project file
  std::string program;  // argv[0], to find the module beside the program
  bool refine = false;    // --refine: polish each calibration's result (least squares)
  std::string writeBack;  // run --write-back: the scene with refined values goes there
  // simulate: the projector, its true values (NAME=VALUE), the noise in
  // camera pixels per coordinate, the generator's seed, the output scene.
  std::string projector;
  std::vector<std::string> sets;
  double noisePixels = 0.0;
  std::uint64_t seed = 1;
  std::string output;
  bool cameraPoints = false;
  // export: the outputs and how the warp and blend are made.
  std::string mpcdi;             // --mpcdi: the format's zip file
  std::string images;            // --images: a folder for the loose files
  std::string preview;           // --preview: the blend on the unrolled screen (PNG)
  std::vector<float> eye;        // --eye x,y,z: the design eye; default the scene camera
  int warpStep = 10;             // --warp-step: pixels per warp grid point
  int alphaBits = 8;             // --alpha-bits: 8 or 16
  float blendWidth = 0.0f;       // --blend-width: degrees; 0 ramps over whole overlaps
  std::string host = "127.0.0.1";  // serve --host: the address to listen on
  int port = 8740;                 // serve --port: 0 picks a free one
};

struct RigCommand {
  const char* name;
  const char* summary;
  const char* example;
  void (*addOptions)(CLI::App& command, RigOptions& options);
  int (*execute)(const RigOptions& options);
};

const std::vector<RigCommand>& RigCommandTable();

// Parses the command line and runs the chosen command. Returns the exit
// status; every failure is printed to `stderr` as one clear message.
int RunRigProgram(int argc, char** argv);

}  // namespace rig
