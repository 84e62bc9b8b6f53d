#include "rig/engine/RigGraph.h"

#include <cstring>
#include <exception>

#include "rig/RigError.h"
#include "rig/output/ShortestFloat.h"
#include "rig/reports/TextTable.h"

namespace rig {
namespace {

constexpr const char* kConvertInputs[5] = {"Projector Lookat Angle X", "Projector Lookat Height",
                                           "Projection Angle X", "Projection Angle Y",
                                           "Projector Distance"};

std::string Named(const std::string& owner, const std::string& child) { return owner + ": " + child; }
std::string CalibrationOwner(const std::string& projector) { return projector + " calibration"; }

D3DXVECTOR3 Vector(const std::array<float, 3>& v) { return D3DXVECTOR3(v[0], v[1], v[2]); }

void AddCalibration(ModuleSession& s, RigGraph& g, const Scene& scene, const Calibration& c) {
  const Projector* projector = scene.FindProjector(c.projector);
  const std::string owner = CalibrationOwner(c.projector);
  CalibrationChannels k;
  k.projector = c.projector;
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
  s.Connect(k.command, "Camera Position", g.cameraPosition);
  s.Connect(k.command, "Camera Lookat", g.cameraLookAt);
  s.Connect(k.command, "Camera Field of View", g.cameraFieldOfView);
  s.Connect(k.command, "Cylinder Radius", g.radius);
  s.Connect(k.command, "DistortionPoint Array", k.shifts);
  s.Connect(k.command, "DistortionPoint Index", pointIndex);
  for (int p = 0; p < kProjectorParameterCount; ++p) {
    const std::string name = kParameterNames[p];
    k.minimum[p] = s.NewValue(Named(owner, name + "Min"), c.ranges[p].minimum);
    k.maximum[p] = s.NewValue(Named(owner, name + "Max"), c.ranges[p].maximum);
    k.value[p] = s.NewValue(Named(owner, name), start[p]);
    k.tweak[p] = s.NewValue(Named(owner, "Tweak " + name), (c.searchMask >> p) & 1u ? 1.0f : 0.0f);
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
      detail = std::string(kParameterNames[p]) + ": minimum " + ShortestFloatText(lo) +
               " above maximum " + ShortestFloatText(hi);
    } else if (what == "invalid interval size" && k.tweak[p]->GetFloat() >= 1.0f && !(hi - lo > 0.0f)) {
      detail = std::string(kParameterNames[p]) + " is searched but its range [" +
               ShortestFloatText(lo) + ", " + ShortestFloatText(hi) + "] has no width";
    }
  }
  return "calibration of projector \"" + k.projector + "\": the module stopped with \"" + what +
         "\"" + (detail.empty() ? "" : " (" + detail + ")") + "; nothing was calibrated";
}

}  // namespace

RigGraph BuildRigGraph(ModuleSession& s, const Scene& scene) {
  RigGraph g;
  const Camera& cam = scene.camera;
  g.radius = s.NewValue(Named("rig", "Cylinder Radius"), scene.radius);
  g.cameraPosition = s.NewVector(Named("rig", "Camera Position"), Vector(cam.position));
  g.cameraAimAngle = s.NewValue(Named("rig", "Camera Lookat Angle"), cam.aimAngle);
  g.cameraAimHeight = s.NewValue(Named("rig", "Camera Lookat Height"), cam.aimHeight);
  g.cameraFieldOfView =
      s.NewVector(Named("rig", "Camera Field of View"), D3DXVECTOR3(cam.fovX, cam.fovY, 0.0f));
  const float w = cam.imageSize ? static_cast<float>((*cam.imageSize)[0]) : 0.0f;
  const float h = cam.imageSize ? static_cast<float>((*cam.imageSize)[1]) : 0.0f;
  g.cameraImageSize = s.NewVector(Named("rig", "Camera Image Size"), D3DXVECTOR3(w, h, 0.0f));
  g.cameraLookAt = s.NewVector(Named("rig", "out: Camera Lookat"), D3DXVECTOR3(0, 0, 0));

  for (const Projector& p : scene.projectors) {
    ProjectorChannels c;
    c.name = p.name;
    c.command = s.CreateCommand("ConvertParameters");
    for (int i = 0; i < 5; ++i) {
      c.inputs[i] = s.NewValue(Named(p.name, kConvertInputs[i]), ParameterOf(p.parameters, i));
      s.Connect(c.command, kConvertInputs[i], c.inputs[i]);
    }
    c.position = s.NewVector(Named(p.name, "out: Projector Position"), D3DXVECTOR3(0, 0, 0));
    c.lookAt = s.NewVector(Named(p.name, "out: Projector Lookat"), D3DXVECTOR3(0, 0, 0));
    s.Connect(c.command, "Camera Lookat Angle", g.cameraAimAngle);
    s.Connect(c.command, "Camera Lookat Height", g.cameraAimHeight);
    s.Connect(c.command, "Cylinder Radius", g.radius);
    s.Connect(c.command, "out: Projector Position", c.position);
    s.Connect(c.command, "out: Projector Lookat", c.lookAt);
    s.Connect(c.command, "out: Camera Lookat", g.cameraLookAt);
    g.projectors.push_back(c);
  }

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
  s.Connect(g.eye, "Camera Position", g.cameraPosition);
  s.Connect(g.eye, "Cylinder Radius", g.radius);
  s.Connect(g.eye, "Projector Keystone", g.keystones);
  s.Connect(g.eye, "Projector Roll Angle", g.rolls);
  s.Connect(g.eye, "Projector Count", g.count);
  s.Connect(g.eye, "Projector Index", g.index);
  s.Connect(g.eye, "Eye Lookat", g.eyeLookAt);
  s.Connect(g.eye, "Eye Field of View", g.eyeFieldOfView);

  for (const Calibration& c : scene.calibrations) AddCalibration(s, g, scene, c);
  return g;
}

RigGraph FindRigGraph(ModuleSession& s, const std::string& projectPath) {
  const Finder f(s, projectPath);
  RigGraph g;
  g.radius = f.Channel<Oru_FloatChannel>(Named("rig", "Cylinder Radius"));
  g.cameraPosition = f.Channel<Oru_VectorChannel>(Named("rig", "Camera Position"));
  g.cameraAimAngle = f.Channel<Oru_FloatChannel>(Named("rig", "Camera Lookat Angle"));
  g.cameraAimHeight = f.Channel<Oru_FloatChannel>(Named("rig", "Camera Lookat Height"));
  g.cameraFieldOfView = f.Channel<Oru_VectorChannel>(Named("rig", "Camera Field of View"));
  g.cameraImageSize = f.Channel<Oru_VectorChannel>(Named("rig", "Camera Image Size"));
  g.cameraLookAt = f.Channel<Oru_VectorChannel>(Named("rig", "out: Camera Lookat"));

  Vel_ChannelGroup& group = s.Group();
  for (std::size_t i = 0; i < group.GetChannelCount(); ++i) {
    Vel_Channel* channel = group.GetChannel(i);
    if (!s.IsCommand(channel)) continue;
    auto* command = static_cast<Oru_FloatChannel*>(channel);  // the module's commands are float channels
    const std::string mode = s.ModeOf(command);
    if (mode == "ConvertParameters") {
      ProjectorChannels c;
      c.command = command;
      for (int k = 0; k < 5; ++k) c.inputs[k] = f.Child<Oru_FloatChannel>(command, kConvertInputs[k]);
      c.name = f.Owner(c.inputs[0], kConvertInputs[0]);
      c.position = f.Child<Oru_VectorChannel>(command, "out: Projector Position");
      c.lookAt = f.Child<Oru_VectorChannel>(command, "out: Projector Lookat");
      g.projectors.push_back(c);
    } else if (mode == "CalcCameraParameters") {
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
    } else if (mode == "AutoConfigParameters") {
      CalibrationChannels k;
      k.command = command;
      for (int p = 0; p < kProjectorParameterCount; ++p) {
        const std::string name = kParameterNames[p];
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
      if (k.start->GetElements().size() != kProjectorParameterCount ||
          k.shifts->GetElements().size() != 8) {
        f.Fail("calibration \"" + owner + "\" has not nine start values and eight shifts");
      }
      g.calibrations.push_back(k);
    }
  }
  if (g.projectors.empty()) f.Fail("no \"ConvertParameters\" command");
  if (!g.eye) f.Fail("no \"CalcCameraParameters\" command");
  const std::size_t n = g.projectors.size();
  if (g.fieldsOfView->GetElements().size() != n || g.keystones->GetElements().size() != n ||
      g.rolls->GetElements().size() != n) {
    f.Fail("the eye's lens lists do not hold one element per projector");
  }
  return g;
}

Scene SceneOfGraph(const RigGraph& g) {
  Scene scene;
  scene.radius = g.radius->GetFloat();
  const D3DXVECTOR3 position = g.cameraPosition->GetVector();
  scene.camera.position = {position.x, position.y, position.z};
  scene.camera.aimAngle = g.cameraAimAngle->GetFloat();
  scene.camera.aimHeight = g.cameraAimHeight->GetFloat();
  const D3DXVECTOR3 fov = g.cameraFieldOfView->GetVector();
  scene.camera.fovX = fov.x;
  scene.camera.fovY = fov.y;
  const D3DXVECTOR3 size = g.cameraImageSize->GetVector();
  if (size.x >= 1.0f && size.y >= 1.0f) {
    scene.camera.imageSize = std::array<int, 2>{static_cast<int>(size.x), static_cast<int>(size.y)};
  }
  for (std::size_t i = 0; i < g.projectors.size(); ++i) {
    const ProjectorChannels& c = g.projectors[i];
    Projector p;
    p.name = c.name;
    for (int k = 0; k < 5; ++k) ParameterOf(p.parameters, k) = c.inputs[k]->GetFloat();
    p.parameters.ProjFovX = g.fieldsOfView->GetElements()[i].x;
    p.parameters.ProjFovY = g.fieldsOfView->GetElements()[i].y;
    p.parameters.ProjKeystone = g.keystones->GetElements()[i];
    p.parameters.ProjRoll = g.rolls->GetElements()[i];
    scene.projectors.push_back(p);
  }
  for (const CalibrationChannels& k : g.calibrations) {
    Calibration c;
    c.projector = k.projector;
    for (std::size_t i = 0; i < 8; ++i) {
      const D3DXVECTOR3 shift = k.shifts->GetElements()[i];
      c.shifts[i] = {shift.x, shift.y};
    }
    for (int p = 0; p < kProjectorParameterCount; ++p) {
      c.ranges[p] = {k.minimum[p]->GetFloat(), k.maximum[p]->GetFloat()};
      if (k.tweak[p]->GetFloat() >= 1.0f) c.searchMask |= 1u << p;
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
