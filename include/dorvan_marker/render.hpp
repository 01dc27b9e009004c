// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dorvan_marker/export.h"
#include "dorvan_marker/import.hpp"
#include "dorvan_marker/json.hpp"
#include "dorvan_marker/path_encoding.hpp"
#include "dorvan_marker/plan.hpp"
#include "dorvan_marker/report.hpp"

namespace dorvan_marker {

// How a marker's report is rendered for people and other programs: what `dorvan-marker`
// prints and writes, byte for byte. Every function renders the reports InspectMarkerSheet
// builds, reads nothing else, may be called from several threads at once and throws
// nothing but std::bad_alloc, unless it says otherwise. Names are the marker's bytes: as
// they are in the text and the CSV, carried as the JSON carries them (CarriedAsUtf8) in the
// SVG and the HTML, which are UTF-8.

// What a report is rendered as.
enum class RenderKind : int {
  Text = 0,  // `inspect`: the report for a person
  Json = 1,  // `inspect --json`: docs/schema/inspect-v1.json
  Csv = 2,   // `inspect --csv`
  Svg = 3,   // `render`: a picture of one marker
  Html = 4,  // `report`: a printable page per marker
};

// The paper the printable pages are laid out for, in landscape.
enum class Paper : int {
  A4 = 0,
  Letter = 1,
};

// The kind named "text", "json", "csv", "svg" or "html"; false for any other name.
DORVAN_MARKER_API bool RenderKindNamed(std::string_view name, RenderKind& kind);
// The paper named "a4" (or "A4") or "letter"; false for any other name.
DORVAN_MARKER_API bool PaperNamed(std::string_view name, Paper& paper);

// One diagnostic as a compiler prints one, without a line end:
//   lays/jacket.txt:41: warning: "IGEO" record 7: "INUM": piece ... [placement-lost]
DORVAN_MARKER_API std::string DiagnosticLine(const Diagnostic& diagnostic);

// Each diagnostic's DiagnosticLine ended by a line feed, in one text to be written at once.
DORVAN_MARKER_API std::string DiagnosticLines(const std::vector<Diagnostic>& diagnostics);

// rows[0] (the headings) and the other rows as text in aligned columns, two blanks
// between two, each row a line without trailing blanks. Numbers are right-aligned, except
// in the first column, which names the row, and among the headings.
DORVAN_MARKER_API std::string AlignedTable(const std::vector<std::vector<std::string>>& rows);

// The reports as `inspect` prints them: each one's text for a person (the marker, its
// measures, sizes, styles and diagnostics), a blank line between two, and after more than
// one the summary table.
DORVAN_MARKER_API std::string InspectText(const std::vector<MarkerSheet>& reports);
// The same for cutting's plies: unless cutting is Default, each marker read adds the plies
// and the fabric they need (FabricNeededMm), and its sizes the garments they cut.
DORVAN_MARKER_API std::string InspectText(const std::vector<MarkerSheet>& reports, const Cutting& cutting);
// A table of one row per marker: its path, sizes, placements, warnings and errors.
DORVAN_MARKER_API std::string SummaryTable(const std::vector<MarkerSheet>& reports);

// The reports of `inspect --csv`: a header row, then one row per marker with the figures
// of `inspect --json`, quoted as RFC 4180 says and ended by CR LF.
DORVAN_MARKER_API std::string InspectCsv(const std::vector<MarkerSheet>& reports);
// The same with the plies, the fabric needed (mm, m, yd) and the garments cut reckoned for
// cutting; InspectCsv(reports) reckons them for one ply without end allowance.
DORVAN_MARKER_API std::string InspectCsv(const std::vector<MarkerSheet>& reports, const Cutting& cutting);

// The marker as an SVG picture: the fabric strip to scale (x along the length to the
// right, y across the width downwards, 1 user unit = 1 mm), every placement's box filled
// with the colour of its size (CSS classes s0, s1, ... in the order of the sizes),
// mirrored pieces crossed by a dashed diagonal, quarter-turned ones marked by a corner
// triangle, lost placements hatched in red, the fabric's two long edges drawn dark and its
// origin marked, and below it scale bars in cm and in inches and a legend of the sizes
// with their counts. Labels are drawn only on boxes big enough to read, so a marker of
// tens of thousands of pieces stays one element per piece. A strip more than eight times
// as long as wide is cut into rows laid one below the other, each clipped to its part, so
// that the picture stays within 2000 pixels and still shows the pieces.
DORVAN_MARKER_API std::string MarkerSvg(const MarkerReport& report);

// The printable report of `report`, one landscape page per marker, in three parts so
// that pages can be written as they are made: HtmlHead (the style sheet and the title,
// which counts the markers), one HtmlPage per marker, then HtmlTail. A page holds the
// marker's picture, figures, sizes, styles and diagnostics, cut to what fits the paper;
// a marker that could not be read gets a page that says why.
DORVAN_MARKER_API std::string HtmlHead(std::size_t markers, Paper paper);
DORVAN_MARKER_API std::string HtmlPage(const MarkerSheet& report);
// The same for cutting's plies: unless cutting is Default, the figures add the plies and
// the fabric they need, and the sizes the garments they cut.
DORVAN_MARKER_API std::string HtmlPage(const MarkerSheet& report, const Cutting& cutting);
DORVAN_MARKER_API const char* HtmlTail();

// How the pages of a printed season are made.
struct PageOptions {
  Cutting cutting;              // the plies every page reckons
  std::string title;            // the report's title, on every page; see ReportTitle
  std::string code_page_given;  // the code page as the caller named it; "" for the system's
  std::size_t page = 0;         // this page's number from 1; 0: the page is not numbered
  std::size_t pages = 0;        // the pages of the report, the summary page among them
};

// The title of a report of marker_paths: title when not empty, else the folder name of
// the first marker's path (after its last '/', or '\\' on Windows), else "Marker report".
DORVAN_MARKER_API std::string ReportTitle(const std::string& title, const std::vector<std::string>& marker_paths);

// The pages of a report of `markers` markers: one a marker, and a summary page first when
// there are more than one or the report plans an order.
DORVAN_MARKER_API std::size_t ReportPages(std::size_t markers, bool with_plan);

// One marker's row on the summary page: what is kept of its report while the others are read.
struct SeasonRow {
  std::string title;      // the marker's name
  std::string path;       // as given
  std::string code_page;  // the names' code page (MarkerReport::code_page)
  ReportStatus status = ReportStatus::CannotOpen;
  bool width_known = false;  // the marker names its fabric width
  double width_mm = 0.0;
  double used_length_mm = 0.0;
  double box_efficiency = 0.0;
  std::size_t garments = 0;
  double fabric_needed_mm = 0.0;  // FabricNeededMm for the page options' cutting
  std::size_t errors = 0;
  std::size_t warnings = 0;
};
DORVAN_MARKER_API SeasonRow SeasonRowOf(const MarkerSheet& report, const Cutting& cutting);

// The first page of a printed season: a row a marker (name, file, fabric width, used
// length, efficiency, garments, plies, fabric needed, errors and warnings) and the totals
// of the markers read; with plan (not null), the plan of the order, or why there is none.
// The rows that do not fit the page are counted, not shown; the totals are of every one.
DORVAN_MARKER_API std::string HtmlSummaryPage(const std::vector<SeasonRow>& rows, const OrderPlan* plan,
                                              const PageOptions& page);
// A marker's page as HtmlPage(report, cutting) makes it, headed by the report's title, the
// code page as the caller named it and "page n of N".
DORVAN_MARKER_API std::string HtmlPage(const MarkerSheet& report, const PageOptions& page);
// HtmlHead with the report's title in the document's title.
DORVAN_MARKER_API std::string HtmlHead(std::size_t markers, Paper paper, const std::string& title);

// The markers at marker_paths, read as InspectMarkerSheet reads them, rendered whole.
struct Rendering {
  std::string text;                          // what the command line writes; empty for a picture not drawn
  ReportStatus status = ReportStatus::Read;  // the first marker not read to the end; Read when every one was
  std::string why;                           // that marker's error diagnostics, one DiagnosticLine a line, no line end
};
// A picture (RenderKind::Svg) takes exactly one marker, and is not drawn when the marker
// was not read to the end; every other kind renders every marker, read or not. The
// printable report (RenderKind::Html) of several markers begins with the summary page,
// and each of its pages is numbered and headed by ReportTitle("", marker_paths). Throws
// std::invalid_argument for a picture of not exactly one marker.
DORVAN_MARKER_API Rendering Render(const std::vector<std::string>& marker_paths, RenderKind kind,
                                   const ImportOptions& options = {}, Paper paper = Paper::A4);

// A file written whole or not at all, as the host files are: it is written beside path
// under a staging name of the library's, created exclusively, and put in place by Commit,
// tried again while another program holds path open; a run that fails or is stopped never
// leaves a half-written file at path. Without Commit, the staged file is removed. One
// thread at a time.
class DORVAN_MARKER_API OutputFile {
 public:
  // paths: how path is written (on Windows, UTF-8 names any file). Throws HostFileError
  // when the staged file cannot be created.
  explicit OutputFile(const std::string& path, PathEncoding paths = PathEncoding::System);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Appends bytes; false once a write has failed (Commit then says why).
  bool Write(std::string_view bytes);
  // Puts the file in place. Throws HostFileError, "cannot write PATH: why", leaving path
  // as it was, when a write or the close failed or the file cannot be put in place.
  void Commit();

 private:
  struct Staged;
  std::unique_ptr<Staged> staged_;
};

}  // namespace dorvan_marker
