#include "host/d3dx/D3DXMath.h"

#include <cmath>

#include "numeric/FloatRounding.h"

namespace {

// a b + c d, each product and the sum rounded to float.
float SumOfProducts(float a, float b, float c, float d) {
  return RoundToFloat(RoundToFloat(a * b) + RoundToFloat(c * d));
}

// a b c, rounded after each product.
float Product(float a, float b, float c) {
  return RoundToFloat(RoundToFloat(a * b) * c);
}

}  // namespace

D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* out, float yaw,
                                           float pitch, float roll) {
  const float sy = RoundToFloat(std::sin(yaw)), cy = RoundToFloat(std::cos(yaw));
  const float sp = RoundToFloat(std::sin(pitch)), cp = RoundToFloat(std::cos(pitch));
  const float sr = RoundToFloat(std::sin(roll)), cr = RoundToFloat(std::cos(roll));
  // Rz(roll) * Rx(pitch) * Ry(yaw), written out.
  out->_11 = RoundToFloat(RoundToFloat(cr * cy) + Product(sr, sp, sy));
  out->_12 = RoundToFloat(sr * cp);
  out->_13 = RoundToFloat(Product(sr, sp, cy) - RoundToFloat(cr * sy));
  out->_14 = 0.0f;
  out->_21 = RoundToFloat(Product(cr, sp, sy) - RoundToFloat(sr * cy));
  out->_22 = RoundToFloat(cr * cp);
  out->_23 = RoundToFloat(RoundToFloat(sr * sy) + Product(cr, sp, cy));
  out->_24 = 0.0f;
  out->_31 = RoundToFloat(cp * sy);
  out->_32 = -sp;
  out->_33 = RoundToFloat(cp * cy);
  out->_34 = 0.0f;
  out->_41 = 0.0f;
  out->_42 = 0.0f;
  out->_43 = 0.0f;
  out->_44 = 1.0f;
  return out;
}

D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v) {
  const float length = RoundToFloat(std::sqrt(RoundToFloat(
      SumOfProducts(v->x, v->x, v->y, v->y) + RoundToFloat(v->z * v->z))));
  if (length == 0.0f) {
    *out = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    return out;
  }
  *out = D3DXVECTOR3(RoundToFloat(v->x / length), RoundToFloat(v->y / length),
                     RoundToFloat(v->z / length));
  return out;
}
