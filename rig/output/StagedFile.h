// An output file written whole or not at all. The bytes go to a temporary
// file in the destination's own folder (so the final rename stays on one
// file system and is atomic); Commit() renames it over the destination. A
// StagedFile destroyed without Commit() removes its temporary file, so a
// failure anywhere leaves the destination as it was: the user's previous
// file, or no file.
#pragma once

#include <string>

namespace rig {

class StagedFile {
 public:
  // Writes `bytes` to a new temporary file beside `path` and flushes it to
  // disk. Throws RigError (kExitWriteFailed) naming `path` when the folder
  // does not exist or the write fails (disk full, a file-size limit, a
  // read-only folder); nothing is left behind then.
  StagedFile(const std::string& path, const std::string& bytes);
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;
  StagedFile(StagedFile&& other) noexcept;
  StagedFile& operator=(StagedFile&&) = delete;

  // Renames the temporary file over the destination. Throws RigError
  // (kExitWriteFailed) when the rename fails; the destination is unchanged.
  void Commit();

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::string temporary_;  // empty once committed or moved from
};

// Writes one file whole or not at all: StagedFile(path, bytes).Commit().
void WriteFileWhole(const std::string& path, const std::string& bytes);

}  // namespace rig
