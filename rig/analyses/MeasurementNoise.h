// Gaussian measurement noise from a seeded generator that gives the same
// numbers with every compiler and standard library: std::mt19937_64 (its
// output is fixed by the standard) and the Box-Muller transform written
// here (std::normal_distribution's algorithm is left to each library).
#pragma once

#include <cstdint>
#include <random>

namespace rig {

class MeasurementNoise {
 public:
  explicit MeasurementNoise(std::uint64_t seed) : engine_(seed) {}
  // The next standard normal deviate (mean 0, standard deviation 1).
  double Next();

 private:
  // A uniform deviate in (0, 1]: the top 53 bits of one draw, plus one.
  double Uniform();
  std::mt19937_64 engine_;
  double spare_ = 0.0;
  bool haveSpare_ = false;
};

}  // namespace rig
