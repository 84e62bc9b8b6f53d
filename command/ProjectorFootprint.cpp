#include "command/ProjectorFootprint.h"

#include <cstddef>

#include "host/kestrine/Oru_FloatChannel.h"
#include "host/kestrine/Oru_VectorChannel.h"
#include "host/vistrel/Oru_Vistrel.h"

namespace eye_view {

const D3DXVECTOR3 kFootprintSamples[kFootprintSampleCount] = {
    {0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {1.0f, 1.0f, 0.0f},
    {0.5f, 0.0f, 0.0f}, {1.0f, 0.5f, 0.0f}, {0.0f, 0.5f, 0.0f}, {0.5f, 1.0f, 0.0f},
};

std::vector<D3DXVECTOR3> CollectFootprintPoints(int count, float radius,
                                                const ProjectorChildren& children) {
  std::vector<D3DXVECTOR3> points;
  if (count < 1 || count > kMaxProjectorCount) return points;
  points.reserve(static_cast<std::size_t>(count) * kFootprintSampleCount);

  for (int i = 0; i < count; ++i) {
    children.index->SetFloat(static_cast<float>(i));
    for (const D3DXVECTOR3& sample : kFootprintSamples) {
      const D3DXVECTOR3 p = children.position->GetVector();
      const D3DXVECTOR3 f = children.fieldOfView->GetVector();
      const D3DXVECTOR3 t = children.lookAt->GetVector();
      const float r = children.roll->GetFloat();
      const float k = children.keystone->GetFloat();
      const D3DXVECTOR3 ray =
          Oru_Vistrel::GetRayFromScreenCoordinates(p, t, sample.x, sample.y, f.x, f.y, k, r);
      points.push_back(Oru_Vistrel::GetIntersectionPointOfRayAndCylinder(radius, p, ray));
    }
  }
  return points;
}

}  // namespace eye_view
