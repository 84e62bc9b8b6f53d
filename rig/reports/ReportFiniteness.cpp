#include "rig/reports/ReportFiniteness.h"

#include <cmath>
#include <string>
#include <vector>

#include "rig/RigError.h"

namespace rig {
namespace {

using nlohmann::json;

// The path (keys and indices from the root) of the first non-finite number
// under `value`, depth first in document order; false when all are finite.
// The report's JSON is a few levels deep, built by the program itself.
bool FindNonFinite(const json& value, std::vector<std::string>& path) {
  if (value.is_number_float()) return !std::isfinite(value.get<double>());
  if (value.is_object()) {
    for (auto it = value.begin(); it != value.end(); ++it) {
      path.push_back(it.key());
      if (FindNonFinite(it.value(), path)) return true;
      path.pop_back();
    }
  } else if (value.is_array()) {
    for (std::size_t i = 0; i < value.size(); ++i) {
      path.push_back(std::to_string(i));
      if (FindNonFinite(value[i], path)) return true;
      path.pop_back();
    }
  }
  return false;
}

// "projector \"C\"" for ["projectors", "2", ...], and the like.
std::string Owner(const RigReport& r, const std::vector<std::string>& path, std::size_t* used) {
  *used = 1;
  const bool indexed = path.size() >= 2 && !path[1].empty() &&
                       path[1].find_first_not_of("0123456789") == std::string::npos && path[1].size() < 10;
  if (indexed && (path[0] == "projectors" || path[0] == "calibrations")) {
    const std::size_t i = std::stoul(path[1]);
    *used = 2;
    if (path[0] == "projectors" && i < r.projectors.size()) {
      return "projector \"" + r.projectors[i].name + "\"";
    }
    if (path[0] == "calibrations" && i < r.calibrations.size()) {
      return "calibration of \"" + r.calibrations[i].projector + "\"";
    }
  }
  return path.empty() ? "the rig" : "the " + path[0];
}

}  // namespace

nlohmann::json FiniteReportJson(const RigReport& report) {
  nlohmann::json json = RigReportJson(report);
  std::vector<std::string> path;
  if (!FindNonFinite(json, path)) return json;
  std::size_t used = 0;
  const std::string owner = Owner(report, path, &used);
  std::string quantity;
  for (std::size_t i = used; i < path.size(); ++i) quantity += (quantity.empty() ? "" : ".") + path[i];
  throw RigError(kExitBadInput, owner + ": " + (quantity.empty() ? "a result" : quantity) +
                                    " is not a finite number: this rig's geometry has no answer "
                                    "there (check its values)");
}

}  // namespace rig
