#include "rig/export/ParallelRows.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace rig {

void ForEachRow(int rows, int threads, const std::function<void(int)>& row) {
  if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  threads = std::max(1, std::min(threads, rows));
  std::atomic<int> next{0};
  std::exception_ptr failure;
  std::mutex failureLock;
  const auto work = [&] {
    for (int y = next++; y < rows; y = next++) {
      try {
        row(y);
      } catch (...) {
        const std::lock_guard<std::mutex> lock(failureLock);
        if (!failure) failure = std::current_exception();
        next = rows;  // the others stop at their next row
      }
    }
  };
  std::vector<std::thread> pool;
  for (int t = 1; t < threads; ++t) pool.emplace_back(work);
  work();
  for (std::thread& t : pool) t.join();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace rig
