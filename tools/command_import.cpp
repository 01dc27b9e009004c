// SPDX-License-Identifier: MIT
// dorvan-marker import: the two host files of one marker, or of many markers side by side,
// each in a folder of its own.
#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "batch.hpp"
#include "cli_common.hpp"
#include "commands.hpp"
#include "dorvan_marker/render.hpp"
#include "dorvan_marker/report.hpp"
#include "exit_codes.hpp"
#include "report_exit.hpp"
#include "workers.hpp"

namespace cli {
namespace {

int ExitOf(dorvan_marker::ImportStatus status) {
  return cli::ExitOf(dorvan_marker::OutcomeOf(status), dorvan_marker::Task::Import);
}

// The number of workers -j asks for; false when it is not a whole number from 1 on.
bool WorkersOf(const Arguments& args, std::size_t& workers) {
  const std::string text = args.Option("-j", "");
  if (text.empty()) {
    workers = MachineCores();
    return true;
  }
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), workers);
  return error == std::errc() && end == text.data() + text.size() && workers >= 1;
}

std::string Folded(const std::string& name) {
  std::string folded = name;
  for (char& c : folded) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return folded;
}

// Each marker's folder: its file name without the extension, and where two markers share
// a name (letter case aside, as Windows compares names), "-2", "-3", ... for the later
// ones. A name that would lead out of the folder ("." or "..", or none) becomes "marker".
std::vector<std::string> FolderNames(const std::vector<std::string>& markers) {
  std::set<std::string> taken;
  std::vector<std::string> names;
  for (const std::string& marker : markers) {
    std::string base = PathText(FileSystemPath(marker).stem());
    if (base.empty() || base == "." || base == "..") base = "marker";
    std::string name = base;
    for (int n = 2; !taken.insert(Folded(name)).second; ++n) name = base + "-" + std::to_string(n);
    names.push_back(name);
  }
  return names;
}

// How one marker was imported.
struct Imported {
  dorvan_marker::ImportResult result;
  std::size_t placements = 0;          // the lines of its placement file
  dorvan_marker::MarkerReport report;  // what inspect says of the marker, read once with the import
};

// Prints the failure or the diagnostics of a marker, and gives its exit code: with
// strict, an imported marker exits as inspect --strict does.
int Tell(const Imported& imported, bool strict) {
  const dorvan_marker::ImportResult& result = imported.result;
  if (result.status != dorvan_marker::ImportStatus::Imported) {
    Complain(result.message);
    return ExitOf(result.status);
  }
  // One write: the standard error is unbuffered, and a large marker has thousands of lines.
  std::cerr << dorvan_marker::DiagnosticLines(imported.report.diagnostics);
  return strict ? ReportExit(imported.report, true) : kOk;
}

// The import of one marker into its own folder, made when missing; a folder made for an
// import that failed is removed again, so that only imported markers leave folders. A
// folder that cannot be made is named only for a marker that is otherwise sound: a
// marker that cannot be opened or read says so first, as with one marker.
Imported ImportInto(const std::string& marker, const std::string& folder, const dorvan_marker::ImportOptions& options) {
  Imported imported;
  dorvan_marker::ImportResult& result = imported.result;
  std::error_code error;
  const bool made = std::filesystem::create_directory(FileSystemPath(folder), error);
  result = dorvan_marker::ImportAndCheck(marker, dorvan_marker::HostFilePathsIn(folder, kPaths), options,
                                         imported.placements, imported.report);
  if (error && result.status == dorvan_marker::ImportStatus::CannotWrite) {
    result.message = "cannot make the folder " + folder + ": " + error.message();
  }
  if (made && result.status != dorvan_marker::ImportStatus::Imported)
    std::filesystem::remove(FileSystemPath(folder), error);
  return imported;
}

int ImportOne(const std::string& marker, const std::string& out_dir, const dorvan_marker::ImportOptions& options,
              bool strict) {
  Imported imported;
  imported.result = dorvan_marker::ImportAndCheck(marker, dorvan_marker::HostFilePathsIn(out_dir, kPaths), options,
                                                  imported.placements, imported.report);
  if (imported.result.status == dorvan_marker::ImportStatus::Imported) std::cout << imported.result.title << '\n';
  return Tell(imported, strict);
}

int ImportMany(const std::vector<std::string>& markers, const std::string& out_dir, std::size_t workers,
               const dorvan_marker::ImportOptions& options, bool strict) {
  const std::vector<std::string> names = FolderNames(markers);
  std::vector<std::string> folders;
  // DIR and a separator as the library joins them: on Windows a double-byte character that
  // ends in a backslash is no separator.
  const std::string command_file = dorvan_marker::HostFilePathsIn(out_dir, kPaths).command_file;
  const std::string prefix = command_file.substr(0, command_file.rfind("csvimprt.txt"));
  for (const std::string& name : names) folders.push_back(prefix + name);
  std::vector<Imported> results(markers.size());
  {
    Progress progress(markers.size());
    RunOnWorkers(
        markers.size(), workers, [&](std::size_t i) { results[i] = ImportInto(markers[i], folders[i], options); },
        [&](std::size_t i, std::size_t done) { progress.Show(done - 1, markers[i]); });
  }
  int exit_code = kOk;
  std::vector<std::vector<std::string>> table = {{"marker", "result", "placements", "warnings", "folder"}};
  for (std::size_t i = 0; i < markers.size(); ++i) {
    const dorvan_marker::ImportResult& result = results[i].result;
    exit_code = std::max(exit_code, Tell(results[i], strict));
    const bool imported = result.status == dorvan_marker::ImportStatus::Imported;
    table.push_back({markers[i],
                     dorvan_marker::OutcomeWord(dorvan_marker::OutcomeOf(result.status), dorvan_marker::Task::Import),
                     imported ? std::to_string(results[i].placements) : "-",
                     imported ? std::to_string(results[i].report.diagnostics.size()) : "-", folders[i]});
  }
  std::cout << dorvan_marker::AlignedTable(table);
  return exit_code;
}

}  // namespace

int RunImport(const Arguments& args) {
  if (args.positional.empty()) return Usage("import takes one or more marker files");
  dorvan_marker::ImportOptions options;
  std::string why;
  if (!OptionsOf(args, options, why)) return Usage(why);
  std::size_t workers = 1;
  if (!WorkersOf(args, workers)) return Usage("-j needs a number of workers from 1 on");
  const std::string out_dir = args.Option("--out-dir", ".");
  // Made once, before any marker is read, so that a folder that cannot be made is told once.
  std::error_code error;
  if (!out_dir.empty()) std::filesystem::create_directories(FileSystemPath(out_dir), error);  // empty: the current one
  if (error) {
    Complain("cannot make the folder " + out_dir + ": " + error.message());
    return kCannotWrite;
  }
  const bool strict = args.Has("--strict");
  if (args.positional.size() == 1) return ImportOne(args.positional[0], out_dir, options, strict);
  return ImportMany(args.positional, out_dir, workers, options, strict);
}

}  // namespace cli
