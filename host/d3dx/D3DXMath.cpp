#include "host/d3dx/D3DXMath.h"

#include <cmath>

D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* out, float yaw,
                                           float pitch, float roll) {
  const float sy = std::sin(yaw), cy = std::cos(yaw);
  const float sp = std::sin(pitch), cp = std::cos(pitch);
  const float sr = std::sin(roll), cr = std::cos(roll);
  // Rz(roll) * Rx(pitch) * Ry(yaw), written out.
  out->_11 = cr * cy + sr * sp * sy;
  out->_12 = sr * cp;
  out->_13 = sr * sp * cy - cr * sy;
  out->_14 = 0.0f;
  out->_21 = cr * sp * sy - sr * cy;
  out->_22 = cr * cp;
  out->_23 = sr * sy + cr * sp * cy;
  out->_24 = 0.0f;
  out->_31 = cp * sy;
  out->_32 = -sp;
  out->_33 = cp * cy;
  out->_34 = 0.0f;
  out->_41 = 0.0f;
  out->_42 = 0.0f;
  out->_43 = 0.0f;
  out->_44 = 1.0f;
  return out;
}

D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v) {
  const float length = std::sqrt(v->x * v->x + v->y * v->y + v->z * v->z);
  if (length == 0.0f) {
    *out = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    return out;
  }
  *out = D3DXVECTOR3(v->x / length, v->y / length, v->z / length);
  return out;
}
