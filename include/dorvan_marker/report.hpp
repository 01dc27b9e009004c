// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "dorvan_marker/error.hpp"
#include "dorvan_marker/export.h"
#include "dorvan_marker/import.hpp"

namespace dorvan_marker {

// How far reading a marker for a report got, as version 1.0 names it (the numbers are the
// command line's exit codes).
enum class ReportStatus : int {
  Read = 0,            // every step of the import ran (the host files would be written)
  CannotOpen = 2,      // the marker file cannot be opened or read
  NoModels = 3,        // the marker lacks one of the sections an import needs
  Malformed = 4,       // a step raised; the report holds what was known before it
  LoaderUnusable = 7,  // the loader plug-in cannot serve; the report holds what was known before
  OutOfMemory = 8,     // the memory ran out; the report holds what was known before
};

// The outcome a report's status means (Done for Read); BadCall for a number that names no
// status. Throws nothing.
DORVAN_MARKER_API Outcome OutcomeOf(ReportStatus status) noexcept;

enum class Severity : int {
  Warning = 0,  // the import goes on, but something is not what the marker means
  Error = 1,    // the import fails, or placed pieces reach neither host file
};

// Stable codes of diagnostics; documented in the README, never renamed.
namespace diagnostic_code {
inline constexpr const char* kCannotOpen = "cannot-open";               // the marker file itself
inline constexpr const char* kNoModels = "no-models";                   // a needed section is missing
inline constexpr const char* kMalformed = "malformed";                  // the import would fail here
inline constexpr const char* kModelMissing = "model-missing";           // a model file cannot be read
inline constexpr const char* kModelNameUnsafe = "model-name-unsafe";    // a model name is not a plain file name
inline constexpr const char* kSizeUnresolved = "size-unresolved";       // a size stays a code
inline constexpr const char* kPieceNameUnknown = "piece-name-unknown";  // the model file lacks the piece
inline constexpr const char* kPlacementLost = "placement-lost";         // written to neither host file
inline constexpr const char* kPieceOutsideFabric = "piece-outside-fabric";
inline constexpr const char* kArticleNoSize = "article-no-size";            // a kind that gets no size
inline constexpr const char* kDuplicateHeader = "duplicate-header";         // a tag named twice
inline constexpr const char* kOrphanSection = "orphan-section";             // records no header names
inline constexpr const char* kLoaderUnusable = "loader-unusable";           // the loader plug-in cannot serve
inline constexpr const char* kFabricWidthMissing = "fabric-width-missing";  // no "LEZ" record: a width assumed
inline constexpr const char* kBoxesOverlap = "boxes-overlap";  // box efficiency above 100 %: it says nothing
inline constexpr const char* kOutOfMemory = "out-of-memory";   // the memory ran out, not the marker's fault
}  // namespace diagnostic_code

struct Diagnostic {
  Severity severity = Severity::Warning;
  std::string code;        // one of diagnostic_code
  ErrorLocation where;     // file, line, section, record (0-based) and field in the marker
  std::string message;     // the words, without the position
  std::string model_path;  // model-missing, size-unresolved, piece-name-unknown: the file tried (empty when
                           // the model name is not a plain file name: nothing is tried)
};

// One placement record ("IGEO") as the import sees it. Lengths in millimetres; x runs along
// the fabric's length, y across its width.
struct PlacedPiece {
  std::size_t record = 0;        // 0-based position in "IGEO"
  std::size_t line = 0;          // line of the record in the marker
  std::size_t piece_record = 0;  // 0-based position of its piece record in "IBA"
  std::string name;              // piece name as written to the host files
  std::string size;              // its size
  bool lost = false;             // size not among the marker's sizes: in neither host file
  bool mirrored = false;         // turned over (mirror code 1 or 2)
  bool quarter_turn = false;
  int mirror_code = 0;  // 0..3 as the placement file writes it
  double x_origin = 0.0;
  double y_origin = 0.0;
  double x_extent = 0.0;
  double y_extent = 0.0;
  double angle = 0.0;  // degrees, as the placement file writes it (0 when lost)
};

// The units the outputs give a length in besides millimetres, each factor once.
inline constexpr double kMillimetresPerCentimetre = 10.0;
inline constexpr double kMillimetresPerMetre = 1000.0;
inline constexpr double kMillimetresPerInch = 25.4;
inline constexpr double kMillimetresPerYard = 914.4;
inline constexpr double Centimetres(double mm) { return mm / kMillimetresPerCentimetre; }
inline constexpr double Metres(double mm) { return mm / kMillimetresPerMetre; }
inline constexpr double Inches(double mm) { return mm / kMillimetresPerInch; }
inline constexpr double Yards(double mm) { return mm / kMillimetresPerYard; }

// One of the marker's sizes, in the order the host files list them.
struct SizeReport {
  std::string size;
  std::size_t placed = 0;  // placements of this size
  std::string host_model;  // the host model (run) it belongs to; empty when nothing is placed
};

// The loader that answered the model-file queries.
struct LoaderReport {
  bool chosen = false;      // false when the road ended before a loader was needed
  std::string plugin_path;  // the loader plug-in's file; empty for the library's own .mdl loader
  std::string name;         // the name and version the plug-in reports; empty until it served
  std::string version;
};

struct MarkerReport {
  ReportStatus status = ReportStatus::CannotOpen;
  std::string path;             // the marker path as given
  std::string title;            // the marker's name
  std::string code_page;        // the code page names were read in: the one chosen ("1252", "utf-8", "932",
                                // ...), else the system's ("single-byte", "utf-8", "932", ...)
  LoaderReport loader;          // which loader answered the model files
  double width_mm = 0.0;        // fabric width the host files use (13608 when the marker names none)
  double used_length_mm = 0.0;  // largest x origin + x extent of any placement
  double used_width_mm = 0.0;   // largest y origin + y extent of any placement
  double box_efficiency = 0.0;  // sum of the placements' box areas / (width x used length); 0 when undefined,
                                // as it is when the marker names no width
  std::vector<PlacedPiece> placements;
  std::vector<SizeReport> sizes;
  std::vector<std::string> styles;  // distinct model names ("VNMD" of "VMDL")
  std::vector<Diagnostic> diagnostics;

  std::size_t Count(Severity severity) const {
    std::size_t count = 0;
    for (const Diagnostic& diagnostic : diagnostics) count += diagnostic.severity == severity ? 1 : 0;
    return count;
  }
  // Whether the marker names its fabric width; when not, width_mm is the width the host
  // files assume, a fabric-width-missing warning says so, and there is no efficiency.
  bool FabricWidthKnown() const { return !Has(diagnostic_code::kFabricWidthMissing); }
  // Whether a diagnostic of code (one of diagnostic_code) was found.
  bool Has(std::string_view code) const {
    for (const Diagnostic& diagnostic : diagnostics) {
      if (diagnostic.code == code) return true;
    }
    return false;
  }
  std::size_t LostCount() const {
    std::size_t count = 0;
    for (const PlacedPiece& piece : placements) count += piece.lost ? 1 : 0;
    return count;
  }
};

// A marker's report with the fabric per garment, what the sheet of a cutting room shows.
// The garments stand beside MarkerReport rather than in it: MarkerReport and SizeReport
// keep the layout that programs built against version 1.0 of the library rely on.
struct MarkerSheet : MarkerReport {
  // Articles ("VART" records) with at least one placement that reaches a host file: each
  // is one garment of its size.
  std::size_t garments = 0;
  std::vector<std::size_t> garments_by_size;  // the garments of each entry of sizes, when counted

  // The garments of sizes[i]; 0 when the report ended before they were counted.
  std::size_t GarmentsOfSize(std::size_t i) const { return i < garments_by_size.size() ? garments_by_size[i] : 0; }
  // The used length that one garment takes; 0 when there is none.
  double LengthPerGarmentMm() const { return garments == 0 ? 0.0 : used_length_mm / static_cast<double>(garments); }
};

// Reads the marker at marker_path as an import does, model files included (through the
// loader plug-in that ImportMarker would use), and writes nothing: what the import would
// write and every diagnostic along the way, and its garments. Throws nothing; a failure is
// a status with an error diagnostic that names the position. May be called from several
// threads at once.
DORVAN_MARKER_API MarkerSheet InspectMarkerSheet(const std::string& marker_path, const ImportOptions& options = {});

// Imports the marker at marker_path into the two files of `out` and, on the same reading of
// the marker and its model files, fills report with what InspectMarkerSheet gives for it.
// The result, placements and the host files are those of ImportMarker with the same
// arguments; report is the same as InspectMarkerSheet's, whatever became of the host files.
// Throws nothing. May be called from several threads at once.
DORVAN_MARKER_API ImportResult ImportAndInspect(const std::string& marker_path, const HostFilePaths& out,
                                                const ImportOptions& options, std::size_t& placements,
                                                MarkerSheet& report);

// The same import with a report that lists no placements: report is what InspectMarker
// gives for the marker, its diagnostics, measures and sizes included, except that
// report.placements is left empty. For a caller that tells what was said of an import,
// spared an entry for each of tens of thousands of placements. Throws nothing. May be
// called from several threads at once.
DORVAN_MARKER_API ImportResult ImportAndCheck(const std::string& marker_path, const HostFilePaths& out,
                                              const ImportOptions& options, std::size_t& placements,
                                              MarkerReport& report);

// The same report without the garments, as version 1.0 gave it.
DORVAN_MARKER_API MarkerReport InspectMarker(const std::string& marker_path, const ImportOptions& options = {});

// The name of the code page options ask for, as OfferedCodePage gives it ("1252", "932",
// "936", "949", "950", "utf-8"); when options name none, the system's ("single-byte",
// "utf-8", "932", ...); empty when the name is unknown.
DORVAN_MARKER_API std::string CodePageName(const ImportOptions& options);

}  // namespace dorvan_marker
