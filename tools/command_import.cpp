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
#include "exit_codes.hpp"
#include "workers.hpp"

namespace cli {
namespace {

int ExitOf(dorvan_marker::ImportStatus status) {
  switch (status) {
    case dorvan_marker::ImportStatus::Imported: return kOk;
    case dorvan_marker::ImportStatus::CannotOpen: return kCannotOpen;
    case dorvan_marker::ImportStatus::NoModels: return kNoModels;
    case dorvan_marker::ImportStatus::CannotWrite: return kCannotWrite;
    case dorvan_marker::ImportStatus::LoaderUnusable: return kLoaderUnusable;
    case dorvan_marker::ImportStatus::Malformed: break;
  }
  return kMalformed;
}

const char* ResultName(dorvan_marker::ImportStatus status) {
  switch (status) {
    case dorvan_marker::ImportStatus::Imported: return "imported";
    case dorvan_marker::ImportStatus::CannotOpen: return "cannot-open";
    case dorvan_marker::ImportStatus::NoModels: return "no-models";
    case dorvan_marker::ImportStatus::CannotWrite: return "cannot-write";
    case dorvan_marker::ImportStatus::LoaderUnusable: return "loader-unusable";
    case dorvan_marker::ImportStatus::Malformed: break;
  }
  return "malformed";
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

// How one marker of many was imported.
struct Imported {
  dorvan_marker::ImportResult result;
  std::size_t placements = 0;  // the lines of its placement file
};

// The import of one marker into its own folder, made when missing; a folder made for an
// import that failed is removed again, so that only imported markers leave folders.
Imported ImportInto(const std::string& marker, const std::string& folder, const dorvan_marker::ImportOptions& options) {
  Imported imported;
  dorvan_marker::ImportResult& result = imported.result;
  std::error_code error;
  const bool made = std::filesystem::create_directory(FileSystemPath(folder), error);
  if (error) {
    result.status = dorvan_marker::ImportStatus::CannotWrite;
    result.message = "cannot make the folder " + folder + ": " + error.message();
    return imported;
  }
  result =
      dorvan_marker::ImportMarker(marker, dorvan_marker::HostFilePathsIn(folder, kPaths), options, imported.placements);
  if (made && result.status != dorvan_marker::ImportStatus::Imported)
    std::filesystem::remove(FileSystemPath(folder), error);
  return imported;
}

int ImportOne(const std::string& marker, const std::string& out_dir, const dorvan_marker::ImportOptions& options) {
  const auto result = dorvan_marker::ImportMarker(marker, dorvan_marker::HostFilePathsIn(out_dir, kPaths), options);
  if (result.status == dorvan_marker::ImportStatus::Imported) {
    std::cout << result.title << '\n';
    return kOk;
  }
  Complain(result.message);
  return ExitOf(result.status);
}

int ImportMany(const std::vector<std::string>& markers, const std::string& out_dir, std::size_t workers,
               const dorvan_marker::ImportOptions& options) {
  const std::vector<std::string> names = FolderNames(markers);
  std::vector<std::string> folders;
  for (const std::string& name : names) folders.push_back(PathText(FileSystemPath(out_dir) / FileSystemPath(name)));
  std::vector<Imported> results(markers.size());
  {
    Progress progress(markers.size());
    RunOnWorkers(
        markers.size(), workers, [&](std::size_t i) { results[i] = ImportInto(markers[i], folders[i], options); },
        [&](std::size_t i, std::size_t done) { progress.Show(done - 1, markers[i]); });
  }
  int exit_code = kOk;
  Table table({"marker", "result", "placements", "folder"});
  for (std::size_t i = 0; i < markers.size(); ++i) {
    const dorvan_marker::ImportResult& result = results[i].result;
    if (!result.message.empty()) Complain(result.message);
    exit_code = std::max(exit_code, ExitOf(result.status));
    const bool imported = result.status == dorvan_marker::ImportStatus::Imported;
    table.AddRow(
        {markers[i], ResultName(result.status), imported ? std::to_string(results[i].placements) : "-", folders[i]});
  }
  std::cout << table.Render();
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
  if (args.positional.size() == 1) return ImportOne(args.positional[0], out_dir, options);
  return ImportMany(args.positional, out_dir, workers, options);
}

}  // namespace cli
