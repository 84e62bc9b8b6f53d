// Stand-in for the few pieces of the D3DX math library that the module uses.
//
// Semantics follow the published D3DX ones: row vectors multiplied on the
// left of a matrix, rotations composed roll (about Z), then pitch (about X),
// then yaw (about Y), all angles in radians. Every value is a 32-bit float.
#pragma once

#include "host/d3dx/D3DXExport.h"

struct D3DXVECTOR2 {
  float x;
  float y;

  // Left uninitialised, like the original type, so that arrays of it cost
  // nothing to declare.
  D3DXVECTOR2() = default;
  constexpr D3DXVECTOR2(float ax, float ay) : x(ax), y(ay) {}
};

struct D3DXVECTOR3 {
  float x;
  float y;
  float z;

  D3DXVECTOR3() = default;
  constexpr D3DXVECTOR3(float ax, float ay, float az) : x(ax), y(ay), z(az) {}
};

// 4x4 matrix in rows: _31, _32, _33 are the first three entries of the third
// row, which is the image of the +Z axis under a rotation matrix.
struct D3DXMATRIX {
  float _11, _12, _13, _14;
  float _21, _22, _23, _24;
  float _31, _32, _33, _34;
  float _41, _42, _43, _44;
};

extern "C" {

// Builds the rotation that first rolls by `roll` about Z, then pitches by
// `pitch` about X, then yaws by `yaw` about Y, for row vectors (v' = v * M).
// The third row is (sin yaw cos pitch, -sin pitch, cos yaw cos pitch).
// Writes *out and returns out.
D3DX_API D3DXMATRIX* D3DX_WINAPI D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* out, float yaw,
                                                                float pitch, float roll);

// Writes v scaled to unit length into *out and returns out. The zero vector
// normalises to the zero vector. `out` may equal `v`.
D3DX_API D3DXVECTOR3* D3DX_WINAPI D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v);

}  // extern "C"
