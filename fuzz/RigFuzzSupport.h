// What the rig program's fuzz targets share: the module built beside them,
// loaded as the program loads it, and the rule that every failure the
// program can meet is a RigError with a status and a message, never another
// exception (a library's raw text) or a crash.
#pragma once

#include <exception>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "rig/RigError.h"
#include "rig/engine/ModuleSession.h"

namespace fuzz {

// A new session on the module. One session lives as long as the process, so
// that the module stays mapped: libFuzzer keeps reading the coverage
// counters of every instrumented library it has seen.
inline rig::ModuleSession NewSession() {
  static rig::ModuleSession keepLoaded(VISTREL_MODULE_PATH);
  return rig::ModuleSession(VISTREL_MODULE_PATH);
}

// Runs `step`; true when it finished, false when it refused with a RigError
// of `allowed` status and a message naming `file`. Anything else aborts.
template <typename Step>
bool Refusable(Step step, rig::ExitStatus allowed, const std::string& file) {
  try {
    step();
    return true;
  } catch (const rig::RigError& e) {
    Require(e.Status() == allowed, "a refusal has the documented exit status");
    Require(std::string(e.what()).find(file) != std::string::npos || file.empty(),
            "a refusal names the file");
    return false;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "escaped: %s\n", e.what());
    Require(false, "only RigError leaves the program's steps");
  }
  return false;
}

}  // namespace fuzz
