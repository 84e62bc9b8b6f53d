#include "rig/engine/RigGraph.h"

#include <cstring>
#include <exception>
#include <optional>
#include <utility>

#include "rig/RigError.h"
#include "rig/output/ShortestFloat.h"
#include "rig/reports/TextTable.h"
#include "rig/scene/SceneValidation.h"

namespace rig {
namespace {

std::string Named(const std::string& owner, const std::string& child) { return owner + ": " + child; }
std::string CalibrationOwner(const std::string& projector) { return projector + " calibration"; }

D3DXVECTOR3 Vector(const std::array<float, 3>& v) { return D3DXVECTOR3(v[0], v[1], v[2]); }

std::string CameraOwner(const std::string& projector) { return CalibrationOwner(projector) + " camera"; }

// The calibration's own camera: its channels, and a conversion on the
// projector's inputs that places its look-at as the module places the scene
// camera's.
// A camera's channels, named after `owner`, holding `cam`.
CameraChannels NewCameraChannels(ModuleSession& s, const std::string& owner, const Camera& cam) {
  CameraChannels c;
  c.position = s.NewVector(Named(owner, "Camera Position"), Vector(cam.position));
  c.aimAngle = s.NewValue(Named(owner, "Camera Lookat Angle"), cam.aimAngle);
  c.aimHeight = s.NewValue(Named(owner, "Camera Lookat Height"), cam.aimHeight);
  c.fieldOfView = s.NewVector(Named(owner, "Camera Field of View"), D3DXVECTOR3(cam.fovX, cam.fovY, 0.0f));
  const float w = cam.imageSize ? static_cast<float>((*cam.imageSize)[0]) : 0.0f;
  const float h = cam.imageSize ? static_cast<float>((*cam.imageSize)[1]) : 0.0f;
  c.imageSize = s.NewVector(Named(owner, "Camera Image Size"), D3DXVECTOR3(w, h, 0.0f));
  c.lookAt = s.NewVector(Named(owner, "out: Camera Lookat"), D3DXVECTOR3(0, 0, 0));
  return c;
}

void AddOwnCamera(ModuleSession& s, const RigGraph& g, const Camera& cam, CalibrationChannels& k) {
  const std::string owner = CameraOwner(k.projector);
  k.ownCamera = true;
  k.camera = NewCameraChannels(s, owner, cam);
  const ProjectorChannels* projector = nullptr;
  for (const ProjectorChannels& p : g.projectors) {
    if (p.name == k.projector) projector = &p;
  }
  k.cameraConvert = s.CreateCommand("ConvertParameters");
  for (int i = 0; i < kProjectorParameterCount; ++i) {
    const char* child = kProjectorParameterTable[i].conversionChild;
    if (child) s.Connect(k.cameraConvert, child, projector->inputs[i]);
  }
  s.Connect(k.cameraConvert, "Camera Lookat Angle", k.camera.aimAngle);
  s.Connect(k.cameraConvert, "Camera Lookat Height", k.camera.aimHeight);
  s.Connect(k.cameraConvert, "Cylinder Radius", g.radius);
  s.Connect(k.cameraConvert, "out: Projector Position",
            s.NewVector(Named(owner, "out: Projector Position"), D3DXVECTOR3(0, 0, 0)));
  s.Connect(k.cameraConvert, "out: Projector Lookat",
            s.NewVector(Named(owner, "out: Projector Lookat"), D3DXVECTOR3(0, 0, 0)));
  s.Connect(k.cameraConvert, "out: Camera Lookat", k.camera.lookAt);
}

void UseRigCamera(const RigGraph& g, CalibrationChannels& k) {
  k.ownCamera = false;
  k.camera = g.camera;
}

void AddCalibration(ModuleSession& s, RigGraph& g, const Scene& scene, const Calibration& c) {
  const Projector* projector = scene.FindProjector(c.projector);
  const std::string owner = CalibrationOwner(c.projector);
  CalibrationChannels k;
  k.projector = c.projector;
  if (c.camera) AddOwnCamera(s, g, *c.camera, k);
  else UseRigCamera(g, k);
  if (c.cameraPoints) {
    k.cameraPoints = s.NewVectorList(Named(owner, "camera points"), nullptr);
    std::vector<D3DXVECTOR3> points;
    for (const auto& p : *c.cameraPoints) points.emplace_back(p[0], p[1], 0.0f);
    k.cameraPoints->SetElements(points);
  }
  k.start = s.NewValueList(Named(owner, "start values"), nullptr);
  std::vector<float> start;
  for (int p = 0; p < kProjectorParameterCount; ++p) {
    start.push_back(ParameterOf(projector->parameters, p));
  }
  k.start->SetElements(start);
  Oru_FloatChannel* pointIndex = s.NewValue(Named(owner, "DistortionPoint Index"), 0.0f);
  k.shifts = s.NewVectorList(Named(owner, "DistortionPoint Array"), pointIndex);
  std::vector<D3DXVECTOR3> shifts;
  for (const auto& shift : c.shifts) shifts.emplace_back(shift[0], shift[1], 0.0f);
  k.shifts->SetElements(shifts);

  k.command = s.CreateCommand("AutoConfigParameters");
  s.Connect(k.command, "Camera Position", k.camera.position);
  s.Connect(k.command, "Camera Lookat", k.camera.lookAt);
  s.Connect(k.command, "Camera Field of View", k.camera.fieldOfView);
  s.Connect(k.command, "Cylinder Radius", g.radius);
  s.Connect(k.command, "DistortionPoint Array", k.shifts);
  s.Connect(k.command, "DistortionPoint Index", pointIndex);
  for (int p = 0; p < kProjectorParameterCount; ++p) {
    const std::string name = ParameterName(p);
    k.minimum[p] = s.NewValue(Named(owner, name + "Min"), c.ranges[p].minimum);
    k.maximum[p] = s.NewValue(Named(owner, name + "Max"), c.ranges[p].maximum);
    k.value[p] = s.NewValue(Named(owner, name), start[p]);
    k.tweak[p] = s.NewValue(Named(owner, "Tweak " + name), HasParameter(c.searchMask, p) ? 1.0f : 0.0f);
    s.Connect(k.command, name + "Min", k.minimum[p]);
    s.Connect(k.command, name + "Max", k.maximum[p]);
    s.Connect(k.command, name, k.value[p]);
    s.Connect(k.command, "Tweak " + name, k.tweak[p]);
  }
  g.calibrations.push_back(k);
}

// --- finding a saved rig ---

class Finder {
 public:
  Finder(ModuleSession& s, const std::string& path) : s_(s), path_(path) {}

  [[noreturn]] void Fail(const std::string& what) const {
    throw RigError(kExitBadInput, path_ + ": not a rig project saved by vistrel-rig: " + what);
  }

  template <typename T>
  T* Channel(const std::string& name) const {
    T* c = dynamic_cast<T*>(s_.Group().FindChannel(name.c_str()));
    if (!c) Fail("no channel \"" + name + "\" of the expected kind");
    return c;
  }

  // The child of `command` at its slot `childName`, of kind T.
  template <typename T>
  T* Child(Oru_FloatChannel* command, const std::string& childName) const {
    T* c = dynamic_cast<T*>(s_.ChildOf(command, childName));
    if (!c) Fail("the \"" + s_.ModeOf(command) + "\" command has no \"" + childName + "\" child");
    return c;
  }

  // The owner part of a child's channel name "OWNER: CHILD".
  std::string Owner(Vel_Channel* child, const std::string& childName) const {
    const std::string name = child->GetChannelName();
    const std::string suffix = ": " + childName;
    if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
      Fail("a child named \"" + name + "\" where \"OWNER" + suffix + "\" was expected");
    }
    return name.substr(0, name.size() - suffix.size());
  }

 private:
  ModuleSession& s_;
  const std::string& path_;
};

std::string ModuleErrorMessage(const CalibrationChannels& k, const std::string& what) {
  std::string detail;
  for (int p = 0; p < kProjectorParameterCount && detail.empty(); ++p) {
    const float lo = k.minimum[p]->GetFloat(), hi = k.maximum[p]->GetFloat();
    if (what == "minVal bigger than maxVal" && lo > hi) {
      detail = std::string(ParameterName(p)) + ": minimum " + ShortestFloatText(lo) +
               " above maximum " + ShortestFloatText(hi);
    } else if (what == "invalid interval size" && k.tweak[p]->GetFloat() >= 1.0f && !(hi - lo > 0.0f)) {
      detail = std::string(ParameterName(p)) + " is searched but its range [" +
               ShortestFloatText(lo) + ", " + ShortestFloatText(hi) + "] has no width";
    }
  }
  return "calibration of projector \"" + k.projector + "\": the module stopped with \"" + what +
         "\"" + (detail.empty() ? "" : " (" + detail + ")") + "; nothing was calibrated";
}

// The screen and the camera: "rig: ..." channels.
void AddRigChannels(ModuleSession& s, RigGraph& g, const Scene& scene) {
  g.radius = s.NewValue(Named("rig", "Cylinder Radius"), scene.radius);
  g.camera = NewCameraChannels(s, "rig", scene.camera);
}

// One "ConvertParameters" command per projector, its pose inputs named
// after the projector.
void AddProjector(ModuleSession& s, RigGraph& g, const Projector& p) {
  ProjectorChannels c;
  c.name = p.name;
  c.command = s.CreateCommand("ConvertParameters");
  for (int k = 0; k < kProjectorParameterCount; ++k) {
    const char* child = kProjectorParameterTable[k].conversionChild;
    if (!child) continue;
    c.inputs[k] = s.NewValue(Named(p.name, child), ParameterOf(p.parameters, k));
    s.Connect(c.command, child, c.inputs[k]);
  }
  c.position = s.NewVector(Named(p.name, "out: Projector Position"), D3DXVECTOR3(0, 0, 0));
  c.lookAt = s.NewVector(Named(p.name, "out: Projector Lookat"), D3DXVECTOR3(0, 0, 0));
  s.Connect(c.command, "Camera Lookat Angle", g.camera.aimAngle);
  s.Connect(c.command, "Camera Lookat Height", g.camera.aimHeight);
  s.Connect(c.command, "Cylinder Radius", g.radius);
  s.Connect(c.command, "out: Projector Position", c.position);
  s.Connect(c.command, "out: Projector Lookat", c.lookAt);
  s.Connect(c.command, "out: Camera Lookat", g.camera.lookAt);
  g.projectors.push_back(c);
}

// The eye's "CalcCameraParameters" with its index-driven lists.
void AddEye(ModuleSession& s, RigGraph& g, const Scene& scene) {
  g.index = s.NewValue(Named("eye", "Projector Index"), 0.0f);
  g.count = s.NewValue(Named("eye", "Projector Count"), static_cast<float>(scene.projectors.size()));
  g.positions = s.NewVectorList(Named("eye", "Projector Position"), g.index);
  g.lookAts = s.NewVectorList(Named("eye", "Projector LookAt"), g.index);
  g.fieldsOfView = s.NewVectorList(Named("eye", "Projector Field of View"), g.index);
  g.keystones = s.NewValueList(Named("eye", "Projector Keystone"), g.index);
  g.rolls = s.NewValueList(Named("eye", "Projector Roll Angle"), g.index);
  std::vector<D3DXVECTOR3> fovs;
  std::vector<float> keystones, rolls;
  for (const Projector& p : scene.projectors) {
    fovs.emplace_back(p.parameters.ProjFovX, p.parameters.ProjFovY, 0.0f);
    keystones.push_back(p.parameters.ProjKeystone);
    rolls.push_back(p.parameters.ProjRoll);
  }
  g.fieldsOfView->SetElements(fovs);
  g.keystones->SetElements(keystones);
  g.rolls->SetElements(rolls);
  g.eyeLookAt = s.NewVector(Named("eye", "Eye Lookat"), D3DXVECTOR3(0, 0, 0));
  g.eyeFieldOfView = s.NewVector(Named("eye", "Eye Field of View"), D3DXVECTOR3(0, 0, 0));
  g.eye = s.CreateCommand("CalcCameraParameters");
  s.Connect(g.eye, "Projector Position", g.positions);
  s.Connect(g.eye, "Projector LookAt", g.lookAts);
  s.Connect(g.eye, "Projector Field of View", g.fieldsOfView);
  s.Connect(g.eye, "Camera Position", g.camera.position);
  s.Connect(g.eye, "Cylinder Radius", g.radius);
  s.Connect(g.eye, "Projector Keystone", g.keystones);
  s.Connect(g.eye, "Projector Roll Angle", g.rolls);
  s.Connect(g.eye, "Projector Count", g.count);
  s.Connect(g.eye, "Projector Index", g.index);
  s.Connect(g.eye, "Eye Lookat", g.eyeLookAt);
  s.Connect(g.eye, "Eye Field of View", g.eyeFieldOfView);
}

void FindRigChannels(const Finder& f, RigGraph& g) {
  g.radius = f.Channel<Oru_FloatChannel>(Named("rig", "Cylinder Radius"));
  g.camera.position = f.Channel<Oru_VectorChannel>(Named("rig", "Camera Position"));
  g.camera.aimAngle = f.Channel<Oru_FloatChannel>(Named("rig", "Camera Lookat Angle"));
  g.camera.aimHeight = f.Channel<Oru_FloatChannel>(Named("rig", "Camera Lookat Height"));
  g.camera.fieldOfView = f.Channel<Oru_VectorChannel>(Named("rig", "Camera Field of View"));
  g.camera.imageSize = f.Channel<Oru_VectorChannel>(Named("rig", "Camera Image Size"));
  g.camera.lookAt = f.Channel<Oru_VectorChannel>(Named("rig", "out: Camera Lookat"));
}

ProjectorChannels FindProjector(const Finder& f, Oru_FloatChannel* command) {
  ProjectorChannels c;
  c.command = command;
  for (int k = 0; k < kProjectorParameterCount; ++k) {
    const char* child = kProjectorParameterTable[k].conversionChild;
    if (child) c.inputs[k] = f.Child<Oru_FloatChannel>(command, child);
  }
  // Every input is named "PROJECTOR: CHILD"; the aim angle's names it.
  constexpr int kNamed = projector_parameter::kLookatAngX;
  c.name = f.Owner(c.inputs[kNamed], kProjectorParameterTable[kNamed].conversionChild);
  c.position = f.Child<Oru_VectorChannel>(command, "out: Projector Position");
  c.lookAt = f.Child<Oru_VectorChannel>(command, "out: Projector Lookat");
  return c;
}

void FindEye(const Finder& f, RigGraph& g, Oru_FloatChannel* command) {
  if (g.eye) f.Fail("two \"CalcCameraParameters\" commands");
  g.eye = command;
  g.positions = f.Child<Oru_VectorListChannel>(command, "Projector Position");
  g.lookAts = f.Child<Oru_VectorListChannel>(command, "Projector LookAt");
  g.fieldsOfView = f.Child<Oru_VectorListChannel>(command, "Projector Field of View");
  g.keystones = f.Child<Oru_FloatListChannel>(command, "Projector Keystone");
  g.rolls = f.Child<Oru_FloatListChannel>(command, "Projector Roll Angle");
  g.count = f.Child<Oru_FloatChannel>(command, "Projector Count");
  g.index = f.Child<Oru_FloatChannel>(command, "Projector Index");
  g.eyeLookAt = f.Child<Oru_VectorChannel>(command, "Eye Lookat");
  g.eyeFieldOfView = f.Child<Oru_VectorChannel>(command, "Eye Field of View");
}

// The camera that measured calibration `owner`: the rig's, or its own
// channels named after the calibration.
void FindMeasuringCamera(const Finder& f, const RigGraph& g, const std::string& owner,
                         Oru_FloatChannel* command, CalibrationChannels& k) {
  k.camera.position = f.Child<Oru_VectorChannel>(command, "Camera Position");
  k.camera.lookAt = f.Child<Oru_VectorChannel>(command, "Camera Lookat");
  k.camera.fieldOfView = f.Child<Oru_VectorChannel>(command, "Camera Field of View");
  if (k.camera.position == g.camera.position) {
    UseRigCamera(g, k);
    return;
  }
  const std::string cameraOwner = CameraOwner(k.projector);
  if (f.Owner(k.camera.position, "Camera Position") != cameraOwner) {
    f.Fail("calibration \"" + owner + "\" is measured by a camera not named \"" + cameraOwner + "\"");
  }
  k.ownCamera = true;
  k.camera.aimAngle = f.Channel<Oru_FloatChannel>(Named(cameraOwner, "Camera Lookat Angle"));
  k.camera.aimHeight = f.Channel<Oru_FloatChannel>(Named(cameraOwner, "Camera Lookat Height"));
  k.camera.imageSize = f.Channel<Oru_VectorChannel>(Named(cameraOwner, "Camera Image Size"));
}

CalibrationChannels FindCalibration(const Finder& f, ModuleSession& s, const RigGraph& g,
                                    Oru_FloatChannel* command) {
  CalibrationChannels k;
  k.command = command;
  for (int p = 0; p < kProjectorParameterCount; ++p) {
    const std::string name = ParameterName(p);
    k.minimum[p] = f.Child<Oru_FloatChannel>(command, name + "Min");
    k.maximum[p] = f.Child<Oru_FloatChannel>(command, name + "Max");
    k.value[p] = f.Child<Oru_FloatChannel>(command, name);
    k.tweak[p] = f.Child<Oru_FloatChannel>(command, "Tweak " + name);
  }
  k.shifts = f.Child<Oru_VectorListChannel>(command, "DistortionPoint Array");
  const std::string owner = f.Owner(k.shifts, "DistortionPoint Array");
  const std::string suffix = " calibration";
  if (owner.size() <= suffix.size() || owner.substr(owner.size() - suffix.size()) != suffix) {
    f.Fail("a calibration channel \"" + owner + "\" not named after a projector");
  }
  k.projector = owner.substr(0, owner.size() - suffix.size());
  k.start = f.Channel<Oru_FloatListChannel>(Named(owner, "start values"));
  k.cameraPoints = dynamic_cast<Oru_VectorListChannel*>(
      s.Group().FindChannel(Named(owner, "camera points").c_str()));
  if (k.cameraPoints && k.cameraPoints->GetElements().size() != kCalibrationPointCount) {
    f.Fail("calibration \"" + owner + "\" has not eight camera points");
  }
  FindMeasuringCamera(f, g, owner, command, k);
  if (k.start->GetElements().size() != kProjectorParameterCount ||
      k.shifts->GetElements().size() != kCalibrationPointCount) {
    f.Fail("calibration \"" + owner + "\" has not nine start values and eight shifts");
  }
  return k;
}

}  // namespace

RigGraph BuildRigGraph(ModuleSession& s, const Scene& scene) {
  RigGraph g;
  AddRigChannels(s, g, scene);
  for (const Projector& p : scene.projectors) AddProjector(s, g, p);
  AddEye(s, g, scene);
  for (const Calibration& c : scene.calibrations) AddCalibration(s, g, scene, c);
  return g;
}

RigGraph FindRigGraph(ModuleSession& s, const std::string& projectPath) {
  const Finder f(s, projectPath);
  RigGraph g;
  FindRigChannels(f, g);
  Vel_ChannelGroup& group = s.Group();
  std::vector<std::pair<std::string, Oru_FloatChannel*>> cameraConversions;
  for (std::size_t i = 0; i < group.GetChannelCount(); ++i) {
    Vel_Channel* channel = group.GetChannel(i);
    if (!s.IsCommand(channel)) continue;
    auto* command = static_cast<Oru_FloatChannel*>(channel);  // the module's commands are float channels
    const std::string mode = s.ModeOf(command);
    if (mode == "ConvertParameters" &&
        f.Child<Oru_VectorChannel>(command, "out: Camera Lookat") != g.camera.lookAt) {
      // A calibration camera's conversion: only its look-at is used.
      auto* lookAt = f.Child<Oru_VectorChannel>(command, "out: Camera Lookat");
      cameraConversions.emplace_back(f.Owner(lookAt, "out: Camera Lookat"), command);
    } else if (mode == "ConvertParameters") {
      g.projectors.push_back(FindProjector(f, command));
    } else if (mode == "CalcCameraParameters") {
      FindEye(f, g, command);
    } else if (mode == "AutoConfigParameters") {
      g.calibrations.push_back(FindCalibration(f, s, g, command));
    }
  }
  for (CalibrationChannels& k : g.calibrations) {
    if (!k.ownCamera) continue;
    for (const auto& conversion : cameraConversions) {
      if (conversion.first == CameraOwner(k.projector)) k.cameraConvert = conversion.second;
    }
    if (!k.cameraConvert) f.Fail("no conversion places the look-at of \"" + CameraOwner(k.projector) + "\"");
  }
  if (g.projectors.empty()) f.Fail("no \"ConvertParameters\" command");
  if (!g.eye) f.Fail("no \"CalcCameraParameters\" command");
  const std::size_t n = g.projectors.size();
  if (g.fieldsOfView->GetElements().size() != n || g.keystones->GetElements().size() != n ||
      g.rolls->GetElements().size() != n) {
    f.Fail("the eye's lens lists do not hold one element per projector");
  }
  // The saved values are checked as a scene file's are: a project is a file
  // the user hands the program like any other.
  const D3DXVECTOR3 size = g.camera.imageSize->GetVector();
  if (!(size.x == 0.0f && size.y == 0.0f) && !(IsWholePixelCount(size.x) && IsWholePixelCount(size.y))) {
    f.Fail("the camera's image size is " + Short(size.x) + " x " + Short(size.y) +
           ", expected whole pixels from 1 to " + std::to_string(kMaxPixels) + " (or 0 x 0: none)");
  }
  const Scene scene = SceneOfGraph(g);
  ValidateScene(scene, [&](const std::string&) { return projectPath + ": the saved rig: "; });
  for (const CalibrationChannels& k : g.calibrations) {
    for (int p = 0; p < kProjectorParameterCount; ++p) {
      const ValueInterval valid = ParameterInterval(p, scene.radius);
      const float start = k.start->GetElements()[p], fitted = k.value[p]->GetFloat();
      if (!(start >= valid.low && start <= valid.high) || !(fitted >= valid.low && fitted <= valid.high)) {
        f.Fail("calibration of \"" + k.projector + "\": " + ParameterName(p) + " starts at " +
               Short(start) + " and ends at " + Short(fitted) + ", expected values from " +
               Short(valid.low) + " to " + Short(valid.high));
      }
    }
  }
  return g;
}

namespace {

std::optional<std::array<int, 2>> ImageSizeOf(Oru_VectorChannel* channel) {
  const D3DXVECTOR3 size = channel->GetVector();
  // A saved project is outside input: only whole pixel counts an int holds.
  if (!(size.x >= 1.0f && size.y >= 1.0f && size.x < 1e9f && size.y < 1e9f)) return std::nullopt;
  return std::array<int, 2>{static_cast<int>(size.x), static_cast<int>(size.y)};
}

Camera CameraOfChannels(const CameraChannels& k) {
  Camera c;
  const D3DXVECTOR3 p = k.position->GetVector();
  c.position = {p.x, p.y, p.z};
  c.aimAngle = k.aimAngle->GetFloat();
  c.aimHeight = k.aimHeight->GetFloat();
  const D3DXVECTOR3 fov = k.fieldOfView->GetVector();
  c.fovX = fov.x;
  c.fovY = fov.y;
  c.imageSize = ImageSizeOf(k.imageSize);
  return c;
}

}  // namespace

Scene SceneOfGraph(const RigGraph& g) {
  Scene scene;
  scene.radius = g.radius->GetFloat();
  scene.camera = CameraOfChannels(g.camera);
  for (std::size_t i = 0; i < g.projectors.size(); ++i) {
    const ProjectorChannels& c = g.projectors[i];
    Projector p;
    p.name = c.name;
    for (int k = 0; k < kProjectorParameterCount; ++k) {
      if (c.inputs[k]) ParameterOf(p.parameters, k) = c.inputs[k]->GetFloat();
    }
    p.parameters.ProjFovX = g.fieldsOfView->GetElements()[i].x;
    p.parameters.ProjFovY = g.fieldsOfView->GetElements()[i].y;
    p.parameters.ProjKeystone = g.keystones->GetElements()[i];
    p.parameters.ProjRoll = g.rolls->GetElements()[i];
    scene.projectors.push_back(p);
  }
  for (const CalibrationChannels& k : g.calibrations) {
    Calibration c;
    c.projector = k.projector;
    for (int i = 0; i < kCalibrationPointCount; ++i) {
      const D3DXVECTOR3 shift = k.shifts->GetElements()[i];
      c.shifts[i] = {shift.x, shift.y};
    }
    if (k.ownCamera) {
      c.camera = CameraOfChannels(k.camera);
    }
    if (k.cameraPoints) {
      std::array<std::array<float, 2>, 8> points{};
      for (std::size_t i = 0; i < 8; ++i) {
        points[i] = {k.cameraPoints->GetElements()[i].x, k.cameraPoints->GetElements()[i].y};
      }
      c.cameraPoints = points;
    }
    for (int p = 0; p < kProjectorParameterCount; ++p) {
      c.ranges[p] = {k.minimum[p]->GetFloat(), k.maximum[p]->GetFloat()};
      if (k.tweak[p]->GetFloat() >= 1.0f) c.searchMask |= ParameterBit(p);
    }
    scene.calibrations.push_back(c);
  }
  return scene;
}

void EvaluateRig(RigGraph& g, bool calibrate) {
  std::vector<D3DXVECTOR3> positions, lookAts;
  for (ProjectorChannels& c : g.projectors) {
    c.command->CallChannel();
    positions.push_back(c.position->GetVector());
    lookAts.push_back(c.lookAt->GetVector());
  }
  g.positions->SetElements(positions);
  g.lookAts->SetElements(lookAts);
  g.count->SetFloat(static_cast<float>(g.projectors.size()));
  g.eye->CallChannel();
  for (CalibrationChannels& k : g.calibrations) {
    if (k.cameraConvert) k.cameraConvert->CallChannel();
  }
  if (!calibrate) return;
  for (CalibrationChannels& k : g.calibrations) EvaluateCalibration(k);
}

void EvaluateCalibration(CalibrationChannels& k) {
  try {
    k.command->CallChannel();
  } catch (const std::exception& e) {
    throw RigError(kExitModule, ModuleErrorMessage(k, e.what()));
  }
}

}  // namespace rig
