// The studio's state behind its API: the scene as JSON text (the page
// edits the document and sends it whole), the last good evaluation of it
// through the module, and the file it is saved to. Every evaluation takes
// the one path `run` takes (EvaluateScene) with a fresh project of channels,
// and calibrations come from a cache keyed by their inputs, so an edit that
// leaves a calibration's inputs alone never runs its search again. One
// evaluation at a time: every member locks the session.
#pragma once

#include <mutex>
#include <string>

#include <nlohmann/json.hpp>

#include "rig/engine/CalibrationCache.h"
#include "rig/reports/RigReport.h"

namespace rig {

class StudioSession {
 public:
  // Reads the scene file at `scenePath` and evaluates it with the module at
  // `modulePath`. Throws RigError as `run` would (bad input, module).
  StudioSession(std::string scenePath, std::string modulePath);

  // Replaces the scene with `text` when the scene reader accepts it and the
  // module evaluates it; otherwise keeps the last good state. Returns
  // whether it was accepted and the body to answer with: the new state
  // (revision, report, pictures) or {"error": {"message", "line",
  // "column"}} with the reader's message, word for word as the command line
  // prints it (line and column 0 when the module, not the reader, refused).
  bool Replace(const std::string& text, nlohmann::json& answer);

  std::string SceneText();
  nlohmann::json Report();
  std::string UnrolledSvg();
  // The plan view: the rig seen from above.
  std::string PlanSvg();
  // Revision, unsaved changes, calibration runs so far, the last
  // evaluation's time.
  nlohmann::json Status();
  // Everything the page needs after a change: Status() with the report and
  // both pictures.
  nlohmann::json State();

  // Writes the scene to the file named on the command line, whole or not
  // at all, the file's previous content kept beside it as SCENE~. Throws
  // RigError (write failed) when it cannot.
  void Save();

 private:
  void Evaluate(const std::string& text);
  nlohmann::json StatusLocked() const;
  // Status, report and pictures; the scene text too when the page needs it
  // (an answer to a replacement leaves it out: the page sent it).
  nlohmann::json StateLocked(bool withScene) const;

  std::mutex mutex_;
  const std::string scenePath_, modulePath_;
  std::string sceneText_, savedText_;
  RigReport report_;
  nlohmann::json reportJson_;
  std::string unrolledSvg_, planSvg_;
  CalibrationCache cache_;
  long revision_ = 0;
  double evaluationMs_ = 0;
};

// The line and column at the head of a scene reader's message
// ("FILE:LINE:COLUMN: ..."), or zeros.
void ScenePositionOf(const std::string& message, const std::string& fileName, int& line, int& column);

}  // namespace rig
