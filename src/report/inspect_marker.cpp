// SPDX-License-Identifier: MIT
// A marker read as an import reads it, with everything the import passes over in silence.
#include <algorithm>
#include <new>

#include "dorvan_marker/report.hpp"
#include "entry/marker_reading.hpp"
#include "models/model_file_loader.hpp"
#include "report/diagnostic_list.hpp"
#include "report/model_checks.hpp"
#include "report/placement_report.hpp"
#include "report/recording_loader.hpp"
#include "report/structure_checks.hpp"

namespace dorvan_marker {
namespace {

std::string MissingSections(const MarkerDocument& document) {
  std::string missing;
  for (const char* tag : {"IGEO", "IBA", "VART"}) {
    if (document.FindSection(tag) == nullptr) missing += std::string(missing.empty() ? "" : ", ") + Quoted(tag);
  }
  if (document.FindSection("VVET") == nullptr && document.FindSection("VMDL") == nullptr) {
    missing += std::string(missing.empty() ? "" : ", ") + "\"VVET\" or \"VMDL\"";
  }
  return missing;
}

// Runs the import's steps on a parsed document; stops at the first that raises.
void ReportParsedMarker(MarkerDocument& document, RecordingLoader& loader, MarkerReport& report,
                        DiagnosticList& diagnostics) {
  report.title = document.Title;
  report.width_mm = document.Width;
  AppendStyleNames(document, report.styles);
  CheckStructure(document, diagnostics);
  if (!document.HasModels()) {
    report.status = ReportStatus::NoModels;
    const std::string missing = MissingSections(document);
    diagnostics.Add(Severity::Error, diagnostic_code::kNoModels, 0, {}, -1, {},
                    "no models: the marker lacks " + missing + ", so the import refuses it");
    return;
  }
  const char* path = document.Path().c_str();
  document.BuildSizeLists(path);
  document.BuildPieceNameTable(path);
  CheckModels(document, loader, diagnostics);
  ReportPlacements(document, report, diagnostics);
  report.status = ReportStatus::Read;
}

// Diagnostics in the order of the marker's lines; those without a line go last.
void SortByLine(std::vector<Diagnostic>& diagnostics) {
  std::stable_sort(diagnostics.begin(), diagnostics.end(), [](const Diagnostic& a, const Diagnostic& b) {
    const std::size_t la = a.where.line == 0 ? SIZE_MAX : a.where.line;
    const std::size_t lb = b.where.line == 0 ? SIZE_MAX : b.where.line;
    return la < lb;
  });
}

}  // namespace

MarkerReport InspectMarker(const std::string& marker_path, const ImportOptions& options) {
  MarkerReport report;
  report.path = marker_path;
  try {
    const CodePage code_page = CodePageOf(options);
    report.code_page = code_page.Name();
    auto recording = std::make_unique<RecordingLoader>(std::make_unique<ModelFileLoader>());
    RecordingLoader& loader = *recording;
    MarkerDocument document(marker_path, std::move(recording), code_page);
    DiagnosticList diagnostics(document, report.diagnostics);
    try {
      if (!ReadMarker(document)) {
        report.status = ReportStatus::CannotOpen;
        diagnostics.Add(Severity::Error, diagnostic_code::kCannotOpen, 0, {}, -1, {}, "cannot open the marker file");
        return report;
      }
      ReportParsedMarker(document, loader, report, diagnostics);
    } catch (const InvalidArgumentError& error) {
      report.status = ReportStatus::Malformed;
      diagnostics.AddRaised(error);
    }
  } catch (const InvalidArgumentError& error) {
    report.status = ReportStatus::Malformed;
    Diagnostic diagnostic;
    diagnostic.severity = Severity::Error;
    diagnostic.code = diagnostic_code::kMalformed;
    diagnostic.where.file = marker_path;
    diagnostic.message = error.Detail();
    report.diagnostics.push_back(std::move(diagnostic));
  } catch (const std::bad_alloc&) {
    report.status = ReportStatus::Malformed;
    Diagnostic diagnostic;
    diagnostic.severity = Severity::Error;
    diagnostic.code = diagnostic_code::kMalformed;
    diagnostic.where.file = marker_path;
    diagnostic.message = "out of memory";
    report.diagnostics.push_back(std::move(diagnostic));
  }
  SortByLine(report.diagnostics);
  return report;
}

std::string CodePageName(const ImportOptions& options) {
  try {
    return CodePageOf(options).Name();
  } catch (const InvalidArgumentError&) {
    return {};
  }
}

}  // namespace dorvan_marker
