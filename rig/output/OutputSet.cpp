#include "rig/output/OutputSet.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include "rig/RigError.h"

namespace rig {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
  throw RigError(kExitWriteFailed, path + ": cannot write the file (" + why + "); nothing was written");
}

// The file a write to `path` replaces: a symbolic link's target, so that
// the link itself survives.
std::string Destination(const std::string& path) {
  std::error_code ec;
  if (fs::is_symlink(path, ec)) {
    const fs::path target = fs::weakly_canonical(path, ec);
    if (!ec) return target.string();
  }
  return path;
}

// A hard link to the destination's current contents, beside it; empty
// when there is no destination to keep.
std::string KeepPrevious(const std::string& destination) {
  struct stat st {};
  if (::lstat(destination.c_str(), &st) != 0) return "";
  const fs::path target(destination);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name =
        (folder / ("." + target.filename().string() + ".previous" + std::to_string(attempt))).string();
    if (::link(destination.c_str(), name.c_str()) == 0) return name;
    if (errno != EEXIST) break;
  }
  return "";
}

}  // namespace

void CheckOutputPath(const std::string& path) {
  if (path.empty()) Refuse(path, "an empty path");
  const std::string destination = Destination(path);
  struct stat st {};
  if (::stat(destination.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    Refuse(path, "it is not a regular file");
  }
  const fs::path target(destination);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  struct stat folderStat {};
  if (::stat(folder.c_str(), &folderStat) != 0 || !S_ISDIR(folderStat.st_mode)) {
    Refuse(path, "its folder " + folder.string() + " does not exist");
  }
  if (::access(folder.c_str(), W_OK | X_OK) != 0) {
    Refuse(path, "its folder " + folder.string() + " is not writable");
  }
}

void OutputSet::Add(const std::string& path, const std::string& bytes) {
  CheckOutputPath(path);
  staged_.emplace_back(Destination(path), bytes);
}

void OutputSet::CommitAll() {
  struct Done {
    std::string destination, previous;
  };
  std::vector<Done> done;
  try {
    for (StagedFile& file : staged_) {
      const std::string previous = KeepPrevious(file.Path());
      done.push_back({file.Path(), previous});
      file.Commit();
    }
  } catch (...) {
    // The failed one is the last of `done`: its destination is as it was.
    if (!done.back().previous.empty()) std::remove(done.back().previous.c_str());
    done.pop_back();
    for (auto it = done.rbegin(); it != done.rend(); ++it) {
      if (it->previous.empty()) std::remove(it->destination.c_str());
      else std::rename(it->previous.c_str(), it->destination.c_str());
    }
    throw;
  }
  for (const Done& d : done) {
    if (!d.previous.empty()) std::remove(d.previous.c_str());
  }
  staged_.clear();
}

}  // namespace rig
