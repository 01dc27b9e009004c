// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/file_system.hpp"

namespace dorvan_marker {

// One host file's part in a replacement.
struct ReplacedFile {
  std::string target;   // the host file
  std::string staged;   // the new file, complete and no longer held
  std::string aside;    // where the previous file goes while the new one is put in place
  bool exists = false;  // there is a previous file
};

// How a replacement ended.
struct ReplacementOutcome {
  bool replaced = true;  // every target holds its new file
  bool restored = true;  // or else every target is exactly as before, every new file staged again
  std::string message;   // what went wrong, and where the files are when not restored
};

// Puts new host files in place of the previous ones: all of them or none. The previous
// files stay reachable until all new ones are in place: exchanged with the new files where
// the file system can exchange two names in one step (the staged name then holds the
// previous file), the exchanges back to back; or else all renamed aside before any new
// file is renamed into place, so that an import killed in between leaves a host file
// missing rather than two imports' halves side by side. Renames refused because another
// program has a file open are tried again (busy_retry.hpp). Runs under the
// ReplacementLock.
class PairReplacement {
 public:
  explicit PairReplacement(FileSystem& file_system) : file_system_(file_system) {}

  // On failure undoes every step taken, newest first.
  ReplacementOutcome Run(const std::vector<ReplacedFile>& files);

  // After a replacement: removes the previous files. One that cannot be removed keeps its
  // staging name, and the next import removes it.
  void RemovePrevious();

 private:
  struct Step {
    enum class Kind {
      Exchange,  // the staged file and the target swap names
      SetAside,  // the target is renamed aside
      Install,   // the staged file is renamed to the target
    };
    Kind kind = Kind::Install;
    std::size_t file = 0;
  };

  FileOutcome Take(Step step);
  FileOutcome Undo(Step step);
  ReplacementOutcome Fail(const std::string& target, const FileOutcome& failure);
  std::string WhereFilesAre() const;

  FileSystem& file_system_;
  std::vector<ReplacedFile> files_;
  // Room for every step is made before the first: once files move, nothing is allocated
  // until they are all in place or all back.
  std::vector<Step> taken_;
};

}  // namespace dorvan_marker
