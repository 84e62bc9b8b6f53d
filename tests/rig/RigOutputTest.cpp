// A write that fails, wherever it fails, leaves every file the user had as
// it was, byte for byte, and leaves nothing else behind.
#include <unistd.h>

#include <set>

#include "rig/RigError.h"
#include "rig/output/OutputSet.h"
#include "tests/rig/RigProcess.h"

namespace {

namespace fs = std::filesystem;

std::set<std::string> Listing(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    const std::string name = fs::relative(entry.path(), dir).string();
    if (name != "stdout.txt" && name != "stderr.txt") names.insert(name);
  }
  return names;
}

struct FailedWrite {
  const char* name;
  const char* shell;  // run before the program, in its shell
  std::string outputs;
  int status;
  const char* message;
  bool needsNonRoot;  // the superuser writes into read-only folders
};

TEST_F(RigProgram, AFailedWriteLeavesEveryFileAsItWasAndNothingBehind) {
  const std::string scene = ReadFile(kExampleScene);
  const std::vector<FailedWrite> cases = {
      {"a file-size limit below the picture", "ulimit -f 4", "--svg old.svg --save old.kprj", 4,
       "old.svg: cannot write the file", false},
      // The rewritten scene fits below the limit, the project does not.
      {"a file-size limit, the scene rewritten", "ulimit -f 4",
       "--save old.kprj --refine --write-back scene.json", 4, "old.kprj: cannot write the file",
       false},
      {"a device that is full", "true", "--svg old.svg --save /dev/full --refine --write-back scene.json",
       4, "/dev/full: cannot write the file (it is not a regular file)", false},
      {"a folder that does not exist", "true",
       "--refine --write-back scene.json --svg old.svg --save nowhere/rig.kprj", 4,
       "its folder nowhere does not exist", false},
      {"a read-only folder", "true", "--refine --write-back scene.json --save locked/rig.kprj", 4,
       "its folder locked is not writable", true},
      {"the project over the scene", "true", "--refine --write-back scene.json --save scene.json", 2,
       "scene.json is an input of this run", false},
  };
  for (const FailedWrite& c : cases) {
    if (c.needsNonRoot && ::geteuid() == 0) continue;
    fs::remove_all(dir);
    fs::create_directories(dir / "locked");
    fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    WriteFile(dir / "scene.json", scene);
    WriteFile(dir / "old.svg", "the user's picture");
    WriteFile(dir / "old.kprj", "the user's project");
    const std::set<std::string> before = Listing(dir);

    const RigRun run = Rig("run scene.json " + c.outputs, c.shell);
    EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.name << ": " << run.err;
    EXPECT_EQ(run.out, "") << c.name;
    EXPECT_EQ(ReadFile(dir / "scene.json"), scene) << c.name;
    EXPECT_EQ(ReadFile(dir / "old.svg"), "the user's picture") << c.name;
    EXPECT_EQ(ReadFile(dir / "old.kprj"), "the user's project") << c.name;
    EXPECT_EQ(Listing(dir), before) << c.name;
  }
}

TEST_F(RigProgram, AMoveThatFailsPutsBackTheFilesAlreadyMoved) {
  WriteFile(dir / "first.txt", "first, as it was");
  WriteFile(dir / "third.txt", "third, as it was");
  {
    rig::OutputSet outputs;
    outputs.Add((dir / "first.txt").string(), "first, new");
    outputs.Add((dir / "second.txt").string(), "second, new");
    outputs.Add((dir / "third.txt").string(), "third, new");
    // Taken over by a folder after staging: moving a file over it fails.
    fs::remove(dir / "third.txt");
    fs::create_directories(dir / "third.txt" / "inside");
    try {
      outputs.CommitAll();
      ADD_FAILURE() << "the move over a folder succeeded";
    } catch (const rig::RigError& e) {
      EXPECT_EQ(e.Status(), rig::kExitWriteFailed);
    }
  }
  EXPECT_EQ(ReadFile(dir / "first.txt"), "first, as it was");
  EXPECT_FALSE(fs::exists(dir / "second.txt"));
  EXPECT_EQ(Listing(dir), (std::set<std::string>{"first.txt", "third.txt", "third.txt/inside"}));
}

}  // namespace
