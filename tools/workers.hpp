// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>

#include "system.hpp"

namespace cli {

// Runs job(0), ..., job(count - 1) on `workers` threads (at most one per job; the calling
// thread waits), each taking the next index as it becomes free. After each job,
// finished(index, done) runs, one call at a time, with done the jobs finished so far.
// An exception from a job or from finished is raised again here once every thread has
// stopped; the jobs not yet begun are then not run.
void RunOnWorkers(std::size_t count, std::size_t workers, const std::function<void(std::size_t)>& job,
                  const std::function<void(std::size_t, std::size_t)>& finished);

}  // namespace cli
