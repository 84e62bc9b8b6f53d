// The one failure type of the rig program: a message meant for the user and
// the exit status the program ends with. Everything that goes wrong on the
// way from the command line to the outputs is thrown as one of these and
// printed once by main.
#pragma once

#include <stdexcept>
#include <string>

namespace rig {

// Exit statuses (also listed in the program's --help).
enum ExitStatus : int {
  kExitOk = 0,
  kExitBadInput = 1,   // a file or value the program was given is unusable
  kExitUsage = 2,      // the command line itself is wrong
  kExitModule = 3,     // the module cannot be loaded, or stopped an evaluation
  kExitWriteFailed = 4,  // an output file could not be written (inputs are left as they were)
  kExitInternal = 5,     // an unexpected failure inside the program itself (a fault to report)
};

class RigError : public std::runtime_error {
 public:
  RigError(ExitStatus status, const std::string& message)
      : std::runtime_error(message), status_(status) {}
  ExitStatus Status() const { return status_; }

 private:
  ExitStatus status_;
};

}  // namespace rig
