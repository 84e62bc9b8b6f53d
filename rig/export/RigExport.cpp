#include "rig/export/RigExport.h"

#include <cstdint>
#include <set>

#include <nlohmann/json.hpp>

#include "rig/RigError.h"
#include "rig/export/BlendPreview.h"
#include "rig/export/MpcdiDocument.h"
#include "rig/export/PfmWriter.h"
#include "rig/export/PngWriter.h"
#include "rig/export/ZipArchive.h"
#include "rig/output/ShortestFloat.h"
#include "rig/reports/RigReport.h"

namespace rig {
namespace {

constexpr std::size_t kMaxStemBytes = 64;
// The largest projector raster exported, per side: 8K. Larger rasters would
// need gigabytes per projector for a warp at every pixel.
constexpr int kMaxExportPixels = 8192;

std::vector<std::uint16_t> AlphaSamples(const ProjectorMaps& m, int bits) {
  std::vector<std::uint16_t> out(m.alpha.size());
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = QuantisedWeight(m.alpha[i], bits);
  return out;
}

std::string WarpName(const ExportedProjector& p) { return "warp_" + p.fileStem + ".pfm"; }
std::string AlphaName(const ExportedProjector& p) { return "alpha_" + p.fileStem + ".png"; }
std::string BetaName(const ExportedProjector& p) { return "beta_" + p.fileStem + ".png"; }

nlohmann::json FrustumJson(const Frustum& f) {
  const FormatFrustum g = ToFormatFrustum(f);
  return {{"yaw", ShortestFloatDecimal(g.yaw)},           {"pitch", ShortestFloatDecimal(g.pitch)},
          {"roll", ShortestFloatDecimal(g.roll)},         {"leftAngle", ShortestFloatDecimal(g.leftAngle)},
          {"rightAngle", ShortestFloatDecimal(g.rightAngle)}, {"downAngle", ShortestFloatDecimal(g.downAngle)},
          {"upAngle", ShortestFloatDecimal(g.upAngle)}};
}

std::vector<const ProjectorMaps*> MapsOf(const RigExport& e) {
  std::vector<const ProjectorMaps*> maps;
  for (const ExportedProjector& p : e.projectors) maps.push_back(&p.maps);
  return maps;
}

}  // namespace

std::vector<std::string> FileStems(const std::vector<std::string>& names) {
  std::vector<std::string> stems;
  for (const std::string& name : names) {
    std::string stem;
    for (char c : name) {
      const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        c == '-' || c == '_' || c == '.';
      if (stem.size() < kMaxStemBytes) stem += keep ? c : '_';
    }
    if (stem.empty()) stem = "_";
    stems.push_back(stem);
  }
  std::multiset<std::string> seen(stems.begin(), stems.end());
  std::set<std::string> taken(stems.begin(), stems.end());
  for (std::size_t i = 0; i < stems.size(); ++i) {
    if (seen.count(stems[i]) < 2) continue;
    std::string unique = stems[i] + "_" + std::to_string(i + 1);
    while (taken.count(unique)) unique += "_";
    taken.insert(unique);
    stems[i] = unique;
  }
  return stems;
}

std::string FormatDate(std::time_t when) {
  std::tm utc{};
  gmtime_r(&when, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &utc);
  return text;
}

RigExport ComputeRigExport(const Scene& scene, const ExportSettings& settings) {
  RigExport e;
  e.alphaBits = settings.alphaBits;
  const std::array<float, 3> eye = settings.eye ? *settings.eye : scene.camera.position;
  e.eye = D3DXVECTOR3(eye[0], eye[1], eye[2]);
  std::vector<ProjectorLens> lenses;
  std::vector<std::string> names;
  std::vector<const Projector*> chosen;
  for (const Projector& p : scene.projectors) {
    if (!p.resolution) {
      e.skipped.push_back(p.name);
      continue;
    }
    if ((*p.resolution)[0] > kMaxExportPixels || (*p.resolution)[1] > kMaxExportPixels) {
      throw RigError(kExitBadInput, "projector " + p.name + ": a resolution of " +
                                        std::to_string((*p.resolution)[0]) + " x " +
                                        std::to_string((*p.resolution)[1]) + " is too large to export (at most " +
                                        std::to_string(kMaxExportPixels) + " pixels each way)");
    }
    chosen.push_back(&p);
    names.push_back(p.name);
    lenses.push_back(LensOf(p.parameters, scene.radius));
  }
  if (chosen.empty()) {
    throw RigError(kExitBadInput,
                   "no projector has a resolution: give projectors[].resolution [width, height] to export it");
  }
  const std::vector<std::string> stems = FileStems(names);
  e.blend.emplace(lenses, scene.radius, scene.extent, settings.blendWidth);
  for (std::size_t k = 0; k < chosen.size(); ++k) {
    ExportedProjector out;
    out.name = chosen[k]->name;
    out.fileStem = stems[k];
    // The same frustum as the report's: around the traced image border.
    out.frustum = FrustumAround(e.eye, lenses[k].lookAt,
                                TraceImageBorder(lenses[k], scene.radius, kOutlinePointsPerEdge));
    if (!out.frustum.holdsAll) {
      throw RigError(kExitBadInput, "projector " + out.name +
                                        ": part of its image lies beside or behind the eye, so no "
                                        "frustum from the eye holds it (choose another --eye)");
    }
    out.maps = ComputeProjectorMaps(*e.blend, int(k), *chosen[k]->resolution,
                                    FrustumMapping(e.eye, out.frustum), settings.warpStep,
                                    settings.threads);
    if (ProfileLevelOf(*chosen[k]->resolution, out.maps.grid) == 3) e.level = 3;
    e.projectors.push_back(std::move(out));
  }
  return e;
}

std::string MpcdiFileBytes(const RigExport& e, std::time_t when) {
  MpcdiDocument doc;
  doc.level = e.level;
  doc.date = FormatDate(when);
  doc.alphaBits = e.alphaBits;
  std::vector<ZipMember> members;
  members.push_back({"mpcdi.xml", "", true});
  for (const ExportedProjector& p : e.projectors) {
    MpcdiRegion r;
    r.id = p.name;
    r.width = p.maps.resolution[0];
    r.height = p.maps.resolution[1];
    r.frustum = ToFormatFrustum(p.frustum);
    r.warpFile = WarpName(p);
    r.alphaFile = AlphaName(p);
    members.push_back({r.warpFile, PfmBytes(p.maps.grid.width, p.maps.grid.height, p.maps.warp), true});
    members.push_back({r.alphaFile,
                       PngBytes(r.width, r.height, 1, e.alphaBits, AlphaSamples(p.maps, e.alphaBits)), false});
    if (e.level == 3) {
      // Level 3 readers demand a beta map; all zeros lifts no black level.
      r.betaFile = BetaName(p);
      members.push_back({r.betaFile, PngBytes(2, 2, 1, 8, std::vector<std::uint16_t>(4, 0)), false});
    }
    doc.regions.push_back(r);
  }
  members[0].bytes = MpcdiXml(doc);
  return ZipBytes(members, when);
}

std::vector<LooseFile> LooseFiles(const RigExport& e) {
  std::vector<LooseFile> files;
  nlohmann::json frusta = {
      {"eye", {ShortestFloatDecimal(e.eye.x), ShortestFloatDecimal(e.eye.y), ShortestFloatDecimal(e.eye.z)}},
      {"frame", "format world: x right = scene +X, y down = scene -Y, z forward = scene +Z; degrees"},
      {"projectors", nlohmann::json::array()}};
  for (const ExportedProjector& p : e.projectors) {
    files.push_back({WarpName(p), PfmBytes(p.maps.grid.width, p.maps.grid.height, p.maps.warp)});
    files.push_back({AlphaName(p), PngBytes(p.maps.resolution[0], p.maps.resolution[1], 1, e.alphaBits,
                                            AlphaSamples(p.maps, e.alphaBits))});
    frusta["projectors"].push_back({{"name", p.name},
                                    {"resolution", {p.maps.resolution[0], p.maps.resolution[1]}},
                                    {"frustum", FrustumJson(p.frustum)},
                                    {"warp", WarpName(p)},
                                    {"warp_grid", {p.maps.grid.width, p.maps.grid.height}},
                                    {"alpha", AlphaName(p)},
                                    {"alpha_bits", e.alphaBits}});
  }
  files.push_back({"frusta.json", frusta.dump(2) + "\n"});
  return files;
}

std::string PreviewPng(const RigExport& e, const ExportSettings& settings) {
  return BlendPreviewPng(*e.blend, MapsOf(e), e.alphaBits, settings.previewWidth, settings.threads);
}

std::vector<std::string> LooseFileNames(const Scene& scene) {
  std::vector<std::string> names;
  for (const Projector& p : scene.projectors) {
    if (p.resolution) names.push_back(p.name);
  }
  std::vector<std::string> files;
  for (const std::string& stem : FileStems(names)) {
    files.push_back("warp_" + stem + ".pfm");
    files.push_back("alpha_" + stem + ".png");
  }
  files.push_back("frusta.json");
  files.push_back("preview.png");
  return files;
}

}  // namespace rig
