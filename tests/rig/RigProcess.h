// Runs the built vistrel-rig as a user does, in a directory of its own, and
// collects its exit status, standard output and standard error.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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
