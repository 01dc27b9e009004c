// SPDX-License-Identifier: MIT
// A rendered file put in place as the host files are.
#include <string>
#include <vector>

#include "dorvan_marker/error.hpp"
#include "dorvan_marker/render.hpp"
#include "replacement/replacement_transaction.hpp"

namespace dorvan_marker {

struct OutputFile::Staged {
  Staged(const std::string& target, PathEncoding paths) : path(target), transaction({target}, paths) {}

  std::string path;
  ReplacementTransaction transaction;
  std::string failure;  // the first write's that failed
};

OutputFile::OutputFile(const std::string& path, PathEncoding paths) : staged_(std::make_unique<Staged>(path, paths)) {}

OutputFile::~OutputFile() = default;

bool OutputFile::Write(std::string_view bytes) {
  if (!staged_->failure.empty()) return false;  // the file is lost already: a full disk is not tried again
  const WritableFile file = staged_->transaction.Staged(0);
  FileOutcome written = file.file_system->Write(file.handle, bytes.data(), bytes.size());
  if (!written.Ok()) staged_->failure = written.reason.empty() ? "cannot write" : std::move(written.reason);
  return staged_->failure.empty();
}

void OutputFile::Commit() {
  if (!staged_->failure.empty()) throw HostFileError("cannot write " + staged_->path + ": " + staged_->failure);
  staged_->transaction.Commit();
}

}  // namespace dorvan_marker
