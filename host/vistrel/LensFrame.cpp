#include "host/vistrel/LensFrame.h"

#include <cmath>

#include "host/vistrel/VectorOps.h"
#include "numeric/FloatRounding.h"
#include "numeric/SinglePrecisionAngles.h"

namespace vistrel {
namespace {

// tan of half a full field of view in degrees, or 0 when the field cannot
// belong to a pinhole. Near 180 degrees the float half-angle may round past
// pi/2, where tan turns huge or negative; the result test catches that.
// The tangent is taken in double and rounded once: the C library's float
// tangent differs between 32-bit and 64-bit x86 Linux, the double one
// rounded to float agrees on every angle here.
float TanHalfFieldOfView(float fovDegrees) {
  if (!(fovDegrees > 0.0f && fovDegrees < 180.0f)) return 0.0f;
  const float halfAngle = RoundToFloat(SinglePrecisionRadians(fovDegrees) * 0.5f);
  const float tangent =
      RoundToFloat(RoundToDouble(std::tan(static_cast<double>(halfAngle))));
  return (tangent > 0.0f && std::isfinite(tangent)) ? tangent : 0.0f;
}

}  // namespace

LensFrame::LensFrame(D3DXVECTOR3 position, D3DXVECTOR3 lookAt, float fovX,
                     float fovY, float keystone, float roll)
    : position_(position),
      forward_(NaNVector3()),
      rolledRight_(NaNVector3()),
      rolledUp_(NaNVector3()),
      tanHalfFovX_(TanHalfFieldOfView(fovX)),
      tanHalfFovY_(TanHalfFieldOfView(fovY)),
      keystone_(keystone),
      usable_(false) {
  const D3DXVECTOR3 view = Subtract(lookAt, position);
  if (!IsFinite(position) || !IsFinite(view) || !std::isfinite(keystone) ||
      !std::isfinite(roll) || tanHalfFovX_ == 0.0f || tanHalfFovY_ == 0.0f) {
    return;
  }
  // view is finite here, so a failed normalisation means position == lookAt.
  D3DXVECTOR3 forward;
  if (!TryNormalize(view, &forward)) forward = D3DXVECTOR3(0.0f, 0.0f, 1.0f);
  // right = Y x forward; zero exactly when forward is vertical.
  D3DXVECTOR3 right;
  if (!TryNormalize(D3DXVECTOR3(forward.z, 0.0f, -forward.x), &right)) {
    right = D3DXVECTOR3(1.0f, 0.0f, 0.0f);
  }
  const D3DXVECTOR3 up = Cross(forward, right);

  // Positive roll turns right toward up.
  const float rollRadians = SinglePrecisionRadians(roll);
  const float cosRoll = RoundToFloat(std::cos(rollRadians));
  const float sinRoll = RoundToFloat(std::sin(rollRadians));
  forward_ = forward;
  rolledRight_ = Add(Scale(right, cosRoll), Scale(up, sinRoll));
  rolledUp_ = Subtract(Scale(up, cosRoll), Scale(right, sinRoll));
  usable_ = true;
}

D3DXVECTOR3 LensFrame::RayThrough(float u, float v) const {
  if (!usable_) return NaNVector3();
  // Image plane at distance 1 along forward: x runs -1 (left) to +1
  // (right), y runs +1 (top) to -1 (bottom); keystone lifts the image.
  const float x = RoundToFloat(RoundToFloat(u * 2.0f) - 1.0f);
  const float y = RoundToFloat(1.0f - RoundToFloat(v * 2.0f));
  const float planeX = RoundToFloat(x * tanHalfFovX_);
  const float planeY = RoundToFloat(RoundToFloat(y + keystone_) * tanHalfFovY_);
  const D3DXVECTOR3 ray = Add(Add(forward_, Scale(rolledRight_, planeX)),
                              Scale(rolledUp_, planeY));
  D3DXVECTOR3 unit;
  if (!TryNormalize(ray, &unit)) return NaNVector3();
  return unit;
}

D3DXVECTOR2 LensFrame::ImagePointOf(D3DXVECTOR3 point) const {
  if (!usable_) return NaNVector2();
  const D3DXVECTOR3 toPoint = Subtract(point, position_);
  if (!IsFinite(toPoint)) return NaNVector2();
  const float depth = Dot(toPoint, forward_);
  if (!(depth > 0.0f)) return NaNVector2();
  const float planeX = RoundToFloat(Dot(toPoint, rolledRight_) / depth);
  const float planeY = RoundToFloat(Dot(toPoint, rolledUp_) / depth);
  const float x = RoundToFloat(planeX / tanHalfFovX_);
  const float y = RoundToFloat(RoundToFloat(planeY / tanHalfFovY_) - keystone_);
  const float u = RoundToFloat(RoundToFloat(x + 1.0f) * 0.5f);
  const float v = RoundToFloat(RoundToFloat(1.0f - y) * 0.5f);
  if (!std::isfinite(u) || !std::isfinite(v)) return NaNVector2();
  return D3DXVECTOR2(u, v);
}

}  // namespace vistrel
