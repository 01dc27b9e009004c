// SPDX-License-Identifier: MIT
#include "hostfiles/pair_replacement.hpp"

#include "hostfiles/busy_retry.hpp"

namespace dorvan_marker {

ReplacementOutcome PairReplacement::Run(const std::vector<ReplacedFile>& files) {
  files_ = files;
  std::vector<bool> in_place(files.size(), false);
  bool exchange = true;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const ReplacedFile& file = files[i];
    if (!file.exists) continue;
    if (exchange) {
      const FileOutcome exchanged = Take({true, file.staged, file.target, i});
      if (exchanged.Ok()) {
        in_place[i] = true;
        previous_.push_back(file.staged);
        continue;
      }
      if (exchanged.kind != FileOutcome::Kind::Unsupported) return Fail(file.target, exchanged);
      exchange = false;
    }
    const FileOutcome set_aside = Take({false, file.target, file.aside, i});
    if (!set_aside.Ok()) return Fail(file.target, set_aside);
    previous_.push_back(file.aside);
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (in_place[i]) continue;
    const FileOutcome renamed = Take({false, files[i].staged, files[i].target, i});
    if (!renamed.Ok()) return Fail(files[i].target, renamed);
  }
  return {};
}

void PairReplacement::RemovePrevious() {
  for (const std::string& previous : previous_) file_system_.Remove(previous);
}

FileOutcome PairReplacement::Take(const Step& step) {
  const FileOutcome outcome = RetryWhileBusy(file_system_, [&] {
    return step.exchange ? file_system_.Exchange(step.from, step.to) : file_system_.Rename(step.from, step.to);
  });
  if (outcome.Ok()) taken_.push_back(step);
  return outcome;
}

FileOutcome PairReplacement::Undo(const Step& step) {
  return RetryWhileBusy(file_system_, [&] {
    return step.exchange ? file_system_.Exchange(step.from, step.to) : file_system_.Rename(step.to, step.from);
  });
}

ReplacementOutcome PairReplacement::Fail(const std::string& target, const FileOutcome& failure) {
  ReplacementOutcome outcome;
  outcome.replaced = false;
  outcome.message = "cannot replace " + target + ": " + failure.reason;
  while (!taken_.empty()) {
    const FileOutcome undone = Undo(taken_.back());
    if (!undone.Ok()) {
      outcome.restored = false;
      outcome.message += "; putting the previous files back failed too (" + undone.reason + "): " + WhereFilesAre();
      return outcome;
    }
    taken_.pop_back();
  }
  previous_.clear();
  return outcome;
}

// Each host file's state after the steps still taken.
std::string PairReplacement::WhereFilesAre() const {
  std::string where;
  for (std::size_t i = 0; i < files_.size(); ++i) {
    const ReplacedFile& file = files_[i];
    std::string previous_at;  // where the previous file went, if it left
    bool new_in_place = false;
    for (const Step& step : taken_) {
      if (step.file != i) continue;
      if (step.exchange) previous_at = file.staged;
      if (!step.exchange && step.from == file.target) previous_at = file.aside;
      new_in_place = new_in_place || step.exchange || step.to == file.target;
    }
    if (!where.empty()) where += "; ";
    where += file.target;
    if (!new_in_place && previous_at.empty()) {
      where += file.exists ? " is the previous one" : " is absent, as before";
    } else {
      where += new_in_place ? " is the new one" : " is missing";
      where += previous_at.empty() ? ", there was none before" : ", the previous one is " + previous_at;
    }
  }
  return where;
}

}  // namespace dorvan_marker
