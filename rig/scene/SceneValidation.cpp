#include "rig/scene/SceneValidation.h"

#include <cmath>
#include <set>

#include "rig/RigError.h"
#include "rig/output/ShortestFloat.h"

namespace rig {
namespace {

constexpr float kMinRadius = 1e-3f, kMaxRadius = 1e6f;
constexpr float kMaxRadii = 1000.0f;        // lengths, in screen radii
constexpr float kMinDistanceRadii = 1e-3f;  // a projector's distance, in screen radii
constexpr float kMaxAngle = 360.0f;         // screen angles, roll
constexpr float kMaxProjectionAngle = 85.0f;
constexpr float kMinFieldOfView = 0.1f, kMaxFieldOfView = 170.0f;
constexpr float kMaxKeystone = 4.0f;
constexpr float kMaxShift = 1.0f;

std::string Text(float v) { return ShortestFloatText(v); }

std::string IntervalText(ValueInterval i) { return "from " + Text(i.low) + " to " + Text(i.high); }

bool Inside(float v, ValueInterval i) { return v >= i.low && v <= i.high; }

// Collects the first problem; later checks are skipped once one is found.
class Checker {
 public:
  bool Found() const { return problem_.has_value(); }
  std::optional<SceneProblem> Result() const { return problem_; }

  void Report(const std::string& pointer, const std::string& message) {
    if (!problem_) problem_ = SceneProblem{pointer, message};
  }
  // `what` names the value ("projector \"B\": \"distance\"").
  void Within(const std::string& pointer, const std::string& what, float v, ValueInterval i,
              const std::string& unit) {
    if (!Found() && !Inside(v, i)) {
      Report(pointer, what + " is " + Text(v) + ", expected " + unit + " " + IntervalText(i));
    }
  }

 private:
  std::optional<SceneProblem> problem_;
};

void CheckCamera(Checker& c, const Camera& camera, float radius, const std::string& at,
                 const std::string& owner) {
  const ValueInterval lengths{-kMaxRadii * radius, kMaxRadii * radius};
  for (int i = 0; i < 3; ++i) {
    c.Within(at + "/position/" + std::to_string(i), owner + "\"position\"[" + std::to_string(i) + "]",
             camera.position[i], lengths, "a coordinate (at most 1000 screen radii)");
  }
  c.Within(at + "/aim/angle", owner + "\"aim\" \"angle\"", camera.aimAngle, {-kMaxAngle, kMaxAngle},
           "degrees");
  c.Within(at + "/aim/height", owner + "\"aim\" \"height\"", camera.aimHeight, lengths,
           "a height (at most 1000 screen radii)");
  const float fov[2] = {camera.fovX, camera.fovY};
  for (int i = 0; i < 2; ++i) {
    c.Within(at + "/field_of_view/" + std::to_string(i),
             owner + "\"field_of_view\"[" + std::to_string(i) + "]", fov[i],
             {kMinFieldOfView, kMaxFieldOfView}, "degrees");
  }
  if (camera.imageSize) {
    for (int i = 0; i < 2; ++i) {
      const int v = (*camera.imageSize)[i];
      if (!c.Found() && !IsWholePixelCount(v)) {
        c.Report(at + "/image_size/" + std::to_string(i),
                 owner + "\"image_size\"[" + std::to_string(i) + "] is " + std::to_string(v) +
                     ", expected whole pixels from 1 to " + std::to_string(kMaxPixels));
      }
    }
  }
}

void CheckCalibration(Checker& c, const Scene& scene, const Calibration& k, std::size_t index) {
  const std::string at = "/calibrations/" + std::to_string(index);
  const std::string owner = "calibration of \"" + k.projector + "\": ";
  if (!scene.FindProjector(k.projector)) {
    c.Report(at + "/projector", "no projector is named \"" + k.projector + "\"");
    return;
  }
  for (std::size_t j = 0; j < index; ++j) {
    if (scene.calibrations[j].projector == k.projector) {
      c.Report(at + "/projector", "a second calibration of \"" + k.projector +
                                      "\", expected one calibration per projector");
      return;
    }
  }
  if (k.camera) CheckCamera(c, *k.camera, scene.radius, at + "/camera", owner + "camera ");
  const Camera& camera = scene.CameraOf(k);
  for (std::size_t i = 0; i < 8 && !c.Found(); ++i) {
    for (int j = 0; j < 2; ++j) {
      const std::string element = "[" + std::to_string(i) + "][" + std::to_string(j) + "]";
      const std::string where = "/" + std::to_string(i) + "/" + std::to_string(j);
      if (k.cameraPoints) {
        const float size = camera.imageSize ? static_cast<float>((*camera.imageSize)[j]) : 0.0f;
        c.Within(at + "/camera_points" + where, owner + "\"camera_points\"" + element,
                 (*k.cameraPoints)[i][j], {0.0f, size}, "pixels inside the camera's image,");
      } else {
        c.Within(at + "/shifts" + where, owner + "\"shifts\"" + element, k.shifts[i][j],
                 {-kMaxShift, kMaxShift}, "projector image units");
      }
    }
  }
  for (int p = 0; p < kProjectorParameterCount && !c.Found(); ++p) {
    const Range r = k.ranges[p];
    const std::string pointer = at + "/ranges/" + ParameterName(p);
    const std::string what = owner + "the range of " + ParameterName(p);
    const ValueInterval valid = ParameterInterval(p, scene.radius);
    if (!(r.minimum <= r.maximum)) {
      c.Report(pointer, what + " has minimum " + Text(r.minimum) + " above maximum " +
                            Text(r.maximum) + ", expected minimum <= maximum");
    } else if (!Inside(r.minimum, valid) || !Inside(r.maximum, valid)) {
      c.Report(pointer, what + " is [" + Text(r.minimum) + ", " + Text(r.maximum) +
                            "], expected a range within the parameter's values " +
                            IntervalText(valid));
    }
  }
}

}  // namespace

ValueInterval ParameterInterval(int k, float radius) {
  switch (k) {
    case 0: return {-kMaxAngle, kMaxAngle};
    case 1: return {-kMaxRadii * radius, kMaxRadii * radius};
    case 2:
    case 3: return {-kMaxProjectionAngle, kMaxProjectionAngle};
    case 4: return {kMinDistanceRadii * radius, kMaxRadii * radius};
    case 5:
    case 6: return {kMinFieldOfView, kMaxFieldOfView};
    case 7: return {-kMaxKeystone, kMaxKeystone};
    default: return {-kMaxAngle, kMaxAngle};
  }
}

std::string ParameterLabel(int k) {
  static const char* const kLabels[kProjectorParameterCount] = {
      "\"aim\" \"angle\"",        "\"aim\" \"height\"", "\"projection_angles\"[0]",
      "\"projection_angles\"[1]", "\"distance\"",      "\"field_of_view\"[0]",
      "\"field_of_view\"[1]",     "\"keystone\"",      "\"roll\""};
  return kLabels[k];
}

bool IsWholePixelCount(double value) {
  return value >= 1.0 && value <= kMaxPixels && std::floor(value) == value;
}

std::optional<std::string> NameProblem(const std::string& name) {
  if (name.empty()) return "an empty name";
  if (name.size() > kMaxNameBytes) {
    return "a name of " + std::to_string(name.size()) + " bytes, longer than " +
           std::to_string(kMaxNameBytes);
  }
  const auto* s = reinterpret_cast<const unsigned char*>(name.data());
  const std::size_t n = name.size();
  for (std::size_t i = 0; i < n;) {
    const unsigned char b = s[i];
    int length = 0;
    unsigned long code = 0, least = 0;
    if (b < 0x80) length = 1, code = b;
    else if ((b & 0xE0) == 0xC0) length = 2, code = b & 0x1F, least = 0x80;
    else if ((b & 0xF0) == 0xE0) length = 3, code = b & 0x0F, least = 0x800;
    else if ((b & 0xF8) == 0xF0) length = 4, code = b & 0x07, least = 0x10000;
    else return "a name that is not valid UTF-8 (byte " + std::to_string(i + 1) + ")";
    if (i + length > n) return "a name that is not valid UTF-8 (cut short at its end)";
    for (int j = 1; j < length; ++j) {
      if ((s[i + j] & 0xC0) != 0x80) {
        return "a name that is not valid UTF-8 (byte " + std::to_string(i + j + 1) + ")";
      }
      code = (code << 6) | (s[i + j] & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return "a name that is not valid UTF-8 (byte " + std::to_string(i + 1) + ")";
    }
    if (code < 0x20 || (code >= 0x7F && code <= 0x9F)) {
      return "a name with a control character (U+" + [code] {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%04lX", code);
        return std::string(hex);
      }() + ")";
    }
    i += static_cast<std::size_t>(length);
  }
  return std::nullopt;
}

std::optional<SceneProblem> FindSceneProblem(const Scene& scene) {
  Checker c;
  c.Within("/screen/radius", "the screen \"radius\"", scene.radius, {kMinRadius, kMaxRadius},
           "a length");
  if (c.Found()) return c.Result();
  const ValueInterval lengths{-kMaxRadii * scene.radius, kMaxRadii * scene.radius};
  if (const auto& a = scene.extent.angles) {
    float span = (*a)[1] - (*a)[0];
    if (span <= 0.0f) span += 360.0f;
    if (!(std::fabs((*a)[0]) <= kMaxAngle && std::fabs((*a)[1]) <= kMaxAngle && span > 0.0f &&
          span <= 360.0f)) {
      c.Report("/screen/angles", "the screen \"angles\" are [" + Text((*a)[0]) + ", " +
                                     Text((*a)[1]) +
                                     "], expected [from, to] degrees from -360 to 360, covering more "
                                     "than 0 and at most 360 degrees from \"from\" toward growing angle");
    }
  }
  if (const auto& h = scene.extent.heights) {
    c.Within("/screen/heights/0", "the screen \"heights\"[0]", (*h)[0], lengths,
             "a height (at most 1000 screen radii)");
    c.Within("/screen/heights/1", "the screen \"heights\"[1]", (*h)[1], lengths,
             "a height (at most 1000 screen radii)");
    if (!c.Found() && !((*h)[0] < (*h)[1])) {
      c.Report("/screen/heights", "the screen \"heights\" are [" + Text((*h)[0]) + ", " +
                                      Text((*h)[1]) + "], expected [bottom, top] with bottom below top");
    }
  }
  CheckCamera(c, scene.camera, scene.radius, "/camera", "camera ");
  if (scene.projectors.empty() && !c.Found()) {
    c.Report("/projectors", "no projectors, expected at least one");
  }
  std::set<std::string> names;
  for (std::size_t i = 0; i < scene.projectors.size() && !c.Found(); ++i) {
    const Projector& p = scene.projectors[i];
    const std::string at = "/projectors/" + std::to_string(i);
    if (const auto problem = NameProblem(p.name)) {
      c.Report(at + "/name", "projector " + std::to_string(i + 1) + " has " + *problem +
                                 ", expected 1 to 200 bytes of UTF-8 text without control characters");
      break;
    }
    if (!names.insert(p.name).second) {
      c.Report(at + "/name", "a second projector named \"" + p.name + "\", expected unique names");
      break;
    }
    const std::string owner = "projector \"" + p.name + "\": ";
    static const char* const kPointers[kProjectorParameterCount] = {
        "/aim/angle", "/aim/height", "/projection_angles/0", "/projection_angles/1", "/distance",
        "/field_of_view/0", "/field_of_view/1", "/keystone", "/roll"};
    static const char* const kUnits[kProjectorParameterCount] = {
        "degrees", "a height (at most 1000 screen radii)", "degrees", "degrees",
        "a length (0.001 to 1000 screen radii)", "degrees", "degrees", "half image heights",
        "degrees"};
    for (int k = 0; k < kProjectorParameterCount; ++k) {
      c.Within(at + kPointers[k], owner + ParameterLabel(k), ParameterOf(p.parameters, k),
               ParameterInterval(k, scene.radius), kUnits[k]);
    }
    if (p.resolution) {
      for (int j = 0; j < 2 && !c.Found(); ++j) {
        if (!IsWholePixelCount((*p.resolution)[j])) {
          c.Report(at + "/resolution/" + std::to_string(j),
                   owner + "\"resolution\"[" + std::to_string(j) + "] is " +
                       std::to_string((*p.resolution)[j]) + ", expected whole pixels from 1 to " +
                       std::to_string(kMaxPixels));
        }
      }
    }
  }
  for (std::size_t i = 0; i < scene.calibrations.size() && !c.Found(); ++i) {
    CheckCalibration(c, scene, scene.calibrations[i], i);
  }
  return c.Result();
}

void ValidateScene(const Scene& scene, const std::function<std::string(const std::string&)>& where) {
  if (const auto problem = FindSceneProblem(scene)) {
    throw RigError(kExitBadInput, where(problem->pointer) + problem->message);
  }
}

}  // namespace rig
