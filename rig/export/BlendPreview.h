// A picture of the blend as the viewer would see it: the screen unrolled
// (screen angle across, growing to the right; height up), each projector
// lighting it in its own colour scaled by its stored alpha map (the
// quantised values, sampled at the nearest pixel), summed in linear light.
// Where the blend is right the brightness is even and the seams show as
// gradients from one colour to the next. Outside the screen extent grey,
// uncovered parts of the extent black.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "rig/export/BlendWeights.h"
#include "rig/export/ProjectorMaps.h"

namespace rig {

// The colour (8-bit RGB) of projector k in the preview.
std::array<int, 3> PreviewColour(int k);

// The preview as PNG bytes (8-bit RGB), `width` pixels wide. `maps[k]` is
// projector k's maps (the projectors of `blend`, in order).
std::string BlendPreviewPng(const BlendWeights& blend, const std::vector<const ProjectorMaps*>& maps,
                            int alphaBits, int width, int threads);

}  // namespace rig
