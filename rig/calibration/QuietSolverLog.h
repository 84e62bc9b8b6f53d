// Keeps Ceres Solver's log off the user's terminal. Ceres writes some
// outcomes through glog to stderr even with its own logging set silent (an
// evaluation that fails at the start, a covariance it cannot compute); the
// calibration tools return those outcomes to their caller instead.
#pragma once

#include <glog/logging.h>

namespace rig {

// Raises glog's threshold to FATAL for the object's life and then restores
// it. The threshold is process-wide: not for use from two threads at once.
class QuietSolverLog {
 public:
  QuietSolverLog() : saved(FLAGS_minloglevel) { FLAGS_minloglevel = google::GLOG_FATAL; }
  ~QuietSolverLog() { FLAGS_minloglevel = saved; }
  QuietSolverLog(const QuietSolverLog&) = delete;
  QuietSolverLog& operator=(const QuietSolverLog&) = delete;

 private:
  decltype(FLAGS_minloglevel) saved;
};

}  // namespace rig
