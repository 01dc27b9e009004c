// SPDX-License-Identifier: MIT
#include "workers.hpp"

#include <algorithm>
#include <atomic>
#include <exception>

#include "system.hpp"

namespace cli {
namespace {

// One call of `finished` at a time. A spin lock, since the Windows build's C++ runtime
// (mingw-w64's win32 threads) has no std::mutex; the calls are a line of output each.
class SpinLock {
 public:
  void lock() {
    while (flag_.test_and_set(std::memory_order_acquire)) {
    }
  }
  void unlock() { flag_.clear(std::memory_order_release); }

 private:
  std::atomic_flag flag_ = ATOMIC_FLAG_INIT;
};

class Hold {
 public:
  explicit Hold(SpinLock& lock) : lock_(lock) { lock_.lock(); }
  ~Hold() { lock_.unlock(); }
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;

 private:
  SpinLock& lock_;
};

struct Pool {
  Pool(std::size_t jobs, const std::function<void(std::size_t)>& run,
       const std::function<void(std::size_t, std::size_t)>& after)
      : count(jobs), job(run), finished(after) {}

  std::size_t count;
  const std::function<void(std::size_t)>& job;
  const std::function<void(std::size_t, std::size_t)>& finished;
  std::atomic<std::size_t> next{0};
  std::atomic<bool> failed{false};
  std::size_t done = 0;  // under lock
  SpinLock lock;
  std::exception_ptr failure;  // the first, under lock

  void Work() {
    for (std::size_t i = next.fetch_add(1); i < count && !failed.load(); i = next.fetch_add(1)) {
      try {
        job(i);
        const Hold hold(lock);
        finished(i, ++done);
      } catch (...) {
        const Hold hold(lock);
        if (!failure) failure = std::current_exception();
        failed.store(true);
      }
    }
  }
};

void WorkOn(void* pool) { static_cast<Pool*>(pool)->Work(); }

}  // namespace

void RunOnWorkers(std::size_t count, std::size_t workers, const std::function<void(std::size_t)>& job,
                  const std::function<void(std::size_t, std::size_t)>& finished) {
  Pool pool{count, job, finished};
  const std::size_t threads = std::min(std::max<std::size_t>(workers, 1), count);
  if (threads <= 1) {
    pool.Work();
  } else {
    RunOnThreads(threads, WorkOn, &pool);
  }
  if (pool.failure) std::rethrow_exception(pool.failure);
}

}  // namespace cli
