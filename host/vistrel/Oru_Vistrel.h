// Projection math library: projector image, screen cylinder and camera image.
//
// Frame: the scene frame of the calibration command. Y points up; the screen
// is the cylinder x^2 + z^2 = R^2 about the Y axis; screen angle 0 is +Z and
// grows toward +X. Lengths are in the scene's unit; every value is a 32-bit
// float.
//
// Lens model (projector and camera alike), a pinhole with lens shift and roll:
//  - forward f = normalised (lookAt - position); right r = normalised
//    (Y x f), i.e. (f.z, 0, -f.x) / |...|, so that a device facing +Z has +X
//    on its right; if f is vertical or zero, r = +X and f falls back to +Z
//    when it is zero; up = f x r.
//  - fovX, fovY: full horizontal and vertical fields of view, in degrees,
//    strictly between 0 and 180 (the image spans 2 tan(fov / 2) on the
//    plane at distance 1 along f). Any other value, or one so close to 180
//    that the tangent of its half is not a positive finite float, makes the
//    lens unusable: rays through it and points seen by it are NaN.
//  - image point (u, v): u runs 0 (left edge) to 1 (right edge), v runs 0
//    (top edge) to 1 (bottom edge), as seen from behind the device looking
//    along f; (0.5, 0.5) lies on the optical axis when keystone is 0.
//    Points outside [0, 1] extend the image plane; nothing is clipped.
//  - roll, in degrees: turns the image about the optical axis; positive roll
//    turns the image's right axis toward its up axis (counter-clockwise as
//    seen from behind the device).
//  - keystone: vertical lens shift, in half image heights, along the rolled
//    up axis. 0 centres the image on the optical axis; 1 puts the image's
//    bottom edge on the axis (the usual table-mount projector).
//  The camera of ProjUV2CamUV has neither roll nor keystone. Degrees
//  become radians as degrees * 3.1415927 / 180, formed in double and
//  rounded once to a float.
//
// A miss is never made up into a point: functions that find no point return
// a vector whose components are all quiet NaN (see IsMiss), and functions
// that map a missing point return NaN image coordinates. An input that is
// not finite (NaN or infinite position, look-at, u, v, keystone, roll,
// origin, direction or radius) gives the same NaN result; nothing here
// crashes on it, and nothing loops.
#pragma once

#include "host/d3dx/D3DXMath.h"
#include "host/vistrel/VistrelExport.h"

class Vel_Channel;

class VISTREL_API Oru_Vistrel {
 public:
  // Unit direction of the ray that leaves a device at `position` aiming at
  // `lookAt` through image point (u, v). See the lens model above. The NaN
  // vector for an unusable lens, an input that is not finite, or an image
  // point so far out that the ray overflows. position == lookAt is not an
  // error: the device faces +Z.
  static D3DXVECTOR3 GetRayFromScreenCoordinates(D3DXVECTOR3 position,
                                                 D3DXVECTOR3 lookAt, float u,
                                                 float v, float fovX,
                                                 float fovY, float keystone,
                                                 float roll);

  // The first point ahead of `origin` (ray parameter t > 0 along
  // `direction`, which need not be unit length) where the ray meets the
  // cylinder of radius |radius| about the Y axis. From inside the cylinder
  // that is the one point the ray leaves through; from outside it is the
  // near side. A ray that misses (outside and aimed past or away from the
  // cylinder), runs parallel to the axis, has a zero direction, or a radius
  // of 0 or not finite gives the NaN vector; so does a point whose squared
  // coordinates overflow a float. An origin on the surface counts as
  // outside when the ray heads outward or along the surface (NaN) and
  // yields the far side when it heads inward; within rounding it may also
  // return the origin itself.
  static D3DXVECTOR3 GetIntersectionPointOfRayAndCylinder(
      float radius, D3DXVECTOR3 origin, D3DXVECTOR3 direction);

  // Camera image point (u, v) at which a camera at `cameraPosition` aiming
  // at `cameraLookAt` with full fields of view (cameraFov.x, cameraFov.y)
  // degrees sees the spot that the projector lights through projector image
  // point `projectorUV`. `projectorFov` is (fovX, fovY, unused), and so is
  // `cameraFov`. The spot is the projector ray's first hit ahead; the camera
  // sees it whether or not the screen hides it. The result is not clipped:
  // a spot outside the camera's view gives coordinates outside [0, 1]. NaN
  // coordinates when the projector ray misses the cylinder, when either
  // lens is unusable, or when the spot is not in front of the camera (on or
  // behind the plane through the camera perpendicular to its view axis).
  static D3DXVECTOR2 ProjUV2CamUV(D3DXVECTOR2 projectorUV,
                                  D3DXVECTOR3 projectorPosition,
                                  D3DXVECTOR3 projectorLookAt,
                                  D3DXVECTOR3 cameraPosition,
                                  D3DXVECTOR3 cameraLookAt,
                                  D3DXVECTOR3 projectorFov,
                                  D3DXVECTOR3 cameraFov, float cylinderRadius,
                                  float keystone, float roll);

  // ProjUV2CamUV for `count` projector image points at once:
  // cameraUV[i] is exactly what ProjUV2CamUV gives for projectorUV[i], bit
  // for bit, but both lenses are set up once for the whole batch rather than
  // once per point (the lens set-up, with its tangents, sine and cosine, is
  // most of a single point's cost). Nothing is written for a count of 0 or
  // less; the arrays must hold `count` points and may be the same array.
  static void ProjUV2CamUVBatch(const D3DXVECTOR2* projectorUV, int count,
                                D3DXVECTOR2* cameraUV,
                                D3DXVECTOR3 projectorPosition,
                                D3DXVECTOR3 projectorLookAt,
                                D3DXVECTOR3 cameraPosition,
                                D3DXVECTOR3 cameraLookAt,
                                D3DXVECTOR3 projectorFov,
                                D3DXVECTOR3 cameraFov, float cylinderRadius,
                                float keystone, float roll);

  // The inverse of ProjUV2CamUV, same arguments apart from the first: the
  // projector image point that lights the spot the camera sees at
  // `cameraUV`: the camera ray's first hit ahead on the cylinder, seen
  // through the projector's lens. NaN coordinates on a miss, an unusable
  // lens, or when the spot is not in front of the projector. Where the
  // projector and the camera both stand inside the cylinder it undoes
  // ProjUV2CamUV. Not used by the calibration command; it lets a host
  // simulate measured point shifts.
  static D3DXVECTOR2 CamUV2ProjUV(D3DXVECTOR2 cameraUV,
                                  D3DXVECTOR3 projectorPosition,
                                  D3DXVECTOR3 projectorLookAt,
                                  D3DXVECTOR3 cameraPosition,
                                  D3DXVECTOR3 cameraLookAt,
                                  D3DXVECTOR3 projectorFov,
                                  D3DXVECTOR3 cameraFov, float cylinderRadius,
                                  float keystone, float roll);

  // Reads the eight measured point shifts of a channel's children: for k = 0
  // to 7 it writes k to the "Value" child at `indexChild`, then takes x and y
  // of the "Value Vector" child at `arrayChild` as shift k. An index-driven
  // list channel at `arrayChild` thereby yields its element k. All eight
  // entries of `shifts` are always written: with (0, 0) when `channel` is
  // null or either child is missing or of another kind. The index child
  // gets its own value back at the end, so reading changes no child.
  static void ReadPointShifts(Vel_Channel* channel, int arrayChild,
                              int indexChild, D3DXVECTOR2* shifts);

  // True when a point returned above is the NaN "no point" vector; more
  // broadly, when any component of `point` is NaN or infinite (the functions
  // above never return infinite components).
  static bool IsMiss(D3DXVECTOR3 point);
};
