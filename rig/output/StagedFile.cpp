#include "rig/output/StagedFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "rig/RigError.h"

namespace rig {
namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& what, int error) {
  throw RigError(kExitWriteFailed,
                 path + ": cannot write the file (" + what + ": " + std::strerror(error) + ")");
}

// Writes all of `bytes` to `fd`, retrying short writes and interruptions.
bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

StagedFile::StagedFile(const std::string& path, const std::string& bytes) : path_(path) {
  const std::filesystem::path target(path);
  const std::filesystem::path folder =
      target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) Fail(path, "cannot create a temporary file in its folder", errno);
  temporary_ = pattern;
  // mkstemp makes the file 0600; an output is an ordinary file for its user.
  if (::fchmod(fd, 0644) != 0) { /* the file stays private to its user: harmless */ }
  const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  const int error = errno;
  ::close(fd);
  if (!written) {
    std::remove(temporary_.c_str());
    temporary_.clear();
    Fail(path, "the write failed", error);
  }
}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : path_(std::move(other.path_)), temporary_(std::exchange(other.temporary_, {})) {}

StagedFile::~StagedFile() {
  if (!temporary_.empty()) std::remove(temporary_.c_str());
}

void StagedFile::Commit() {
  if (temporary_.empty()) return;
  if (std::rename(temporary_.c_str(), path_.c_str()) != 0) {
    const int error = errno;
    std::remove(temporary_.c_str());
    temporary_.clear();
    Fail(path_, "cannot move the finished file into place", error);
  }
  temporary_.clear();
}

void WriteFileWhole(const std::string& path, const std::string& bytes) {
  StagedFile(path, bytes).Commit();
}

}  // namespace rig
