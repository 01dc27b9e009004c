// SPDX-License-Identifier: MIT
#include "replacement/pair_replacement.hpp"

#include <algorithm>

#include "replacement/busy_retry.hpp"

namespace dorvan_marker {

ReplacementOutcome PairReplacement::Run(const std::vector<ReplacedFile>& files) {
  files_ = files;
  taken_.clear();
  taken_.reserve(2 * files.size());
  using Kind = Step::Kind;
  bool exchange = true;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!files[i].exists) continue;
    if (exchange) {
      const FileOutcome exchanged = Take({Kind::Exchange, i});
      if (exchanged.Ok()) continue;
      if (exchanged.kind != FileOutcome::Kind::Unsupported) return Fail(files[i].target, exchanged);
      exchange = false;
    }
    const FileOutcome set_aside = Take({Kind::SetAside, i});
    if (!set_aside.Ok()) return Fail(files[i].target, set_aside);
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    const auto exchanged = [&](const Step& step) { return step.file == i && step.kind == Kind::Exchange; };
    if (std::any_of(taken_.begin(), taken_.end(), exchanged)) continue;
    const FileOutcome installed = Take({Kind::Install, i});
    if (!installed.Ok()) return Fail(files[i].target, installed);
  }
  return {};
}

void PairReplacement::RemovePrevious() {
  for (const Step& step : taken_) {
    const ReplacedFile& file = files_[step.file];
    if (step.kind == Step::Kind::Exchange) file_system_.Remove(file.staged);
    if (step.kind == Step::Kind::SetAside) file_system_.Remove(file.aside);
  }
}

FileOutcome PairReplacement::Take(Step step) {
  const ReplacedFile& file = files_[step.file];
  const FileOutcome outcome = RetryWhileBusy(file_system_, [&] {
    switch (step.kind) {
      case Step::Kind::Exchange: return file_system_.Exchange(file.staged, file.target);
      case Step::Kind::SetAside: return file_system_.Rename(file.target, file.aside);
      default: return file_system_.Rename(file.staged, file.target);
    }
  });
  if (outcome.Ok()) taken_.push_back(step);
  return outcome;
}

FileOutcome PairReplacement::Undo(Step step) {
  const ReplacedFile& file = files_[step.file];
  return RetryWhileBusy(file_system_, [&] {
    switch (step.kind) {
      case Step::Kind::Exchange: return file_system_.Exchange(file.staged, file.target);
      case Step::Kind::SetAside: return file_system_.Rename(file.aside, file.target);
      default: return file_system_.Rename(file.target, file.staged);
    }
  });
}

ReplacementOutcome PairReplacement::Fail(const std::string& target, const FileOutcome& failure) {
  while (!taken_.empty()) {
    const FileOutcome undone = Undo(taken_.back());
    if (!undone.Ok()) {
      return {false, false,
              "cannot replace " + target + ": " + failure.reason + "; putting the previous files back failed too (" +
                  undone.reason + "): " + WhereFilesAre()};
    }
    taken_.pop_back();
  }
  return {false, true, "cannot replace " + target + ": " + failure.reason};
}

// Each host file's state after the steps still taken.
std::string PairReplacement::WhereFilesAre() const {
  std::string where;
  for (std::size_t i = 0; i < files_.size(); ++i) {
    const ReplacedFile& file = files_[i];
    const std::string* previous_at = nullptr;  // where the previous file went, if it left
    bool new_in_place = false;
    for (const Step& step : taken_) {
      if (step.file != i) continue;
      if (step.kind == Step::Kind::Exchange) previous_at = &file.staged;
      if (step.kind == Step::Kind::SetAside) previous_at = &file.aside;
      new_in_place = new_in_place || step.kind != Step::Kind::SetAside;
    }
    if (!where.empty()) where += "; ";
    where += file.target;
    if (!new_in_place && previous_at == nullptr) {
      where += file.exists ? " is the previous one" : " is absent, as before";
    } else {
      where += new_in_place ? " is the new one" : " is missing";
      where += previous_at == nullptr ? ", there was none before" : ", the previous one is " + *previous_at;
    }
  }
  return where;
}

}  // namespace dorvan_marker
