#include "rig/analyses/PixelDensity.h"

namespace rig {

PixelDensity PixelDensityOf(const ProjectorLens&, float, std::array<int, 2>, D3DXVECTOR3) { return {}; }

}  // namespace rig
