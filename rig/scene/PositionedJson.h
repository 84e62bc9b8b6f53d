// A JSON document parsed with nlohmann-json together with where each of its
// values stands in the text, so that a reader can say "scene.json:12:7: ..."
// about a value that is well-formed JSON but wrong for its purpose.
// Positions are 1-based lines and columns (columns count bytes).
#pragma once

#include <map>
#include <string>

#include <nlohmann/json.hpp>

namespace rig {

struct TextPosition {
  int line = 1;
  int column = 1;
};

struct PositionedJson {
  nlohmann::json document;
  // Keyed by JSON pointer ("" the root, "/projectors/0/aim"): where the
  // value starts, or for an object member where its key starts.
  std::map<std::string, TextPosition> positions;

  // The position of a pointer, or of its nearest recorded ancestor.
  TextPosition At(const std::string& pointer) const;
};

// Arrays and objects may nest this many levels (a scene needs five: the
// root, "calibrations", one calibration, "shifts", one shift). A deeper
// container is refused as it opens, so a file of nothing but brackets
// costs no more than its own size.
constexpr int kMaxNestingDepth = 16;

// Parses `text` in one pass: the positions come from the parser's progress
// and a table of line starts, so the cost is linear in the text's size. A
// syntax error or a container nested deeper than kMaxNestingDepth throws RigError (bad input) as
// "FILE:LINE:COL: what is wrong; expected what" with `fileName` in front.
PositionedJson ParsePositionedJson(const std::string& text, const std::string& fileName);

// "FILE:LINE:COL: " for messages about a value.
std::string Where(const std::string& fileName, TextPosition position);

}  // namespace rig
