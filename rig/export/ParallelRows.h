// Rows of an image computed on several threads. Each row is computed by
// exactly one call of the function, whatever thread runs it, so the result
// does not depend on the number of threads or their timing as long as the
// function writes only its own row.
#pragma once

#include <functional>

namespace rig {

// Calls `row(y)` once for every y in [0, rows) on `threads` threads (0: one
// per hardware thread). The first exception thrown is rethrown here after
// every thread has stopped.
void ForEachRow(int rows, int threads, const std::function<void(int)>& row);

}  // namespace rig
