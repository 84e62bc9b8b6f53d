// A small valid scene for the scene tests: one projector "A" aiming at
// screen angle 20, a calibration of it searching ProjFovX.
#pragma once

#include <nlohmann/json.hpp>

inline nlohmann::json MinimalScene() {
  using nlohmann::json;
  json shifts = json::array();
  for (int i = 0; i < 8; ++i) shifts.push_back({0.01, -0.02});
  return {{"screen", {{"radius", 5}}},
          {"camera",
           {{"position", {0, 1.5, 0}},
            {"aim", {{"angle", 0}, {"height", 1.5}}},
            {"field_of_view", {90, 60}},
            {"image_size", {1280, 800}}}},
          {"projectors",
           {{{"name", "A"},
             {"aim", {{"angle", 20}, {"height", 1.5}}},
             {"distance", 3},
             {"field_of_view", {60, 40}}}}},
          {"calibrations", {{{"projector", "A"}, {"shifts", shifts}, {"search", {"ProjFovX"}}}}}};
}

