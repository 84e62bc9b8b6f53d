#include "rig/scene/SceneReader.h"

#include <cfloat>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <set>
#include <sstream>

#include "rig/scene/PositionedJson.h"
#include "rig/RigError.h"
#include "rig/output/ShortestFloat.h"

namespace rig {
namespace {

using nlohmann::json;

const char* TypeName(const json& v) {
  switch (v.type()) {
    case json::value_t::null: return "null";
    case json::value_t::boolean: return "a boolean";
    case json::value_t::string: return "a string";
    case json::value_t::array: return "an array";
    case json::value_t::object: return "an object";
    case json::value_t::number_integer:
    case json::value_t::number_unsigned:
    case json::value_t::number_float: return "a number";
    default: return "something else";
  }
}

// One value of the document and where it is, for reading and for messages.
class Node {
 public:
  Node(const PositionedJson& doc, const std::string& file, const json& value, std::string pointer,
       std::string label)
      : doc_(doc), file_(file), value_(value), pointer_(std::move(pointer)),
        label_(std::move(label)) {}

  [[noreturn]] void Fail(const std::string& what) const {
    throw RigError(kExitBadInput, Where(file_, doc_.At(pointer_)) + what);
  }
  const json& Value() const { return value_; }
  const std::string& Label() const { return label_; }

  void ExpectType(bool ok, const char* expected) const {
    if (!ok) Fail("\"" + label_ + "\" is " + TypeName(value_) + ", expected " + expected);
  }

  // The member `key`; missing: the message points at this object.
  Node Member(const std::string& key, const char* expected) const {
    ExpectType(value_.is_object(), "an object");
    const auto found = value_.find(key);
    if (found == value_.end()) {
      Fail("missing key \"" + key + "\" in \"" + label_ + "\", expected " + expected);
    }
    return Child(*found, "/" + key, key);
  }
  bool Has(const std::string& key) const { return value_.contains(key); }

  // Every key must be one of `known`: a misspelt key is an error, not a
  // silently used default.
  void OnlyKeys(std::initializer_list<const char*> known) const {
    ExpectType(value_.is_object(), "an object");
    for (auto it = value_.begin(); it != value_.end(); ++it) {
      bool ok = false;
      std::string list;
      for (const char* k : known) {
        ok = ok || it.key() == k;
        list += std::string(list.empty() ? "" : ", ") + "\"" + k + "\"";
      }
      if (!ok) {
        Child(it.value(), "/" + it.key(), it.key())
            .Fail("unknown key \"" + it.key() + "\" in \"" + label_ + "\", expected one of " + list);
      }
    }
  }

  Node Element(std::size_t i) const {
    return Child(value_[i], "/" + std::to_string(i), label_ + "[" + std::to_string(i) + "]");
  }

  float Number(const char* expected) const {
    ExpectType(value_.is_number(), expected);
    const double d = value_.get<double>();
    if (!(std::fabs(d) <= FLT_MAX)) Fail("\"" + label_ + "\" is too large for a float");
    return static_cast<float>(d);
  }

  // An array of exactly n numbers.
  std::vector<float> Numbers(std::size_t n, const char* expected) const {
    ExpectType(value_.is_array(), expected);
    if (value_.size() != n) {
      Fail("\"" + label_ + "\" has " + std::to_string(value_.size()) + " elements, expected " +
           expected);
    }
    std::vector<float> out;
    for (std::size_t i = 0; i < n; ++i) out.push_back(Element(i).Number(expected));
    return out;
  }

  std::string Text(const char* expected) const {
    ExpectType(value_.is_string(), expected);
    return value_.get<std::string>();
  }

 private:
  Node Child(const json& v, const std::string& suffix, const std::string& label) const {
    return Node(doc_, file_, v, pointer_ + suffix, label);
  }
  const PositionedJson& doc_;
  const std::string& file_;
  const json& value_;
  std::string pointer_;
  std::string label_;
};

float Positive(const Node& n, const char* expected) {
  const float v = n.Number(expected);
  if (!(v > 0.0f)) n.Fail("\"" + n.Label() + "\" is " + ShortestFloatText(v) + ", expected " + expected);
  return v;
}

void CheckFieldOfView(const Node& n, float v) {
  if (!(v > 0.0f && v < 180.0f)) {
    n.Fail("field of view " + ShortestFloatText(v) +
           " has no meaning, expected degrees strictly between 0 and 180");
  }
}

// [horizontal, vertical] fields of view in degrees.
std::array<float, 2> FieldOfView(const Node& n) {
  const char* expected = "[horizontal, vertical] degrees, each strictly between 0 and 180";
  const std::vector<float> v = n.Numbers(2, expected);
  for (std::size_t i = 0; i < 2; ++i) CheckFieldOfView(n.Element(i), v[i]);
  return {v[0], v[1]};
}

// {"angle": degrees, "height": length}
void ScreenPoint(const Node& n, float& angle, float& height) {
  n.OnlyKeys({"angle", "height"});
  angle = n.Member("angle", "a number (screen angle, degrees)").Number("a number (degrees)");
  height = n.Member("height", "a number (height on the screen)").Number("a number (length)");
}

// [width, height] in whole pixels, each from 1 to kMaxPixels.
constexpr int kMaxPixels = 1000000;
std::array<int, 2> PixelSize(const Node& s) {
  const char* expected = "[width, height] whole pixels, each from 1 to 1000000";
  const std::vector<float> wh = s.Numbers(2, expected);
  for (std::size_t i = 0; i < 2; ++i) {
    const Node e = s.Element(i);
    if (!e.Value().is_number_integer() || !(wh[i] >= 1.0f && wh[i] <= float(kMaxPixels))) {
      e.Fail("\"" + e.Label() + "\" is " + e.Value().dump() + ", expected " + expected);
    }
  }
  return {static_cast<int>(wh[0]), static_cast<int>(wh[1])};
}

// Eight [a, b] number pairs, in the grid points' order.
std::array<std::array<float, 2>, 8> EightPairs(const Node& n, const char* expected,
                                               const char* pairExpected) {
  n.ExpectType(n.Value().is_array(), expected);
  if (n.Value().size() != 8) {
    n.Fail("\"" + n.Label() + "\" has " + std::to_string(n.Value().size()) +
           " elements, expected exactly " + expected);
  }
  std::array<std::array<float, 2>, 8> out{};
  for (std::size_t i = 0; i < 8; ++i) {
    const std::vector<float> s = n.Element(i).Numbers(2, pairExpected);
    out[i] = {s[0], s[1]};
  }
  return out;
}

// screen.angles [from, to]: each within [-360, 360], spanning more than 0
// and at most 360 degrees toward growing angle.
std::array<float, 2> ScreenAngles(const Node& n) {
  const char* expected =
      "[from, to] screen angles in degrees (from -360 to 360), covering more than 0 and at most "
      "360 degrees from \"from\" toward growing angle";
  const std::vector<float> a = n.Numbers(2, expected);
  float span = a[1] - a[0];
  if (span <= 0.0f) span += 360.0f;
  if (!(std::fabs(a[0]) <= 360.0f && std::fabs(a[1]) <= 360.0f) || !(span > 0.0f && span <= 360.0f)) {
    n.Fail("\"angles\" is " + n.Value().dump() + ", expected " + expected);
  }
  return {a[0], a[1]};
}

std::array<float, 2> ScreenHeights(const Node& n) {
  const char* expected = "[bottom, top] heights with bottom below top";
  const std::vector<float> h = n.Numbers(2, expected);
  if (!(h[0] < h[1])) n.Fail("\"heights\" is " + n.Value().dump() + ", expected " + expected);
  return {h[0], h[1]};
}

Camera ReadCamera(const Node& n) {
  n.OnlyKeys({"position", "aim", "field_of_view", "image_size"});
  Camera c;
  const std::vector<float> p =
      n.Member("position", "[x, y, z] (scene point)").Numbers(3, "[x, y, z] numbers (scene point)");
  c.position = {p[0], p[1], p[2]};
  ScreenPoint(n.Member("aim", "{\"angle\": degrees, \"height\": length}"), c.aimAngle, c.aimHeight);
  const std::array<float, 2> fov =
      FieldOfView(n.Member("field_of_view", "[horizontal, vertical] degrees"));
  c.fovX = fov[0];
  c.fovY = fov[1];
  if (n.Has("image_size")) c.imageSize = PixelSize(n.Member("image_size", "[width, height] pixels"));
  return c;
}

Projector ReadProjector(const Node& n) {
  n.OnlyKeys({"name", "aim", "projection_angles", "distance", "field_of_view", "keystone", "roll",
              "resolution"});
  Projector p;
  p.name = n.Member("name", "a string (the projector's name)").Text("a string");
  if (p.name.empty()) n.Member("name", "").Fail("empty projector name, expected a name");
  ProjectorParameters& q = p.parameters;
  ScreenPoint(n.Member("aim", "{\"angle\": degrees, \"height\": length}"), q.ProjLookatAngX,
              q.ProjLookatHeight);
  if (n.Has("projection_angles")) {
    const std::vector<float> a = n.Member("projection_angles", "").Numbers(
        2, "[horizontal, vertical] degrees (line of sight against the screen's inward normal)");
    q.ProjectionAngX = a[0];
    q.ProjectionAngY = a[1];
  }
  q.ProjDist = Positive(n.Member("distance", "a number (projector to aim point, length > 0)"),
                        "a length greater than 0");
  const std::array<float, 2> fov =
      FieldOfView(n.Member("field_of_view", "[horizontal, vertical] degrees"));
  q.ProjFovX = fov[0];
  q.ProjFovY = fov[1];
  if (n.Has("keystone")) {
    q.ProjKeystone = n.Member("keystone", "").Number("a number (half image heights)");
  }
  if (n.Has("roll")) q.ProjRoll = n.Member("roll", "").Number("a number (degrees)");
  if (n.Has("resolution")) p.resolution = PixelSize(n.Member("resolution", "[width, height] pixels"));
  return p;
}

Calibration ReadCalibration(const Node& n, const Scene& scene) {
  n.OnlyKeys({"projector", "shifts", "camera_points", "camera", "search", "ranges"});
  Calibration c;
  const Node name = n.Member("projector", "a string (the name of a projector)");
  c.projector = name.Text("a string (the name of a projector)");
  const Projector* projector = scene.FindProjector(c.projector);
  if (!projector) name.Fail("no projector is named \"" + c.projector + "\"");
  for (const Calibration& other : scene.calibrations) {
    if (other.projector == c.projector) {
      name.Fail("a second calibration of \"" + c.projector +
                "\", expected one calibration per projector");
    }
  }
  if (n.Has("camera")) c.camera = ReadCamera(n.Member("camera", "an object (the camera)"));
  const char* shiftsExpected = "eight [du, dv] shifts in projector image units";
  const char* pointsExpected = "eight [x, y] marker positions in the camera image's pixels";
  if (n.Has("shifts") == n.Has("camera_points")) {
    n.Fail(std::string(n.Has("shifts") ? "both \"shifts\" and \"camera_points\"" : "neither \"shifts\" nor \"camera_points\"") +
           " in \"" + n.Label() + "\", expected exactly one of them");
  }
  if (n.Has("shifts")) {
    c.shifts = EightPairs(n.Member("shifts", shiftsExpected), shiftsExpected, "[du, dv] numbers");
  } else {
    const Node points = n.Member("camera_points", pointsExpected);
    const Camera& camera = c.camera ? *c.camera : scene.camera;
    if (!camera.imageSize) {
      points.Fail("\"camera_points\" are pixels of a camera without \"image_size\", expected the "
                  "measuring camera's image size");
    }
    c.cameraPoints = EightPairs(points, pointsExpected, "[x, y] pixels");
  }
  const char* searchExpected = "an array of parameter names such as \"ProjFovX\"";
  const Node search = n.Member("search", searchExpected);
  search.ExpectType(search.Value().is_array(), searchExpected);
  for (std::size_t i = 0; i < search.Value().size(); ++i) {
    const Node e = search.Element(i);
    const int k = ParameterIndex(e.Text(searchExpected));
    if (k < 0) e.Fail("unknown parameter \"" + e.Value().get<std::string>() + "\", expected " + searchExpected);
    c.searchMask |= 1u << k;
  }
  for (int k = 0; k < kProjectorParameterCount; ++k) {
    const float start = ParameterOf(projector->parameters, k);
    c.ranges[k] = {start - kDefaultRangeHalfWidth[k], start + kDefaultRangeHalfWidth[k]};
  }
  if (n.Has("ranges")) {
    const Node ranges = n.Member("ranges", "");
    ranges.ExpectType(ranges.Value().is_object(), "an object of parameter name: [min, max]");
    for (auto it = ranges.Value().begin(); it != ranges.Value().end(); ++it) {
      const Node r = ranges.Member(it.key(), "");
      const int k = ParameterIndex(it.key());
      if (k < 0) r.Fail("unknown parameter \"" + it.key() + "\", expected a name such as \"ProjFovX\"");
      const std::vector<float> mm = r.Numbers(2, "[minimum, maximum] in the parameter's unit");
      if (mm[0] > mm[1]) {
        r.Fail("range of " + it.key() + " has minimum " + ShortestFloatText(mm[0]) + " above maximum " +
               ShortestFloatText(mm[1]) + ", expected minimum <= maximum");
      }
      c.ranges[k] = {mm[0], mm[1]};
    }
  }
  return c;
}

}  // namespace

Scene ReadSceneText(const std::string& text, const std::string& fileName) {
  const PositionedJson doc = ParsePositionedJson(text, fileName);
  const Node root(doc, fileName, doc.document, "", "scene");
  root.OnlyKeys({"screen", "camera", "projectors", "calibrations"});
  Scene scene;
  const Node screen = root.Member("screen", "{\"radius\": length}");
  screen.OnlyKeys({"radius", "angles", "heights"});
  scene.radius = Positive(screen.Member("radius", "a number (screen radius, length > 0)"),
                          "a screen radius greater than 0");
  if (screen.Has("angles")) scene.extent.angles = ScreenAngles(screen.Member("angles", ""));
  if (screen.Has("heights")) scene.extent.heights = ScreenHeights(screen.Member("heights", ""));
  scene.camera = ReadCamera(root.Member("camera", "an object (the camera)"));
  const char* projectorsExpected = "an array of at least one projector";
  const Node projectors = root.Member("projectors", projectorsExpected);
  projectors.ExpectType(projectors.Value().is_array() && !projectors.Value().empty(),
                        projectorsExpected);
  std::set<std::string> names;
  for (std::size_t i = 0; i < projectors.Value().size(); ++i) {
    const Node e = projectors.Element(i);
    scene.projectors.push_back(ReadProjector(e));
    if (!names.insert(scene.projectors.back().name).second) {
      e.Member("name", "").Fail("a second projector named \"" + scene.projectors.back().name +
                                "\", expected unique names");
    }
  }
  if (root.Has("calibrations")) {
    const Node calibrations = root.Member("calibrations", "");
    calibrations.ExpectType(calibrations.Value().is_array(), "an array of calibrations");
    for (std::size_t i = 0; i < calibrations.Value().size(); ++i) {
      scene.calibrations.push_back(ReadCalibration(calibrations.Element(i), scene));
    }
  }
  return scene;
}

Scene ReadSceneFile(const std::string& path) {
  std::error_code ec;
  std::ifstream in(path, std::ios::binary);
  if (!in || std::filesystem::is_directory(path, ec)) throw RigError(kExitBadInput, path + ": cannot open the scene file");
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw RigError(kExitBadInput, path + ": cannot read the scene file");
  return ReadSceneText(text.str(), path);
}

}  // namespace rig
