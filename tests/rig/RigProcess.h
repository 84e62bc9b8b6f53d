// Runs the built vistrel-rig as a user does, in a directory of its own, and
// collects its exit status, standard output and standard error; reads back
// the PNG images it writes or renders.
#pragma once

#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct RigRun {
  int status;
  std::string out, err;
};

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A fresh working directory per test and per process (several checkouts may
// run the suite at once on one machine); `args` are passed through the shell.
class RigProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = std::filesystem::path(::testing::TempDir()) /
          (std::string("rig_") + info->test_suite_name() + "_" + info->name() + "_" +
           std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  // `shell` runs first in the same shell (a limit such as "ulimit -f 4").
  RigRun Rig(const std::string& args, const std::string& shell = "true") const {
    const std::string command = "cd '" + dir.string() + "' && " + shell + " && '" VISTREL_RIG_PATH "' " + args +
                                " >stdout.txt 2>stderr.txt";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(dir / "stdout.txt"),
            ReadFile(dir / "stderr.txt")};
  }

  std::filesystem::path dir;
};

constexpr const char* kExampleScene = VISTREL_SOURCE_DIR "/examples/four-projectors.json";

struct Rgb {
  int r, g, b;
};

// An RGB PNG file, read with libpng's simplified reader (0 x 0 when unreadable).
class Png {
 public:
  explicit Png(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return;
    image.format = PNG_FORMAT_RGB;
    pixels_.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, pixels_.data(), 0, nullptr)) {
      width_ = static_cast<int>(image.width);
      height_ = static_cast<int>(image.height);
    }
  }
  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb At(double x, double y) const {
    const std::size_t i = 3 * (static_cast<std::size_t>(y) * width_ + static_cast<std::size_t>(x));
    return {pixels_[i], pixels_[i + 1], pixels_[i + 2]};
  }

 private:
  std::vector<png_byte> pixels_;
  int width_ = 0, height_ = 0;
};
