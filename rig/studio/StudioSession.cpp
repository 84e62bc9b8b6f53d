#include "rig/studio/StudioSession.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "rig/RigError.h"
#include "rig/engine/ModuleSession.h"
#include "rig/engine/RigEvaluation.h"
#include "rig/output/StagedFile.h"
#include "rig/reports/ReportFiniteness.h"
#include "rig/pictures/RigPicture.h"
#include "rig/scene/RigFeasibility.h"
#include "rig/scene/SceneReader.h"

namespace rig {
namespace {

std::string ReadWhole(const std::string& path, bool& ok) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  ok = static_cast<bool>(in);
  return text.str();
}

// Unsaved means a different document, not a different layout of it.
bool SameDocument(const std::string& a, const std::string& b) {
  if (a == b) return true;
  const auto x = nlohmann::json::parse(a, nullptr, false);
  const auto y = nlohmann::json::parse(b, nullptr, false);
  return !x.is_discarded() && !y.is_discarded() && x == y;
}

}  // namespace

void ScenePositionOf(const std::string& message, const std::string& fileName, int& line, int& column) {
  line = column = 0;
  const std::string head = fileName + ":";
  if (message.compare(0, head.size(), head) != 0) return;
  const char* p = message.c_str() + head.size();
  char* end = nullptr;
  const long l = std::strtol(p, &end, 10);
  if (end == p || *end != ':') return;
  p = end + 1;
  const long c = std::strtol(p, &end, 10);
  if (end == p || *end != ':') return;
  if (l < 1 || c < 1 || l > 1 << 30 || c > 1 << 30) return;
  line = static_cast<int>(l);
  column = static_cast<int>(c);
}

StudioSession::StudioSession(std::string scenePath, std::string modulePath)
    : scenePath_(std::move(scenePath)), modulePath_(std::move(modulePath)) {
  bool ok = false;
  const std::string text = ReadWhole(scenePath_, ok);
  if (!ok) throw RigError(kExitBadInput, scenePath_ + ": cannot read the scene file");
  Evaluate(text);
  savedText_ = text;
}

void StudioSession::Evaluate(const std::string& text) {
  const auto begin = std::chrono::steady_clock::now();
  Scene scene = ReadSceneText(text, scenePath_);
  PrepareScene(scene);
  ModuleSession session(modulePath_);
  RigReport report = EvaluateScene(session, scene, true, &cache_);
  nlohmann::json json = FiniteReportJson(report);
  std::string unrolled = RigPictureSvg(report);
  std::string plan = RigPlanSvg(report);
  // Only a complete evaluation replaces the last good state.
  sceneText_ = text;
  report_ = std::move(report);
  reportJson_ = std::move(json);
  unrolledSvg_ = std::move(unrolled);
  planSvg_ = std::move(plan);
  ++revision_;
  evaluationMs_ = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
}

bool StudioSession::Replace(const std::string& text, nlohmann::json& answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  try {
    Evaluate(text);
  } catch (const RigError& e) {
    int line = 0, column = 0;
    ScenePositionOf(e.what(), scenePath_, line, column);
    answer = {{"error", {{"message", e.what()}, {"line", line}, {"column", column}, {"status", e.Status()}}}};
    return false;
  }
  answer = StateLocked(false);
  return true;
}

std::string StudioSession::SceneText() {
  std::lock_guard<std::mutex> lock(mutex_);
  return sceneText_;
}

nlohmann::json StudioSession::Report() {
  std::lock_guard<std::mutex> lock(mutex_);
  return reportJson_;
}

std::string StudioSession::UnrolledSvg() {
  std::lock_guard<std::mutex> lock(mutex_);
  return unrolledSvg_;
}

std::string StudioSession::PlanSvg() {
  std::lock_guard<std::mutex> lock(mutex_);
  return planSvg_;
}

nlohmann::json StudioSession::StatusLocked() const {
  return {{"revision", revision_},
          {"unsaved", !SameDocument(sceneText_, savedText_)},
          {"calibration_runs", cache_.Evaluations()},
          {"evaluation_ms", evaluationMs_},
          {"scene_file", std::filesystem::path(scenePath_).filename().string()}};
}

nlohmann::json StudioSession::Status() {
  std::lock_guard<std::mutex> lock(mutex_);
  return StatusLocked();
}

nlohmann::json StudioSession::StateLocked(bool withScene) const {
  nlohmann::json state = StatusLocked();
  if (withScene) state["scene"] = sceneText_;
  state["report"] = reportJson_;
  state["pictures"] = {{"unrolled", unrolledSvg_}, {"plan", planSvg_}};
  return state;
}

nlohmann::json StudioSession::State() {
  std::lock_guard<std::mutex> lock(mutex_);
  return StateLocked(true);
}

void StudioSession::Save() {
  std::lock_guard<std::mutex> lock(mutex_);
  bool ok = false;
  const std::string previous = ReadWhole(scenePath_, ok);
  std::string text = sceneText_;
  if (text.empty() || text.back() != '\n') text += '\n';
  // Both staged before either is renamed into place: a failure leaves the
  // scene and its backup as they were.
  if (ok) {
    StagedFile backup(scenePath_ + "~", previous);
    StagedFile scene(scenePath_, text);
    backup.Commit();
    scene.Commit();
  } else {
    WriteFileWhole(scenePath_, text);
  }
  savedText_ = sceneText_;
}

}  // namespace rig
