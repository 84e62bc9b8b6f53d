// The export of a rig for image generators: per projector the frustum to
// render from the eye, the geometry warp and the alpha (blend) map, written
// as one file of the format (a zip: mpcdi.xml, warp_<name>.pfm,
// alpha_<name>.png, beta_<name>.png at level 3) and/or as loose files in a
// folder (the same PFM and PNG files, frusta.json, preview.png).
// Projectors without a resolution are left out with a note. Frame and
// units as in the scene; the frusta in the format's convention
// (FrustumMapping.h).
#pragma once

#include <array>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "rig/analyses/Frustum.h"
#include "rig/export/BlendWeights.h"
#include "rig/export/ProjectorMaps.h"
#include "rig/scene/Scene.h"

namespace rig {

struct ExportSettings {
  std::optional<std::array<float, 3>> eye;  // default: the scene camera's position
  int warpStep = 10;                        // pixels per warp grid point, >= 1
  int alphaBits = 8;                        // 8 or 16
  float blendWidth = 0.0f;                  // degrees; 0: ramps over the whole overlap
  int threads = 0;                          // 0: one per hardware thread
  int previewWidth = 1200;                  // pixels
};

struct ExportedProjector {
  std::string name;
  std::string fileStem;  // the name made safe for a file name, unique
  Frustum frustum;
  ProjectorMaps maps;
};

struct RigExport {
  D3DXVECTOR3 eye;
  int level = 1;  // the format's profile level: 1, or 3 for a warp denser than every 10th pixel
  int alphaBits = 8;
  std::vector<ExportedProjector> projectors;  // those with a resolution, in scene order
  std::vector<std::string> skipped;           // names of projectors without one
  std::optional<BlendWeights> blend;          // over the exported projectors
};

// Computes everything. Throws RigError (kExitBadInput) when no projector has
// a resolution or when a projector's image is not all in front of the eye.
RigExport ComputeRigExport(const Scene& scene, const ExportSettings& settings);

// The format's file (zip bytes), dated `when` (UTC).
std::string MpcdiFileBytes(const RigExport& e, std::time_t when);

struct LooseFile {
  std::string name;
  std::string bytes;
};
// The loose files: warp_<stem>.pfm and alpha_<stem>.png per projector,
// frusta.json (preview.png is PreviewPng).
std::vector<LooseFile> LooseFiles(const RigExport& e);

// The blend on the unrolled screen (BlendPreview), PNG bytes.
std::string PreviewPng(const RigExport& e, const ExportSettings& settings);

// The names of the files --images writes (LooseFiles and preview.png),
// known before computing them, to check the paths first.
std::vector<std::string> LooseFileNames(const Scene& scene);

// "<stem>" for each projector name: letters, digits, '-', '_' and '.' kept,
// anything else '_', at most 64 bytes; a clash gets "_<n>" (n = position in
// the list, from 1).
std::vector<std::string> FileStems(const std::vector<std::string>& names);

// "yyyy-MM-dd HH:mm:ss" in UTC.
std::string FormatDate(std::time_t when);

}  // namespace rig
