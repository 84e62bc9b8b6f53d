#include "rig/output/SceneJsonText.h"

namespace rig {
namespace {

using Json = nlohmann::ordered_json;

std::string OneLine(const Json& v) {
  if (v.is_array()) {
    std::string s = "[";
    for (std::size_t i = 0; i < v.size(); ++i) s += (i ? ", " : "") + OneLine(v[i]);
    return s + "]";
  }
  if (v.is_object()) {
    std::string s = "{";
    bool first = true;
    for (auto it = v.begin(); it != v.end(); ++it) {
      s += (first ? "" : ", ") + Json(it.key()).dump() + ": " + OneLine(it.value());
      first = false;
    }
    return s + "}";
  }
  return v.dump();
}

bool AllScalars(const Json& v) {
  for (const Json& e : v) {
    if (e.is_structured()) return false;
  }
  return true;
}

// `v` written at indentation `indent`, its first line starting at column
// `column` (after a key). Nesting is that of a parsed document: bounded by
// the parser's own depth limit.
std::string Layout(const Json& v, int indent, int column) {
  const std::string line = OneLine(v);
  if (!v.is_structured() || column + static_cast<int>(line.size()) <= kSceneJsonWidth) return line;
  const std::string inner(static_cast<std::size_t>(indent + 2), ' ');
  const std::string outer(static_cast<std::size_t>(indent), ' ');
  std::string s;
  if (v.is_array() && AllScalars(v)) {
    // Numbers wrapped, as many per line as fit.
    s = "[\n" + inner;
    int at = indent + 2;
    for (std::size_t i = 0; i < v.size(); ++i) {
      const std::string e = v[i].dump() + (i + 1 < v.size() ? "," : "");
      if (i > 0 && at + 1 + static_cast<int>(e.size()) > kSceneJsonWidth) {
        s += "\n" + inner;
        at = indent + 2;
      } else if (i > 0) {
        s += " ";
        ++at;
      }
      s += e;
      at += static_cast<int>(e.size());
    }
    return s + "\n" + outer + "]";
  }
  if (v.is_array()) {
    s = "[\n";
    for (std::size_t i = 0; i < v.size(); ++i) {
      s += inner + Layout(v[i], indent + 2, indent + 2) + (i + 1 < v.size() ? ",\n" : "\n");
    }
    return s + outer + "]";
  }
  s = "{\n";
  std::size_t i = 0;
  for (auto it = v.begin(); it != v.end(); ++it, ++i) {
    const std::string key = Json(it.key()).dump() + ": ";
    s += inner + key +
         Layout(it.value(), indent + 2, indent + 2 + static_cast<int>(key.size())) +
         (i + 1 < v.size() ? ",\n" : "\n");
  }
  return s + outer + "}";
}

}  // namespace

std::string SceneJsonText(const nlohmann::ordered_json& value) { return Layout(value, 0, 0) + "\n"; }

}  // namespace rig
