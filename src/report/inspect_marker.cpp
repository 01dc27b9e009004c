// SPDX-License-Identifier: MIT
// A marker read as an import reads it, with everything the import passes over in silence.
#include <algorithm>

#include "dorvan_marker/report.hpp"
#include "entry/failure.hpp"
#include "entry/host_file_output.hpp"
#include "entry/import_pipeline.hpp"
#include "entry/import_result.hpp"
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

// What the report records at each stage of the import's road. Beside an import, it also
// hands the resolved placements to the import's host-file writer, and a stage of the
// report that raises ends only the report: the import goes on as it would alone.
class ReportObserver final : public ImportObserver {
 public:
  ReportObserver(const std::string& marker_path, MarkerSheet& report, DiagnosticList& diagnostics,
                 HostFileOutput* output, PlacementList list)
      : marker_path_(marker_path), report_(report), diagnostics_(diagnostics), output_(output), list_(list) {}

  // The loader the road was given, once it is made.
  void Watch(RecordingLoader& loader) { loader_ = &loader; }

  void MarkerRead(const MarkerDocument& document) override {
    Record([&] {
      report_.title = document.Title;
      report_.width_mm = document.Width;
      AppendStyleNames(document, report_.styles);
      CheckStructure(document, diagnostics_);
    });
  }
  void ModelsResolved(const MarkerDocument& document) override {
    Record([&] { CheckModels(document, *loader_, diagnostics_); });
  }
  void PlacementsResolved(const MarkerDocument& document, HostPlacements& placements) override {
    if (output_ != nullptr) {
      written_ = Guarded(marker_path_, [&] { output_->PlacementsResolved(document, placements); });
    }
    Record([&] {
      ReportPlacements(document, placements, report_, diagnostics_, list_);
      if (list_ == PlacementList::kKept) CountGarments(placements, report_);
    });
  }

  // Whether the report still follows the road (a stage of its own has not raised).
  bool Recording() const noexcept { return !stopped_; }
  // What ended the report beside an import, when a stage of its own raised.
  const std::optional<Failure>& Stopped() const noexcept { return stopped_; }
  // What writing the host files raised.
  const std::optional<Failure>& WriteFailure() const noexcept { return written_; }

 private:
  // Alone, what a stage raises ends the road, as the import's own steps do.
  template <typename Stage>
  void Record(Stage&& stage) {
    if (stopped_) return;
    if (output_ == nullptr) {
      stage();
      return;
    }
    stopped_ = Guarded(marker_path_, stage);
  }

  const std::string& marker_path_;
  RecordingLoader* loader_ = nullptr;
  MarkerSheet& report_;
  DiagnosticList& diagnostics_;
  HostFileOutput* output_;
  PlacementList list_;
  std::optional<Failure> stopped_;
  std::optional<Failure> written_;
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

// The report's status where the road ended, with the error of a road that stopped short.
void Ended(ImportEnd end, const MarkerDocument& document, const std::string& unreadable, MarkerSheet& report,
           DiagnosticList& diagnostics) {
  switch (end) {
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
}

// How the import's road went, for an import that ran along it.
struct Road {
  ImportEnd end = ImportEnd::CannotOpen;
  std::string unreadable;
  std::string title;
  std::optional<Failure> failure;  // a step of the road, or the writing of the host files, raised
};

// Runs the import's road on the marker, with the loader the import would have, and
// records what it sees; a step that raises ends it, and the report keeps what was known
// before. With output, the host files are written at the end of the same road. With
// PlacementList::kLeftOut the report lists no placements and counts no garments.
Road Inspect(const std::string& marker_path, const LoaderChoice& choice, MarkerSheet& report, HostFileOutput* output,
             PlacementList list = PlacementList::kKept) {
  MarkerDocument document(marker_path, nullptr, choice.code_page, choice.paths);
  DiagnosticList diagnostics(document, report.diagnostics);
  ReportObserver observer(marker_path, report, diagnostics, output, list);
  const LoaderMaker make_loader = [&]() -> std::unique_ptr<VariantLoad> {
    const bool recording = observer.Recording();
    if (recording) {
      report.loader.chosen = true;
      report.loader.plugin_path = choice.plugin;
    }
    CallLoader made = choice.Make();
    if (recording) {
      report.loader.name = made.plugin_name;
      report.loader.version = made.plugin_version;
    }
    auto loader = std::make_unique<RecordingLoader>(std::move(made.loader));
    observer.Watch(*loader);
    return loader;
  };
  Road road;
  road.failure = Guarded(marker_path, [&] {
    road.end = RunImport(document, make_loader, observer, road.unreadable);
    road.title = document.Title;
  });
  // The report ends where its own stage raised, else where the road ended.
  std::optional<Failure> failure = observer.Stopped() ? observer.Stopped() : road.failure;
  if (!failure)
    failure = Guarded(marker_path, [&] { Ended(road.end, document, road.unreadable, report, diagnostics); });
  if (failure) {
    report.status = StatusOf(failure->kind);
    diagnostics.AddFailure(*failure);
  }
  if (!road.failure) road.failure = observer.WriteFailure();
  return road;
}

// The report of a call that failed before the marker was read: an unknown code page, or
// out of memory.
void FailedBeforeReading(const Failure& failure, MarkerSheet& report) {
  report.status = StatusOf(failure.kind);
  Diagnostic diagnostic;
  diagnostic.severity = Severity::Error;
  diagnostic.code =
      failure.kind == Failure::Kind::OutOfMemory ? diagnostic_code::kOutOfMemory : diagnostic_code::kMalformed;
  diagnostic.where = failure.where;
  diagnostic.message = failure.detail;
  report.diagnostics.push_back(std::move(diagnostic));
}

// Diagnostics in the order of the marker's lines; those without a line go last.
void SortByLine(std::vector<Diagnostic>& diagnostics) {
  const auto earlier = [](const Diagnostic& a, const Diagnostic& b) {
    const std::size_t la = a.where.line == 0 ? SIZE_MAX : a.where.line;
    const std::size_t lb = b.where.line == 0 ? SIZE_MAX : b.where.line;
    return la < lb;
  };
  // The checks mostly find them in that order already; moving thousands of them costs.
  if (std::is_sorted(diagnostics.begin(), diagnostics.end(), earlier)) return;
  std::stable_sort(diagnostics.begin(), diagnostics.end(), earlier);
}

// ImportAndInspect, and ImportAndCheck with PlacementList::kLeftOut.
ImportResult ImportAndReport(const std::string& marker_path, const HostFilePaths& out, const ImportOptions& options,
                             std::size_t& placements, MarkerSheet& report, PlacementList list) {
  report = MarkerSheet();
  report.path = marker_path;
  ImportResult result;
  placements = 0;
  const std::optional<Failure> failure = Guarded(marker_path, [&] {
    const LoaderChoice choice = ChooseLoader(options, PluginSearch::kCallerAndEnvironment);
    report.code_page = CodePageName(options);
    HostFileOutput output(out, choice.paths);
    const Road road = Inspect(marker_path, choice, report, &output, list);
    result = road.failure ? ImportResultOf(*road.failure)
                          : ImportResultOf(road.end, marker_path, road.title, road.unreadable);
    placements = output.Written();
  });
  if (failure) {
    result = ImportResultOf(*failure);
    placements = 0;
    FailedBeforeReading(*failure, report);
  }
  SortByLine(report.diagnostics);
  return result;
}

}  // namespace

MarkerSheet InspectMarkerSheet(const std::string& marker_path, const ImportOptions& options) {
  MarkerSheet report;
  report.path = marker_path;
  const std::optional<Failure> failure = Guarded(marker_path, [&] {
    const LoaderChoice choice = ChooseLoader(options, PluginSearch::kCallerAndEnvironment);
    report.code_page = CodePageName(options);
    Inspect(marker_path, choice, report, nullptr);
  });
  if (failure) FailedBeforeReading(*failure, report);
  SortByLine(report.diagnostics);
  return report;
}

ImportResult ImportAndInspect(const std::string& marker_path, const HostFilePaths& out, const ImportOptions& options,
                              std::size_t& placements, MarkerSheet& report) {
  return ImportAndReport(marker_path, out, options, placements, report, PlacementList::kKept);
}

ImportResult ImportAndCheck(const std::string& marker_path, const HostFilePaths& out, const ImportOptions& options,
                            std::size_t& placements, MarkerReport& report) {
  MarkerSheet sheet;
  const ImportResult result = ImportAndReport(marker_path, out, options, placements, sheet, PlacementList::kLeftOut);
  report = std::move(sheet);
  return result;
}

MarkerReport InspectMarker(const std::string& marker_path, const ImportOptions& options) {
  return InspectMarkerSheet(marker_path, options);  // without what the sheet adds
}

std::string CodePageName(const ImportOptions& options) {
  return options.code_page.empty() ? CodePage::System().Name() : OfferedCodePage(options.code_page);
}

}  // namespace dorvan_marker
