// Prints one digest per computation of the geometry and the parameter search
// over many fixed inputs: the pose model, lens rays and the cylinder, the
// image mappings, the camera framing, the search on its own and whole fits.
// Two builds that print the same lines gave the same bits for every result;
// scripts/test-m32.sh compares its 32-bit builds (SSE2 and x87) with the
// 64-bit one this way. Inputs are integers times powers of two, so they are
// exact floats on every build; NaN results count as one value.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <utility>
#include <vector>

#include "command/EyeFraming.h"
#include "pose/ProjectorPose.h"
#include "pose/ScreenPoint.h"
#include "numeric/FloatRounding.h"
#include "tests/tweaker/FitScene.h"
#include "tweaker/ParameterTweaker.h"

namespace {

// FNV-1a over the bits of every result of one section.
class Digest {
 public:
  void Add(float value) {
    std::uint32_t bits = 0x7fc00000u;
    if (!std::isnan(value)) std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i) hash_ = (hash_ ^ ((bits >> (8 * i)) & 0xffu)) * 1099511628211ull;
  }
  void Add(D3DXVECTOR2 v) { Add(v.x); Add(v.y); }
  void Add(D3DXVECTOR3 v) { Add(v.x); Add(v.y); Add(v.z); }
  void Print(const char* section) {
    std::printf("%-8s %016llx\n", section, static_cast<unsigned long long>(hash_));
    hash_ = kStart;
  }

 private:
  static constexpr std::uint64_t kStart = 14695981039346656037ull;
  std::uint64_t hash_ = kStart;
};

// xorshift64: the same sequence everywhere.
std::uint64_t state = 88172645463325252ull;
std::uint32_t Next() {
  state ^= state << 13;
  state ^= state >> 7;
  state ^= state << 17;
  return static_cast<std::uint32_t>(state);
}

// An integer in [-range, range] times `scale` (a power of two): exact.
float Exact(int range, float scale) {
  const auto span = static_cast<std::uint32_t>(2 * range + 1);
  return static_cast<float>(static_cast<int>(Next() % span) - range) * scale;
}

// Any 32-bit pattern: infinities, NaNs, subnormals and huge values included.
float AnyFloat() {
  const std::uint32_t bits = Next();
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

D3DXVECTOR3 ExactPoint(int range, float scale) {
  return D3DXVECTOR3(Exact(range, scale), Exact(range, scale), Exact(range, scale));
}

// A search for the minimum of k (x - c)^2, rounded as the library rounds.
struct Parabola final : ParameterTweaker {
  float x = 0.0f, c = 0.0f, k = 1.0f;
  float ComputeError() override {
    const float d = RoundToFloat(x - c);
    return RoundToFloat(RoundToFloat(d * d) * k);
  }
};

constexpr float kFine = 1.0f / 1024;

}  // namespace

int main() {
  Digest digest;
  for (int i = 0; i < 100000; ++i) {
    D3DXVECTOR3 position, lookAt, camera;
    GetProjectorPose(Exact(400000, kFine), Exact(10000, kFine), Exact(100000, kFine),
                     Exact(100000, kFine), Exact(10000, kFine), Exact(400000, kFine),
                     Exact(10000, kFine), Exact(10000, kFine), position, lookAt, camera);
    digest.Add(position);
    digest.Add(lookAt);
    digest.Add(camera);
  }
  digest.Print("pose");

  for (int i = 0; i < 100000; ++i) {
    const D3DXVECTOR3 position = ExactPoint(8000, kFine);
    const D3DXVECTOR3 ray = Oru_Vistrel::GetRayFromScreenCoordinates(
        position, ExactPoint(8000, 2 * kFine), Exact(1024, 2 * kFine), Exact(1024, 2 * kFine),
        Exact(100000, 2 * kFine), Exact(100000, 2 * kFine), Exact(512, 2 * kFine),
        Exact(100000, 2 * kFine));
    digest.Add(ray);
    digest.Add(Oru_Vistrel::GetIntersectionPointOfRayAndCylinder(Exact(10000, kFine), position, ray));
    const D3DXVECTOR3 anyOrigin(AnyFloat(), AnyFloat(), AnyFloat());
    const D3DXVECTOR3 anyDirection(AnyFloat(), AnyFloat(), AnyFloat());
    digest.Add(Oru_Vistrel::GetIntersectionPointOfRayAndCylinder(AnyFloat(), anyOrigin, anyDirection));
  }
  digest.Print("ray");

  for (int i = 0; i < 50000; ++i) {
    const D3DXVECTOR2 uv(Exact(1024, kFine), Exact(1024, kFine));
    const D3DXVECTOR3 projector = ExactPoint(2000, kFine);
    const D3DXVECTOR3 projectorAim(Exact(5000, kFine), Exact(2000, kFine), 5.0f);
    const D3DXVECTOR3 camera(Exact(500, kFine), Exact(2000, kFine), Exact(500, kFine));
    const D3DXVECTOR3 cameraAim(Exact(5000, kFine), Exact(2000, kFine), 5.0f);
    const D3DXVECTOR3 lens(60.0f + Exact(30000, 2 * kFine), 50.0f + Exact(20000, 2 * kFine), 0.0f);
    const D3DXVECTOR3 cameraLens(90.0f, 70.0f, 0.0f);
    const float keystone = Exact(256, 2 * kFine), roll = Exact(20000, 2 * kFine);
    digest.Add(Oru_Vistrel::ProjUV2CamUV(uv, projector, projectorAim, camera, cameraAim, lens,
                                         cameraLens, 5.0f, keystone, roll));
    digest.Add(Oru_Vistrel::CamUV2ProjUV(uv, projector, projectorAim, camera, cameraAim, lens,
                                         cameraLens, 5.0f, keystone, roll));
  }
  digest.Print("mapping");

  for (int i = 0; i < 20000; ++i) {
    std::vector<D3DXVECTOR3> points;
    for (int k = 0; k < 8; ++k) points.push_back(ExactPoint(8000, kFine));
    const eye_view::EyeFraming framing =
        eye_view::FrameScreenPoints(ExactPoint(1000, kFine), Exact(8000, kFine), points);
    digest.Add(framing.lookAt);
    digest.Add(framing.fieldOfView);
    digest.Add(ScreenPointOf(points[0]).angle);
  }
  digest.Print("camera");

  for (int i = 0; i < 20000; ++i) {
    Parabola search;
    float low = i % 3 == 0 ? AnyFloat() : Exact(1 << 20, i % 7 == 0 ? 64.0f : kFine / 4);
    float high = i % 5 == 0 ? AnyFloat() : RoundToFloat(low + Exact(1 << 20, kFine / 8));
    if (!(low <= high)) std::swap(low, high);
    search.c = Exact(1 << 20, kFine * 16);
    search.k = Exact(100, 0.125f);
    search.AddParameter(TweakEntry{low, high, &search.x});
    try {
      search.Tweak();
      digest.Add(search.x);
    } catch (const std::exception&) {
      digest.Add(-1.0f);
    }
  }
  digest.Print("search");

  using namespace fit_scene;
  for (int i = 0; i < 8; ++i) {
    const Scene scene;
    const Projector start = kStartingProjector;
    Projector truth = start;
    const float offsets[kParameters] = {Exact(512, 4 * kFine),  Exact(64, 2 * kFine),
                                        Exact(256, 16 * kFine), Exact(256, 16 * kFine),
                                        Exact(64, 4 * kFine),   Exact(256, 16 * kFine),
                                        Exact(256, 16 * kFine), Exact(64, kFine),
                                        Exact(256, 16 * kFine)};
    for (int k = 0; k < kParameters; ++k) ParameterOf(truth, k) = RoundToFloat(Get(start, k) + offsets[k]);
    Ranges ranges;
    StandardRanges(ranges);
    Fit fit(scene, SimulatedShifts(scene, start, truth), ranges);
    fit.TweakParameters(0x1ffu);
    for (int k = 0; k < kParameters; ++k) digest.Add(fit.Parameter(k).storage);
    digest.Add(fit.ComputeError());
  }
  digest.Print("fit");
  return 0;
}
