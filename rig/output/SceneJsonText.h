// JSON text laid out as people write scene files, rather than one number
// per line: an array or object whose one-line form fits in kSceneJsonWidth
// columns (at its indentation) stays on one line; a longer one has one
// element or member per line, indented by two spaces, and arrays of
// numbers are wrapped a few elements per line. Numbers and strings are as
// nlohmann-json writes them (the shortest text of each double).
#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace rig {

constexpr int kSceneJsonWidth = 100;

// The text of `value`, ending in a newline.
std::string SceneJsonText(const nlohmann::ordered_json& value);

}  // namespace rig
