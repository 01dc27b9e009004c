// SPDX-License-Identifier: MIT
// The outcomes of the library's calls, their words, and what the statuses of version 1.0 mean.
#include "dorvan_marker/outcome.hpp"

#include "dorvan_marker/import.hpp"
#include "dorvan_marker/report.hpp"

namespace dorvan_marker {

const char* OutcomeWord(Outcome outcome, Task task) noexcept {
  switch (outcome) {
    case Outcome::Done: return task == Task::ListStyles ? "listed" : task == Task::Import ? "imported" : "read";
    case Outcome::CannotOpen: return "cannot-open";
    case Outcome::NoModels: return task == Task::ListStyles ? "no-styles" : "no-models";
    case Outcome::Malformed: return "malformed";
    case Outcome::CannotWrite: return "cannot-write";
    case Outcome::LoaderUnusable: return "loader-unusable";
    case Outcome::BufferTooSmall: return "buffer-too-small";
    case Outcome::BadCall: return "bad-call";
    case Outcome::OutOfMemory: return "out-of-memory";
  }
  return "unknown";
}

Outcome OutcomeOf(StyleListStatus status) noexcept {
  switch (status) {
    case StyleListStatus::Listed: return Outcome::Done;
    case StyleListStatus::NoStyles: return Outcome::NoModels;
    case StyleListStatus::CannotOpen: return Outcome::CannotOpen;
    case StyleListStatus::Malformed: return Outcome::Malformed;
    case StyleListStatus::OutOfMemory: return Outcome::OutOfMemory;
  }
  return Outcome::BadCall;
}

Outcome OutcomeOf(ReportStatus status) noexcept {
  switch (status) {
    case ReportStatus::Read: return Outcome::Done;
    case ReportStatus::CannotOpen: return Outcome::CannotOpen;
    case ReportStatus::NoModels: return Outcome::NoModels;
    case ReportStatus::Malformed: return Outcome::Malformed;
    case ReportStatus::LoaderUnusable: return Outcome::LoaderUnusable;
    case ReportStatus::OutOfMemory: return Outcome::OutOfMemory;
  }
  return Outcome::BadCall;
}

}  // namespace dorvan_marker
