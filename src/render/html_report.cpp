// SPDX-License-Identifier: MIT
// The printable report: what `report` writes.
#include <algorithm>
#include <map>
#include <string_view>
#include <tuple>
#include <vector>

#include "dorvan_marker/json.hpp"
#include "dorvan_marker/render.hpp"
#include "platform/decimal_text.hpp"
#include "platform/position_text.hpp"
#include "render/html_parts.hpp"
#include "render/markup.hpp"
#include "render/report_words.hpp"

namespace dorvan_marker {
namespace {

// What one sheet holds below the picture, at the type sizes of the style sheet. Lines are
// counted at the narrower paper (Letter) and rounded down, so that a page never spills.
constexpr std::size_t kSizeRows = 22;
constexpr std::size_t kDiagnosticLines = 22;
constexpr std::size_t kCharsPerDiagnosticLine = 68;
constexpr std::size_t kStyleChars = 400;
constexpr std::size_t kLinesListed = 8;  // of a diagnostic said at several lines

const char* const kEfficiencyDefinition =
    "by bounding boxes: the sum of the pieces' box areas over fabric width × used length (the pieces' outlines "
    "are not in the marker)";

// Appends bytes in base64 to out.
void AppendBase64(std::string& out, std::string_view bytes) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  out.reserve(out.size() + (bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 | static_cast<unsigned char>(bytes[i + 1]) << 8 |
                       static_cast<unsigned char>(bytes[i + 2]);
    out += {kDigits[v >> 18], kDigits[(v >> 12) & 63], kDigits[(v >> 6) & 63], kDigits[v & 63]};
  }
  if (i < bytes.size()) {
    const bool two = i + 1 < bytes.size();
    const unsigned v =
        static_cast<unsigned char>(bytes[i]) << 16 | (two ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0U);
    out += {kDigits[v >> 18], kDigits[(v >> 12) & 63], two ? kDigits[(v >> 6) & 63] : '=', '='};
  }
}

// A figure as the page prints it, marked with its name in `inspect --json`.
std::string Figure(const char* key, const std::string& value) {
  return std::string("<span data-figure=\"") + key + "\">" + value + "</span>";
}

std::string Row(const char* heading, const std::string& cells) {
  return std::string("<tr><th>") + heading + "</th><td>" + cells + "</td></tr>\n";
}

std::string Definition(const std::string& words) { return "<div class=\"def\">" + words + "</div>"; }

std::string PerGarment(const MarkerSheet& r) {
  if (r.garments == 0) return Figure("length_per_garment_mm", "-") + " (no garment)";
  const double mm = r.LengthPerGarmentMm();
  return Figure("length_per_garment_mm", FixedText(mm, 1)) + " mm = " + FixedText(Metres(mm), 3) +
         " m = " + FixedText(Yards(mm), 3) + " yd of used length";
}

std::string FiguresTable(const MarkerSheet& r, const Cutting& cutting) {
  std::string html = "<table class=\"figures\"><colgroup><col class=\"label\"><col></colgroup>\n";
  const bool width_known = r.FabricWidthKnown();
  html += Row("Fabric width", width_known ? Figure("fabric_width_mm", FixedText(r.width_mm, 1)) +
                                                " mm = " + FixedText(Centimetres(r.width_mm), 1) +
                                                " cm = " + FixedText(Inches(r.width_mm), 2) + " in"
                                          : Figure("fabric_width_mm", "-") + " (the marker names none)");
  html += Row("Used length", Figure("used_length_mm", FixedText(r.used_length_mm, 1)) +
                                 " mm = " + FixedText(Metres(r.used_length_mm), 3) +
                                 " m = " + FixedText(Yards(r.used_length_mm), 3) + " yd");
  html += Row("Across width", Figure("used_width_mm", FixedText(r.used_width_mm, 1)) + " mm used");
  const std::string overlap =
      r.Has(diagnostic_code::kBoxesOverlap) ? " (the boxes overlap: the figure says nothing)" : "";
  html += Row("Efficiency", width_known ? Figure("box_efficiency", FixedText(r.box_efficiency * 100.0, 1)) + " %" +
                                              overlap + Definition(kEfficiencyDefinition)
                                        : Figure("box_efficiency", "-") + " (no fabric width)");
  html += Row("Placements", Figure("placements", std::to_string(r.placements.size())) + ", " +
                                Figure("lost_placements", std::to_string(r.LostCount())) + " in neither host file");
  html += Row("Garments", Figure("garments", std::to_string(r.garments)) + Definition(kGarmentDefinition));
  html += Row("Per garment", PerGarment(r));
  if (!cutting.Default()) {
    html += Row("Plies", Figure("plies", std::to_string(cutting.plies)) + ": " +
                             Figure("fabric_needed_mm", FixedText(FabricNeededMm(r, cutting), 1)) + " mm needed, " +
                             Figure("garments_cut", std::to_string(r.garments * std::size_t(cutting.plies))) +
                             " garments" + Definition(PliesText(r, cutting)));
  }
  return html + "</table>\n";
}

std::string StylesText(const MarkerReport& r, const std::string& how) {
  std::string text;
  std::size_t shown = 0;
  std::size_t chars = 0;
  for (const std::string& style : r.styles) {
    if (shown != 0 && chars + style.size() + 2 > kStyleChars) break;
    text += (shown == 0 ? "" : ", ") + Markup(style, how);
    chars += style.size() + 2;
    ++shown;
  }
  if (shown < r.styles.size()) {
    text += " <span class=\"more\">and " + std::to_string(r.styles.size() - shown) + " more</span>";
  }
  return "<h2>Styles</h2>\n<p class=\"styles\">" + (text.empty() ? "-" : text) + "</p>\n";
}

std::string SizesTable(const MarkerSheet& r, const Cutting& cutting, const std::string& how) {
  const bool plies = !cutting.Default();  // a column of the garments the plies cut
  std::string html =
      "<h2>Sizes</h2>\n<table class=\"sizes\"><colgroup><col class=\"size\"><col class=\"placed\">"
      "<col class=\"garments\">" +
      std::string(plies ? "<col class=\"cut\">" : "") +
      "<col></colgroup>\n<thead><tr><th>size</th><th class=\"n\">placed</th><th "
      "class=\"n\">garments</th>" +
      (plies ? "<th class=\"n\">cut</th>" : "") + "<th>host model</th></tr></thead>\n<tbody>\n";
  const bool cut = r.sizes.size() > kSizeRows;
  const std::size_t shown = cut ? kSizeRows - 1 : r.sizes.size();
  for (std::size_t i = 0; i < shown; ++i) {
    const SizeReport& size = r.sizes[i];
    html += "<tr><td class=\"size\">" + Markup(size.size, how) + "</td><td class=\"n placed\">" +
            std::to_string(size.placed) + "</td><td class=\"n garments\">" + std::to_string(r.GarmentsOfSize(i)) +
            (plies ? "</td><td class=\"n cut\">" + std::to_string(r.GarmentsOfSize(i) * std::size_t(cutting.plies))
                   : std::string()) +
            "</td><td>" + (size.host_model.empty() ? "-" : Markup(size.host_model, how)) + "</td></tr>\n";
  }
  if (cut) {
    html += std::string("<tr><td colspan=\"") + (plies ? "5" : "4") + "\" class=\"more\">and " +
            std::to_string(r.sizes.size() - shown) + " more sizes: inspect lists them all</td></tr>\n";
  }
  return html + "</tbody></table>\n";
}

// Where in the marker a diagnostic is: "line 16, \"IGEO\" record 2, \"INUM\"".
std::string Where(const ErrorLocation& where) {
  std::string text = LineWords(where);
  if (!where.section.empty()) text += (text.empty() ? "" : ", ") + SectionAndRecord(where);
  if (!where.field.empty()) text += (text.empty() ? "\"" : ", \"") + where.field + "\"";
  return text;
}

std::size_t LinesOf(std::size_t chars) { return (chars + kCharsPerDiagnosticLine - 1) / kCharsPerDiagnosticLine; }

// Diagnostics that say the same thing at several places (every lost placement of one
// piece and size, say) are one item on paper, with the lines it was said at.
struct SameDiagnostics {
  const Diagnostic* first;
  std::vector<std::size_t> lines;
};

std::vector<SameDiagnostics> Grouped(const std::vector<Diagnostic>& diagnostics) {
  std::vector<SameDiagnostics> groups;
  std::map<std::tuple<int, std::string_view, std::string_view>, std::size_t> group_of;
  for (const Diagnostic& d : diagnostics) {
    const auto [found, added] = group_of.try_emplace({static_cast<int>(d.severity), d.code, d.message}, groups.size());
    if (added) groups.push_back({&d, {}});
    groups[found->second].lines.push_back(d.where.line);
  }
  return groups;
}

// Where a group was said: the place of a single one, else how often and at which lines.
std::string WhereOf(const SameDiagnostics& group) {
  const std::size_t count = group.lines.size();
  if (count == 1) return Where(group.first->where);
  std::string text = std::to_string(count) + " times, at line";
  const std::size_t listed = std::min<std::size_t>(count, kLinesListed);
  for (std::size_t i = 0; i < listed; ++i) text += (i == 0 ? "s " : ", ") + std::to_string(group.lines[i]);
  if (listed < count) text += " and " + std::to_string(count - listed) + " more";
  return text;
}

std::string DiagnosticsList(const MarkerReport& r, const std::string& how) {
  const std::size_t errors = r.Count(Severity::Error);
  const std::size_t warnings = r.Count(Severity::Warning);
  std::string html = "<h2>Diagnostics: " + std::to_string(errors) + (errors == 1 ? " error, " : " errors, ") +
                     std::to_string(warnings) + (warnings == 1 ? " warning" : " warnings") + "</h2>\n<ol>\n";
  const std::vector<SameDiagnostics> groups = Grouped(r.diagnostics);
  std::size_t lines = 0;
  std::size_t shown = 0;
  std::size_t left_out = r.diagnostics.size();
  for (const SameDiagnostics& group : groups) {
    const Diagnostic& d = *group.first;
    const std::string where = WhereOf(group);
    const std::size_t needed = LinesOf(where.size() + d.message.size() + d.code.size() + 12);
    // A line is kept for the count of those left out.
    const bool last = shown + 1 == groups.size();
    if (lines + needed > kDiagnosticLines - (last ? 0 : 1)) break;
    lines += needed;
    ++shown;
    left_out -= group.lines.size();
    const char* severity = SeverityName(d.severity);
    html += std::string("<li class=\"") + severity + "\" data-code=\"" + Markup(d.code, how) + "\" data-count=\"" +
            std::to_string(group.lines.size()) + "\"><span class=\"sev\">" + severity + "</span> " +
            (where.empty() ? "" : "<span class=\"where\">" + Markup(where, how) + ":</span> ") +
            Markup(d.message, how) + " <span class=\"code\">[" + Markup(d.code, how) + "]</span></li>\n";
  }
  if (groups.empty()) html += "<li class=\"none\">none</li>\n";
  if (left_out != 0) {
    html += "<li class=\"more\">and " + std::to_string(left_out) +
            " more: dorvan-marker inspect lists every diagnostic</li>\n";
  }
  return html + "</ol>\n";
}

const char* WhyUnread(ReportStatus status) {
  switch (status) {
    case ReportStatus::Read: break;
    case ReportStatus::CannotOpen: return "the marker file cannot be opened or read";
    case ReportStatus::NoModels: return "the marker holds no models: a section the import needs is missing";
    case ReportStatus::Malformed: return "the marker is malformed: the import would stop where the error says";
    case ReportStatus::LoaderUnusable: return "the loader plug-in cannot serve";
    case ReportStatus::OutOfMemory: return "the memory ran out while reading it (the marker may be fine)";
  }
  return "";
}

// How the page names the code page: as the caller named it, and what that is.
std::string CodePageWords(const MarkerReport& r, const PageOptions& page, const std::string& how) {
  if (page.page == 0) return " · code page " + Markup(r.code_page, how);
  const std::string given = page.code_page_given.empty() ? "the system's" : page.code_page_given;
  return " · code page " + Markup(given, how) + " (" + Markup(r.code_page, how) + ")";
}

std::string Header(const MarkerReport& r, const PageOptions& page, const std::string& how) {
  std::string details = Markup(r.path, how);
  if (r.loader.chosen) details += " · loader: " + Markup(LoaderText(r.loader), how);
  details += CodePageWords(r, page, how);
  return PageHeader(r.title.empty() ? Markup(r.path, how) : Markup(r.title, how), details, page);
}

// The first error of a marker not read, as the command line prints it.
std::string FirstError(const MarkerReport& r) {
  for (const Diagnostic& d : r.diagnostics) {
    if (d.severity == Severity::Error) return DiagnosticLine(d);
  }
  return {};
}

}  // namespace

std::string PageHeader(const std::string& heading, const std::string& details, const PageOptions& page) {
  if (page.page == 0) return "<header><h1>" + heading + "</h1><p>" + details + "</p></header>\n";
  return "<header><div class=\"running\"><span class=\"report-title\">" + Markup(page.title, kTitleCodePage) +
         "</span><span class=\"page-number\">page " + std::to_string(page.page) + " of " + std::to_string(page.pages) +
         "</span></div><h1>" + heading + "</h1><p>" + details + "</p></header>\n";
}

std::string HtmlPage(const MarkerSheet& report) { return HtmlPage(report, PageOptions{}); }

std::string HtmlPage(const MarkerSheet& report, const Cutting& cutting) {
  PageOptions page;
  page.cutting = cutting;
  return HtmlPage(report, page);
}

std::string HtmlPage(const MarkerSheet& report, const PageOptions& page) {
  const Cutting& cutting = page.cutting;
  const std::string& how = report.code_page;  // the code page the names are in
  const bool read = report.status == ReportStatus::Read;
  std::string html = std::string("<section class=\"sheet\" data-status=\"") + StatusName(report.status) + "\">\n";
  html += Header(report, page, how);
  if (read) {
    // The picture is the largest part of the page: appended in place, never copied.
    html += "<figure class=\"picture\"><img alt=\"the marker's pieces on the fabric\" src=\"data:image/svg+xml;base64,";
    AppendBase64(html, MarkerSvg(report));
    html += "\"></figure>\n";
  } else {
    html += std::string("<div class=\"unread\"><p>This marker cannot be printed: ") + WhyUnread(report.status) +
            ".</p><p class=\"path\">" + Markup(report.path, how) + "</p><p class=\"error\">" +
            Markup(FirstError(report), how) + "</p></div>\n";
  }
  html += "<div class=\"facts\">\n<div>";
  html += read ? "<h2>Figures</h2>\n" + FiguresTable(report, cutting) : std::string();
  html += read || !report.styles.empty() ? StylesText(report, how) : std::string();
  html += "</div>\n<div>";
  html += read ? SizesTable(report, cutting, how) : std::string();
  html += "</div>\n<div class=\"diagnostics\">" + DiagnosticsList(report, how) + "</div>\n</div>\n</section>\n";
  return html;
}

std::string HtmlHead(std::size_t markers, Paper paper) { return HtmlHead(markers, paper, ""); }

std::string HtmlHead(std::size_t markers, Paper paper, const std::string& title) {
  const bool letter = paper == Paper::Letter;
  // The sheet is the page less its margins, a millimetre short, so that rounding never
  // pushes a page onto a second sheet.
  const std::string page_size = letter ? "letter landscape" : "A4 landscape";
  const std::string sheet = letter ? "width:259mm;height:195mm" : "width:277mm;height:189mm";
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; img-src data:; "
      "style-src 'unsafe-inline'\">\n"
      "<title>" +
      (title.empty() ? "Marker report" : Markup(title, kTitleCodePage)) + ": " + std::to_string(markers) +
      (markers == 1 ? " marker" : " markers") +
      "</title>\n<style>\n"
      "@page{size:" +
      page_size +
      ";margin:10mm}\n"
      "*{box-sizing:border-box}\n"
      "html,body{margin:0;padding:0}\n"
      "body{font:7.5pt/1.25 \"DejaVu Sans\",Arial,sans-serif;color:#111;-webkit-print-color-adjust:exact;"
      "print-color-adjust:exact}\n"
      ".sheet{" +
      sheet +
      ";overflow:hidden;display:grid;grid-template-rows:auto minmax(0,1fr) auto;row-gap:2mm;"
      "break-after:page}\n"
      ".sheet:last-child{break-after:auto}\n"
      "header{min-width:0}\n"
      "h1{font-size:13pt;margin:0;white-space:nowrap;overflow:hidden;text-overflow:ellipsis}\n"
      "header p{margin:0.5mm 0 0;white-space:nowrap;overflow:hidden;text-overflow:ellipsis;color:#444}\n"
      ".picture,.unread{margin:0;min-height:0;border:0.3mm solid #bbb}\n"
      ".picture img{display:block;width:100%;height:100%;object-fit:contain}\n"
      ".unread{display:flex;flex-direction:column;align-items:center;justify-content:center;font-size:16pt;"
      "color:#b00000}\n"
      ".unread p{margin:0 10mm 3mm;overflow-wrap:anywhere;text-align:center}\n"
      ".unread .path{font-size:13pt;color:#111}\n.unread .error{font-size:10pt;color:#444}\n"
      ".running{display:flex;justify-content:space-between;color:#444;border-bottom:0.3mm solid #999;"
      "margin-bottom:1mm}\n"
      ".season{overflow:hidden;min-height:0}\n"
      ".season table{margin-bottom:3mm}\n.season td.n,.season th.n{text-align:right}\n"
      ".season tr.total td{font-weight:bold;border-top:0.3mm solid #999}\n"
      ".season .plan{display:grid;grid-template-columns:45% minmax(0,1fr);column-gap:4mm}\n"
      ".season .no-plan{font-size:12pt;color:#b00000}\n"
      ".facts{display:grid;grid-template-columns:28% 28% minmax(0,1fr);column-gap:3mm;max-height:100mm;"
      "overflow:hidden}\n"
      ".facts>div{min-width:0;overflow:hidden}\n"
      "h2{font-size:9pt;margin:0 0 1mm;border-bottom:0.3mm solid #999}\n"
      "p{margin:0 0 2mm}\n"
      "table{border-collapse:collapse;width:100%;table-layout:fixed;margin-bottom:2mm}\n"
      "th,td{text-align:left;vertical-align:top;padding:0.2mm 1mm 0.2mm 0;overflow-wrap:anywhere}\n"
      "col.label{width:28%}\ncol.size{width:20%}\ncol.placed{width:17%}\ncol.garments{width:23%}\ncol.cut{width:16%}\n"
      ".sizes td,.sizes th{white-space:nowrap;overflow:hidden;text-overflow:ellipsis}\n"
      ".n{text-align:right;padding-right:2mm}\n"
      ".def{color:#555;font-size:6.5pt}\n"
      ".styles{overflow-wrap:anywhere}\n"
      ".diagnostics ol{list-style:none;margin:0;padding:0}\n"
      ".diagnostics li{margin:0 0 0.5mm;overflow-wrap:anywhere}\n"
      ".error .sev{color:#b00000;font-weight:bold}\n.warning .sev{color:#8a5a00;font-weight:bold}\n"
      ".code,.where{color:#555}\n.more{font-style:italic}\n"
      "@media screen{body{background:#777}.sheet{background:#fff;margin:6mm auto;box-shadow:0 0 2mm #0008}}\n"
      "</style>\n</head>\n<body>\n";
  return html;
}

const char* HtmlTail() { return "</body>\n</html>\n"; }

}  // namespace dorvan_marker
