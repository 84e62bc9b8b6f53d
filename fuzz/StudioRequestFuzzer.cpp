// Arbitrary requests to the studio, as the parts of them the studio itself
// reads: the first line is a Host header, the second a request path, the
// rest a body sent to replace the scene. Properties: a Host header is
// allowed only when it names the server's own port; a path finds an asset
// only when it is one of the built-in ones; a body either becomes the scene
// (and the answer carries the report and both pictures) or is refused with
// a message and a position inside the text, the last good scene kept; no
// other exception leaves the session.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "fuzz/RigFuzzSupport.h"
#include "rig/scene/SceneReader.h"
#include "rig/studio/StudioAssets.h"
#include "rig/studio/StudioServer.h"
#include "rig/studio/StudioSession.h"

namespace {

constexpr int kPort = 8740;
// As the scene reader's fuzz target: enough projectors to reach the
// module's lists, few enough to keep an input fast.
constexpr std::size_t kMaxRunProjectors = 64;
constexpr char kFirstScene[] =
    R"({"screen": {"radius": 5}, "camera": {"position": [0, 1, 0], "aim": {"angle": 0, "height": 1},)"
    R"( "field_of_view": [90, 60]}, "projectors": [{"name": "A", "aim": {"angle": 0, "height": 1},)"
    R"( "distance": 2, "field_of_view": [50, 30]}]})";

char sceneFile[] = "/tmp/studio-fuzz-XXXXXX";

void RemoveSceneFile() { std::remove(sceneFile); }

// The session of the whole run, on a scene file of its own, removed at exit
// (the session never saves, so there is no backup beside it).
rig::StudioSession& Session(std::string& path) {
  static std::string file = [] {
    const int fd = mkstemp(sceneFile);
    fuzz::Require(fd >= 0, "a scene file for the session");
    close(fd);
    std::atexit(RemoveSceneFile);
    std::ofstream(sceneFile, std::ios::binary) << kFirstScene;
    return std::string(sceneFile);
  }();
  static rig::ModuleSession keepLoaded = fuzz::NewSession();
  static rig::StudioSession session(file, VISTREL_MODULE_PATH);
  path = file;
  return session;
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

void CheckHost(const std::string& header) {
  for (const char* bound : {"127.0.0.1", "::1", "0.0.0.0", "192.168.1.5"}) {
    if (!rig::HostHeaderAllowed(header, bound, kPort)) continue;
    std::string lower = header;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    fuzz::Require(EndsWith(lower, ":" + std::to_string(kPort)), "an allowed Host names the server's port");
  }
}

void CheckPath(const std::string& path) {
  const rig::StudioAsset* asset = rig::FindStudioAsset(path);
  if (!asset) return;
  fuzz::Require(path == asset->path || (path == "/" && std::string(asset->path) == "/index.html"),
                "a path finds only the asset of that name");
}

void CheckReplace(const std::string& body) {
  // Bodies the reader accepts with more projectors than a fast input holds
  // are left to the scene reader's own target.
  try {
    if (rig::ReadSceneText(body, "fuzz.json").projectors.size() > kMaxRunProjectors) return;
  } catch (const rig::RigError&) {
  }
  std::string path;
  rig::StudioSession& session = Session(path);
  const std::string before = session.SceneText();
  nlohmann::json answer;
  bool accepted = false;
  fuzz::Refusable([&] { accepted = session.Replace(body, answer); }, rig::kExitOk, "");
  if (accepted) {
    fuzz::Require(session.SceneText() == body, "an accepted body becomes the scene");
    fuzz::Require(answer.contains("report") && answer["pictures"]["unrolled"].is_string(),
                  "the answer carries the report and the pictures");
    return;
  }
  fuzz::Require(session.SceneText() == before, "a refused body leaves the last good scene");
  const nlohmann::json& error = answer["error"];
  fuzz::Require(!error["message"].get<std::string>().empty(), "a refusal says why");
  const int line = error["line"].get<int>(), column = error["column"].get<int>();
  fuzz::Require(line >= 0 && column >= 0, "a position is never negative");
  std::size_t lines = 1;
  for (char c : body) lines += c == '\n';
  fuzz::Require(static_cast<std::size_t>(line) <= lines, "a refusal's line lies within the text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(bytes), size);
  const std::size_t first = input.find('\n');
  const std::size_t second = first == std::string::npos ? first : input.find('\n', first + 1);
  CheckHost(input.substr(0, first));
  if (first == std::string::npos) return 0;
  CheckPath(input.substr(first + 1, second == std::string::npos ? second : second - first - 1));
  if (second == std::string::npos) return 0;
  CheckReplace(input.substr(second + 1));
  return 0;
}
