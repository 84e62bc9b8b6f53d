#include "rig/export/ZipArchive.h"

#include <zip.h>

#include <memory>

#include "rig/RigError.h"

namespace rig {
namespace {

// Deflate level 1: the warp's floats hardly shrink further at higher levels,
// and a per-pixel warp of eight projectors is hundreds of megabytes.
constexpr zip_uint32_t kDeflateLevel = 1;

[[noreturn]] void Fail(const std::string& what, zip_error_t* error) {
  const std::string detail = error ? zip_error_strerror(error) : "unknown error";
  throw RigError(kExitWriteFailed, "cannot build the zip container (" + what + ": " + detail + ")");
}

}  // namespace

std::string ZipBytes(const std::vector<ZipMember>& members, std::time_t modified) {
  zip_error_t error;
  zip_error_init(&error);
  // The archive's own bytes land in this growing buffer source.
  zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
  if (!target) Fail("memory buffer", &error);
  zip_source_keep(target);
  const auto release = [](zip_source_t* s) { zip_source_free(s); };
  std::unique_ptr<zip_source_t, decltype(release)> keep(target, release);
  zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
  if (!archive) Fail("open", &error);
  for (const ZipMember& m : members) {
    // The members' bytes outlive zip_close, which reads them.
    zip_source_t* source = zip_source_buffer(archive, m.bytes.data(), m.bytes.size(), 0);
    const zip_int64_t index =
        source ? zip_file_add(archive, m.name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
    if (index < 0) {
      if (source) zip_source_free(source);
      const std::string message = zip_strerror(archive);
      zip_discard(archive);
      throw RigError(kExitWriteFailed, "cannot add " + m.name + " to the zip container (" + message + ")");
    }
    zip_set_file_compression(archive, zip_uint64_t(index), m.deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE,
                             m.deflate ? kDeflateLevel : 0);
    zip_file_set_mtime(archive, zip_uint64_t(index), modified, 0);
  }
  if (zip_close(archive) != 0) {
    const std::string message = zip_strerror(archive);
    zip_discard(archive);
    throw RigError(kExitWriteFailed, "cannot build the zip container (" + message + ")");
  }
  zip_stat_t stat;
  if (zip_source_stat(target, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
      zip_source_open(target) != 0) {
    Fail("read back", zip_source_error(target));
  }
  std::string out(std::size_t(stat.size), '\0');
  const zip_int64_t read = zip_source_read(target, out.data(), stat.size);
  zip_source_close(target);
  if (read < 0 || zip_uint64_t(read) != stat.size) Fail("read back", zip_source_error(target));
  return out;
}

}  // namespace rig
