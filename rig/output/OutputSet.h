// The files one command writes, all written or none. Every destination is
// checked before the command does any work (CheckOutputPath), each file is
// staged beside its destination as soon as its bytes exist (Add), and only
// when every one is staged are they moved into place together (CommitAll).
// A failure at any point leaves every file the user had as it was: staged
// files are removed, and a destination already replaced during CommitAll is
// put back from a hard link to its previous contents.
#pragma once

#include <string>
#include <vector>

#include "rig/output/StagedFile.h"

namespace rig {

// Throws RigError (kExitWriteFailed) naming `path` when it cannot take a
// file written by renaming: its folder is missing or not writable, or it
// names something other than a regular file (a folder, a device such as
// /dev/full, a pipe). A symbolic link is followed: its target is replaced.
void CheckOutputPath(const std::string& path);

class OutputSet {
 public:
  OutputSet() = default;
  OutputSet(const OutputSet&) = delete;
  OutputSet& operator=(const OutputSet&) = delete;

  // Checks `path` (CheckOutputPath) and stages `bytes` for it. Throws
  // RigError (kExitWriteFailed) when either fails; earlier staged files
  // stay staged until the set is destroyed.
  void Add(const std::string& path, const std::string& bytes);

  // Moves every staged file into place, in the order added. When a move
  // fails, the destinations already moved get their previous contents
  // back (or are removed if they did not exist) and RigError
  // (kExitWriteFailed) is thrown.
  void CommitAll();

 private:
  std::vector<StagedFile> staged_;
};

}  // namespace rig
