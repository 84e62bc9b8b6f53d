// The studio page's files (page/*: HTML, JavaScript, CSS), built into the
// program: CMake turns them into StudioAssets.cpp in the build tree
// (EmbedStudioAssets.cmake). The server answers static requests only from
// this set; no request path ever reaches the file system.
#pragma once

#include <cstddef>
#include <string>

namespace rig {

struct StudioAsset {
  const char* path;         // "/studio.js"; the page itself is "/index.html"
  const char* contentType;  // with its charset
  const unsigned char* bytes;
  std::size_t size;
};

// The asset served at `path` ("/" is the page), or null.
const StudioAsset* FindStudioAsset(const std::string& path);

}  // namespace rig
