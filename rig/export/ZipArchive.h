// A flat zip archive built in memory with libzip, for the format's
// container: members at the root, in the order given, each stored or
// deflated, all with one modification time.
#pragma once

#include <ctime>
#include <string>
#include <vector>

namespace rig {

struct ZipMember {
  std::string name;
  std::string bytes;
  // Deflate (at a fast level) rather than store: worth it for the warp and
  // XML, not for PNGs, which are compressed already.
  bool deflate = true;
};

// The archive's bytes. Throws RigError (kExitWriteFailed) when libzip fails.
std::string ZipBytes(const std::vector<ZipMember>& members, std::time_t modified);

}  // namespace rig
