// The format's XML description (mpcdi.xml) of a 3d-profile file: one buffer
// holding every projector as a region side by side, each region's frustum,
// and one fileset per region naming its warp, alpha and (at level 3) beta
// files. Element and attribute spellings are the format's, compared
// case-sensitively by its readers. Numbers are written as the shortest
// decimals that read back as the same floats.
#pragma once

#include <string>
#include <vector>

#include "rig/export/FrustumMapping.h"

namespace rig {

struct MpcdiRegion {
  std::string id;            // the projector's name
  int width = 0, height = 0;  // its resolution, pixels
  FormatFrustum frustum{};
  std::string warpFile, alphaFile, betaFile;  // member names; betaFile empty below level 3
};

struct MpcdiDocument {
  int level = 1;        // 1 or 3
  std::string date;     // "yyyy-MM-dd HH:mm:ss"
  int alphaBits = 8;    // 8 or 16
  std::vector<MpcdiRegion> regions;
};

// The buffer's size: the regions' widths summed, the tallest height.
int BufferWidth(const MpcdiDocument& document);
int BufferHeight(const MpcdiDocument& document);

// mpcdi.xml, UTF-8 with the XML declaration.
std::string MpcdiXml(const MpcdiDocument& document);

}  // namespace rig
