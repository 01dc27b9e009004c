// SPDX-License-Identifier: MIT
// Markers read and rendered whole, for the faces that want one text: the C face and Python.
#include <stdexcept>

#include "dorvan_marker/json.hpp"
#include "dorvan_marker/render.hpp"

namespace dorvan_marker {
namespace {

// What the first marker not read to the end tells of itself.
void NoteUnread(Rendering& rendering, const MarkerSheet& report) {
  if (report.status == ReportStatus::Read || rendering.status != ReportStatus::Read) return;
  rendering.status = report.status;
  for (const Diagnostic& diagnostic : report.diagnostics) {
    if (diagnostic.severity != Severity::Error) continue;
    rendering.why += (rendering.why.empty() ? "" : "\n") + DiagnosticLine(diagnostic);
  }
}

// Pages are made one at a time, so that only one marker's report is held at once; the
// summary page keeps a row of each.
void RenderPages(Rendering& rendering, const std::vector<std::string>& paths, const ImportOptions& options,
                 Paper paper) {
  PageOptions page;
  page.title = ReportTitle("", paths);
  page.code_page_given = options.code_page;
  page.page = 1;
  page.pages = ReportPages(paths.size(), false);
  rendering.text = HtmlHead(paths.size(), paper, page.title);
  if (page.pages > paths.size()) {
    std::vector<SeasonRow> rows;
    for (const std::string& path : paths) rows.push_back(SeasonRowOf(InspectMarkerSheet(path, options), page.cutting));
    rendering.text += HtmlSummaryPage(rows, nullptr, page);
    ++page.page;
  }
  for (const std::string& path : paths) {
    const MarkerSheet report = InspectMarkerSheet(path, options);
    NoteUnread(rendering, report);
    rendering.text += HtmlPage(report, page);
    ++page.page;
  }
  rendering.text += HtmlTail();
}

}  // namespace

bool RenderKindNamed(std::string_view name, RenderKind& kind) {
  static constexpr std::pair<std::string_view, RenderKind> kKinds[] = {{"text", RenderKind::Text},
                                                                       {"json", RenderKind::Json},
                                                                       {"csv", RenderKind::Csv},
                                                                       {"svg", RenderKind::Svg},
                                                                       {"html", RenderKind::Html}};
  for (const auto& [known, its_kind] : kKinds) {
    if (name == known) {
      kind = its_kind;
      return true;
    }
  }
  return false;
}

bool PaperNamed(std::string_view name, Paper& paper) {
  if (name == "a4" || name == "A4") {
    paper = Paper::A4;
  } else if (name == "letter") {
    paper = Paper::Letter;
  } else {
    return false;
  }
  return true;
}

Rendering Render(const std::vector<std::string>& marker_paths, RenderKind kind, const ImportOptions& options,
                 Paper paper) {
  Rendering rendering;
  if (kind == RenderKind::Html) {
    RenderPages(rendering, marker_paths, options, paper);
    return rendering;
  }
  if (kind == RenderKind::Svg && marker_paths.size() != 1) throw std::invalid_argument("a picture is of one marker");
  std::vector<MarkerSheet> reports;
  for (const std::string& path : marker_paths) {
    reports.push_back(InspectMarkerSheet(path, options));
    NoteUnread(rendering, reports.back());
  }
  switch (kind) {
    case RenderKind::Text: rendering.text = InspectText(reports); break;
    case RenderKind::Json: rendering.text = InspectJson(reports, CodePageName(options)); break;
    case RenderKind::Csv: rendering.text = InspectCsv(reports); break;
    case RenderKind::Svg:
      if (rendering.status == ReportStatus::Read) rendering.text = MarkerSvg(reports.front());
      break;
    case RenderKind::Html: break;
  }
  return rendering;
}

}  // namespace dorvan_marker
