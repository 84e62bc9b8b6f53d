// A rig as a project of channels: the module's commands ("ConvertParameters"
// per projector, one "CalcCameraParameters" for the eye, one
// "AutoConfigParameters" per calibration) wired to the host's value, vector
// and list channels as a rig in the engine would be. The per-projector
// inputs of the eye's mode are index-driven list channels, all following
// one "Projector Index" value that the mode itself writes.
//
// Every channel the program makes is named "OWNER: CHILD NAME", OWNER being
// "rig" (screen and camera), a projector's name, "eye", or "PROJECTOR
// calibration", so that a saved project is found again by names alone. Two
// channels hold what no mode reads but a report needs: "rig: Camera Image
// Size" (pixels; 0 when unknown) and "PROJECTOR calibration: start values"
// (the nine parameters before the search; the mode overwrites its own).
//
// A calibration measured by a camera of its own gets that camera's
// channels, owned by "PROJECTOR calibration camera", and one more
// "ConvertParameters" command (on the projector's own inputs) whose only
// use is to place that camera's look-at as the module places the scene
// camera's; its "out: Camera Lookat" child is how a saved project tells it
// from a projector's conversion ("rig: out: Camera Lookat" there). When the
// markers were given in camera pixels they are kept in "PROJECTOR
// calibration: camera points" (x, y pixels) beside the shifts made of them.
#pragma once

#include <string>
#include <vector>

#include "rig/engine/ModuleSession.h"
#include "rig/scene/Scene.h"

namespace rig {

struct ProjectorChannels {
  std::string name;
  Oru_FloatChannel* command = nullptr;  // "ConvertParameters"
  // Parameter k's input where the conversion mode reads it (EntersPose(k):
  // aim angle, aim height, projection angles, distance); null for the lens
  // parameters, which go to the eye's lists.
  Oru_FloatChannel* inputs[kProjectorParameterCount] = {};
  Oru_VectorChannel* position = nullptr;
  Oru_VectorChannel* lookAt = nullptr;
};

// A camera's channels: the rig's ("rig: ...") or a calibration's own.
struct CameraChannels {
  Oru_VectorChannel* position = nullptr;
  Oru_FloatChannel* aimAngle = nullptr;
  Oru_FloatChannel* aimHeight = nullptr;
  Oru_VectorChannel* fieldOfView = nullptr;
  Oru_VectorChannel* imageSize = nullptr;  // pixels; 0 x 0 when unknown
  Oru_VectorChannel* lookAt = nullptr;     // "out: Camera Lookat", from a conversion
};

struct CalibrationChannels {
  std::string projector;
  Oru_FloatChannel* command = nullptr;  // "AutoConfigParameters"
  Oru_FloatChannel* minimum[kProjectorParameterCount] = {};
  Oru_FloatChannel* maximum[kProjectorParameterCount] = {};
  Oru_FloatChannel* value[kProjectorParameterCount] = {};
  Oru_FloatChannel* tweak[kProjectorParameterCount] = {};
  Oru_VectorListChannel* shifts = nullptr;
  Oru_FloatListChannel* start = nullptr;
  Oru_VectorListChannel* cameraPoints = nullptr;  // null unless given in pixels
  // The measuring camera: the rig's channels, or the calibration's own
  // (then `ownCamera`, with its aim and the conversion that places it).
  bool ownCamera = false;
  CameraChannels camera;
  Oru_FloatChannel* cameraConvert = nullptr;  // "ConvertParameters", own camera only
};

struct RigGraph {
  Oru_FloatChannel* radius = nullptr;
  CameraChannels camera;  // its look-at written by every conversion
  std::vector<ProjectorChannels> projectors;

  Oru_FloatChannel* eye = nullptr;  // "CalcCameraParameters"
  Oru_VectorListChannel* positions = nullptr;
  Oru_VectorListChannel* lookAts = nullptr;
  Oru_VectorListChannel* fieldsOfView = nullptr;
  Oru_FloatListChannel* keystones = nullptr;
  Oru_FloatListChannel* rolls = nullptr;
  Oru_FloatChannel* count = nullptr;
  Oru_FloatChannel* index = nullptr;
  Oru_VectorChannel* eyeLookAt = nullptr;
  Oru_VectorChannel* eyeFieldOfView = nullptr;

  std::vector<CalibrationChannels> calibrations;
};

// Creates the channels of `scene` in the session's group and connects them.
RigGraph BuildRigGraph(ModuleSession& session, const Scene& scene);

// Finds a rig in a project the session has loaded. Throws RigError (bad
// input) naming what is missing when the project is not one the program
// saved.
RigGraph FindRigGraph(ModuleSession& session, const std::string& projectPath);

// The scene the graph holds: its inputs, and for calibrations the starting
// values, shifts, ranges and switches.
Scene SceneOfGraph(const RigGraph& graph);

// Evaluates the rig as the engine would, in dependency order: each
// conversion, then the eye's mode on the conversions' results (fed to its
// position and look-at lists), then, with `calibrate`, each calibration
// exactly once. A calibration must not be evaluated again on the same
// shifts: the mode rebuilds its targets from its current values, so every
// further run walks the projector away; a loaded project keeps the saved
// result instead. The module's exceptions become RigError (module) naming
// the projector and the parameter.
void EvaluateRig(RigGraph& graph, bool calibrate);

// Evaluates one calibration's mode, once; the module's exceptions become
// RigError (module) naming the projector and the parameter.
void EvaluateCalibration(CalibrationChannels& calibration);

}  // namespace rig
