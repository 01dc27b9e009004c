// SPDX-License-Identifier: MIT
// A marker read as an import reads it, with everything the import passes over in silence.
#include <algorithm>

#include "dorvan_marker/report.hpp"
#include "entry/failure.hpp"
#include "entry/import_pipeline.hpp"
#include "entry/loader_choice.hpp"
#include "entry/marker_reading.hpp"
#include "report/diagnostic_list.hpp"
#include "report/garments.hpp"
#include "report/model_checks.hpp"
#include "report/placement_report.hpp"
#include "report/recording_loader.hpp"
#include "report/structure_checks.hpp"

namespace dorvan_marker {
namespace {

std::string MissingSections(const MarkerDocument& document) {
  std::string text;
  for (const std::string& missing : document.MissingSections()) text += (text.empty() ? "" : ", ") + missing;
  return text;
}

// What the report records at each stage of the import's road.
class ReportObserver final : public ImportObserver {
 public:
  ReportObserver(MarkerSheet& report, DiagnosticList& diagnostics) : report_(report), diagnostics_(diagnostics) {}

  // The loader the road was given, once it is made.
  void Watch(RecordingLoader& loader) { loader_ = &loader; }

  void MarkerRead(const MarkerDocument& document) override {
    report_.title = document.Title;
    report_.width_mm = document.Width;
    AppendStyleNames(document, report_.styles);
    CheckStructure(document, diagnostics_);
  }
  void ModelsResolved(const MarkerDocument& document) override { CheckModels(document, *loader_, diagnostics_); }
  void PlacementsResolved(const MarkerDocument& document, HostPlacements& placements) override {
    ReportPlacements(document, placements, report_, diagnostics_);
    CountGarments(placements, report_);
  }

 private:
  RecordingLoader* loader_ = nullptr;
  MarkerSheet& report_;
  DiagnosticList& diagnostics_;
};

ReportStatus StatusOf(Failure::Kind kind) {
  switch (kind) {
    case Failure::Kind::LoaderUnusable: return ReportStatus::LoaderUnusable;
    case Failure::Kind::OutOfMemory: return ReportStatus::OutOfMemory;
    case Failure::Kind::Malformed:
    case Failure::Kind::CannotWrite: break;  // a report writes nothing
  }
  return ReportStatus::Malformed;
}

// Runs the import's road on the marker, with the loader the import would have, and
// records what it sees; a step that raises ends it, and the report keeps what was known
// before.
void Inspect(const std::string& marker_path, const LoaderChoice& choice, MarkerSheet& report) {
  MarkerDocument document(marker_path, nullptr, choice.code_page, choice.paths);
  DiagnosticList diagnostics(document, report.diagnostics);
  ReportObserver observer(report, diagnostics);
  const LoaderMaker make_loader = [&]() -> std::unique_ptr<VariantLoad> {
    report.loader.chosen = true;
    report.loader.plugin_path = choice.plugin;
    CallLoader made = choice.Make();
    report.loader.name = made.plugin_name;
    report.loader.version = made.plugin_version;
    auto recording = std::make_unique<RecordingLoader>(std::move(made.loader));
    observer.Watch(*recording);
    return recording;
  };
  std::optional<Failure> failure;
  failure = Guarded(marker_path, [&] {
    std::string unreadable;
    switch (RunImport(document, make_loader, observer, unreadable)) {
      case ImportEnd::CannotOpen:
        report.status = ReportStatus::CannotOpen;
        diagnostics.Add(Severity::Error, diagnostic_code::kCannotOpen, 0, {}, -1, {},
                        "cannot open the marker file: " + unreadable);
        break;
      case ImportEnd::NoModels:
        report.status = ReportStatus::NoModels;
        diagnostics.Add(Severity::Error, diagnostic_code::kNoModels, 0, {}, -1, {},
                        "no models: the marker lacks " + MissingSections(document) + ", so the import refuses it");
        break;
      case ImportEnd::Resolved: report.status = ReportStatus::Read; break;
    }
  });
  if (failure) {
    report.status = StatusOf(failure->kind);
    diagnostics.AddFailure(*failure);
  }
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

MarkerSheet InspectMarkerSheet(const std::string& marker_path, const ImportOptions& options) {
  MarkerSheet report;
  report.path = marker_path;
  const std::optional<Failure> failure = Guarded(marker_path, [&] {
    const LoaderChoice choice = ChooseLoader(options, PluginSearch::kCallerAndEnvironment);
    report.code_page = CodePageName(options);
    Inspect(marker_path, choice, report);
  });
  if (failure) {  // before the marker was read: an unknown code page, or out of memory
    report.status = StatusOf(failure->kind);
    Diagnostic diagnostic;
    diagnostic.severity = Severity::Error;
    diagnostic.code =
        failure->kind == Failure::Kind::OutOfMemory ? diagnostic_code::kOutOfMemory : diagnostic_code::kMalformed;
    diagnostic.where = failure->where;
    diagnostic.message = failure->detail;
    report.diagnostics.push_back(std::move(diagnostic));
  }
  SortByLine(report.diagnostics);
  return report;
}

MarkerReport InspectMarker(const std::string& marker_path, const ImportOptions& options) {
  return InspectMarkerSheet(marker_path, options);  // without what the sheet adds
}

std::string CodePageName(const ImportOptions& options) {
  return options.code_page.empty() ? CodePage::System().Name() : OfferedCodePage(options.code_page);
}

}  // namespace dorvan_marker
