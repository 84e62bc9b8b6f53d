// Projector pose model: turns a projector described by where it aims on the
// cylindrical screen (angle, height) and how it shines there (two projection
// angles, a distance) into scene points.
//
// Frame: Y up; the screen is the cylinder of radius R about the Y axis; the
// screen point at angle a and height y is (R sin a, y, R cos a), so angle 0 is
// +Z and angles grow toward +X. Angles are in degrees, lengths in the scene's
// unit, every value a 32-bit float.
#pragma once

#include <type_traits>

#include "host/d3dx/D3DXMath.h"

// The projector parameter set, in the fixed order in which the calibration
// command's children, the automatic configuration and the tweaker list it.
// Only the first five enter GetProjectorPose; the four lens parameters are
// handed unchanged to the projection math library, which alone gives them a
// meaning.
struct ProjectorParameters {
  float ProjLookatAngX;    // degrees: screen angle of the projector's aim point
  float ProjLookatHeight;  // length: height of the aim point
  float ProjectionAngX;    // degrees: horizontal angle of the line of sight
                           // from the inward normal; positive puts the
                           // projector toward growing screen angle
  float ProjectionAngY;    // degrees: vertical angle of the line of sight;
                           // positive puts the projector above its aim point
  float ProjDist;          // length: projector to aim point
  float ProjFovX;          // lens: horizontal field of view
  float ProjFovY;          // lens: vertical field of view
  float ProjKeystone;      // lens: keystone of the image
  float ProjRoll;          // lens: roll of the image
};

// Number of parameters in ProjectorParameters; parameter k (from 0) is the
// k-th member above.
constexpr int kProjectorParameterCount = 9;

static_assert(
    std::is_standard_layout<ProjectorParameters>::value &&
        sizeof(ProjectorParameters) == kProjectorParameterCount * sizeof(float),
    "ProjectorParameters must be exactly nine packed floats in order");

// The three scene points that GetProjectorPose produces together. Callers that
// keep a pose as one value hold this and pass its members to GetProjectorPose.
struct ProjectorPose {
  D3DXVECTOR3 projectorPosition;  // where the projector stands
  D3DXVECTOR3 projectorLookAt;    // its aim point on the screen
  D3DXVECTOR3 cameraLookAt;       // the camera's aim point on the screen
};

// Computes the projector's position, its aim point and the camera's aim point.
//
//   lookAtAngle, lookAtHeight   projector aim point on the screen (degrees,
//                               length); parameters 1 and 2
//   projectionAngleX/Y          degrees; parameters 3 and 4
//   distance                    projector to aim point; parameter 5
//   cameraLookAtAngle/Height    camera aim point on the screen
//   cylinderRadius              R, the screen's radius
//
// For R > 0, with L the aim point, n the unit inward normal at L (toward the
// axis, horizontal) and c the unit tangent toward growing screen angle:
//   projectorPosition = L + d (cos b (cos a n + sin a c) + sin b (0, 1, 0))
// where a, b are the projection angles and d the distance. With both angles 0
// the projector stands d in front of its aim point, on the inward normal.
// For R = 0 the normal and tangent are zero: both aim points lie on the Y axis
// and the projector sits straight above its aim point by d sin b. A negative
// R mirrors the aim point through the axis (the normal still points at the
// axis). Nothing is checked or clamped; negative angles, heights and
// distances are used as given.
//
// Every intermediate is rounded to a 32-bit float in a fixed order, so the
// results are reproducible to the bit. The function is pure, allocates
// nothing and cannot fail.
//
// Outputs: written through the three references rather than returned, so
// that callers that keep the three points as separate members (the tweaker
// rewrites its working copies on every evaluation) need no copy. All three are
// overwritten together, whatever they held. They must be three distinct
// objects; the results are computed in full before any output is written.
void GetProjectorPose(float lookAtAngle, float lookAtHeight,
                      float projectionAngleX, float projectionAngleY,
                      float distance, float cameraLookAtAngle,
                      float cameraLookAtHeight, float cylinderRadius,
                      D3DXVECTOR3& projectorPosition,
                      D3DXVECTOR3& projectorLookAt, D3DXVECTOR3& cameraLookAt);
