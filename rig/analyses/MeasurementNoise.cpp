#include "rig/analyses/MeasurementNoise.h"

#include <cmath>

namespace rig {

double MeasurementNoise::Uniform() {
  return (static_cast<double>(engine_() >> 11) + 1.0) * (1.0 / 9007199254740992.0);  // 2^-53
}

double MeasurementNoise::Next() {
  if (haveSpare_) {
    haveSpare_ = false;
    return spare_;
  }
  const double radius = std::sqrt(-2.0 * std::log(Uniform()));
  const double angle = 6.283185307179586 * Uniform();
  spare_ = radius * std::sin(angle);
  haveSpare_ = true;
  return radius * std::cos(angle);
}

}  // namespace rig
