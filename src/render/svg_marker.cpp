// SPDX-License-Identifier: MIT
// The marker as a picture: what `render` writes.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <utility>
#include <vector>

#include "dorvan_marker/render.hpp"
#include "platform/decimal_text.hpp"
#include "render/markup.hpp"

namespace dorvan_marker {
namespace {

constexpr double kTargetPixels = 2000.0;  // the picture's longer side, at most
constexpr double kFontPixels = 14.0;
constexpr double kSmallestLabelPixels = 7.0;

// Coordinates to a tenth of a millimetre, shortest form, whatever the locale.
std::string Num(double value) {
  const double rounded = std::round(value * 10.0) / 10.0;
  std::string text;
  AppendShortest(text, rounded == 0.0 ? 0.0 : rounded);  // no "-0"
  return text;
}

// Fill colour of size i: hues a golden angle apart, so neighbouring sizes differ clearly.
std::string SizeColour(std::size_t i) {
  const double hue = std::fmod(static_cast<double>(i) * 137.508, 360.0);
  const double s = 0.55;
  const double l = 0.62;
  const double c = (1.0 - std::fabs(2.0 * l - 1.0)) * s;
  const double x = c * (1.0 - std::fabs(std::fmod(hue / 60.0, 2.0) - 1.0));
  const double m = l - c / 2.0;
  double r = 0, g = 0, b = 0;
  const int sector = static_cast<int>(hue / 60.0);
  switch (sector) {
    case 0: r = c, g = x; break;
    case 1: r = x, g = c; break;
    case 2: g = c, b = x; break;
    case 3: g = x, b = c; break;
    case 4: r = x, b = c; break;
    default: r = c, b = x; break;
  }
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<unsigned>(std::lround((r + m) * 255)),
                static_cast<unsigned>(std::lround((g + m) * 255)), static_cast<unsigned>(std::lround((b + m) * 255)));
  return text;
}

// A round length for a scale bar, in units of unit_mm: 1, 2 or 5 times a power of ten,
// near a fifth of the used length.
double ScaleBarUnits(double length_mm, double unit_mm) {
  const double wanted = std::max(length_mm / unit_mm / 5.0, 1.0);
  const double power = std::pow(10.0, std::floor(std::log10(wanted)));
  for (const double step : {5.0, 2.0, 1.0}) {
    if (step * power <= wanted) return step * power;
  }
  return power;
}

struct Frame {
  double min_x, min_y, max_x, max_y;  // the drawing's content, in mm
  double unit;                        // mm per pixel
  double font;                        // legend font size, in mm
  std::size_t rows;                   // the strip is cut into this many rows, one below the other
  double row_length;                  // mm of the strip in one row
  double row_pitch;                   // mm from one row's top to the next one's
};

// A marker much longer than wide would be a thin line at any size a screen shows, so it
// is cut into rows laid one below the other, like lines of text, for a picture about
// twice as long as high.
constexpr double kLongestUncutRatio = 8.0;

Frame FrameOf(const MarkerReport& report) {
  Frame f{0.0, 0.0, std::max(report.used_length_mm, 1.0), std::max(report.width_mm, 1.0), 1.0, 0.0, 1, 0.0, 0.0};
  for (const PlacedPiece& piece : report.placements) {
    f.min_x = std::min(f.min_x, piece.x_origin);
    f.min_y = std::min(f.min_y, piece.y_origin);
    f.max_y = std::max(f.max_y, piece.y_origin + piece.y_extent);
  }
  const double length = f.max_x - f.min_x;
  const double height = f.max_y - f.min_y;
  f.row_length = length;
  f.row_pitch = height;
  if (length > kLongestUncutRatio * height) {
    f.rows = static_cast<std::size_t>(std::ceil(std::sqrt(length / (2.0 * height))));
    f.row_length = length / static_cast<double>(f.rows);
    f.row_pitch = height * 1.1;
  }
  const double tallest = static_cast<double>(f.rows - 1) * f.row_pitch + height;
  f.unit = std::max(std::max(f.row_length, tallest) / kTargetPixels, 1.0);  // at most a pixel a millimetre
  f.font = kFontPixels * f.unit;
  return f;
}

// The pieces of row r (those whose box reaches into it), and where the row is drawn.
struct Row {
  double from_x, to_x;      // the part of the strip, in mm along the length
  double shift_x, shift_y;  // added to a point of the strip to place it in the picture
  std::vector<const PlacedPiece*> pieces;
};

std::vector<Row> RowsOf(const MarkerReport& report, const Frame& f) {
  std::vector<Row> rows(f.rows);
  for (std::size_t r = 0; r < f.rows; ++r) {
    rows[r].from_x = f.min_x + static_cast<double>(r) * f.row_length;
    rows[r].to_x = r + 1 == f.rows ? f.max_x : rows[r].from_x + f.row_length;
    rows[r].shift_x = f.min_x - rows[r].from_x;
    rows[r].shift_y = static_cast<double>(r) * f.row_pitch;
  }
  for (const PlacedPiece& piece : report.placements) {
    for (Row& row : rows) {
      if (piece.x_origin <= row.to_x && piece.x_origin + piece.x_extent >= row.from_x) row.pieces.push_back(&piece);
    }
  }
  return rows;
}

void AppendPieces(std::string& svg, const MarkerReport& report, const std::vector<const PlacedPiece*>& placed) {
  std::vector<std::string> size_class;
  for (std::size_t i = 0; i < report.sizes.size(); ++i) {
    // A size listed twice keeps the class of its first entry.
    std::size_t first = i;
    for (std::size_t k = 0; k < i; ++k) {
      if (report.sizes[k].size == report.sizes[i].size) {
        first = k;
        break;
      }
    }
    size_class.push_back(std::string("s").append(std::to_string(first)));
  }
  svg += "<g class=\"pc\">\n";
  for (const PlacedPiece* one : placed) {
    const PlacedPiece& piece = *one;
    std::string cls = "lost";
    if (!piece.lost) {
      for (std::size_t i = 0; i < report.sizes.size(); ++i) {
        if (report.sizes[i].size == piece.size) {
          cls = size_class[i];
          break;
        }
      }
    }
    svg += "<rect class=\"" + cls + "\" x=\"" + Num(piece.x_origin) + "\" y=\"" + Num(piece.y_origin) + "\" width=\"" +
           Num(piece.x_extent) + "\" height=\"" + Num(piece.y_extent) + "\"/>\n";
  }
  svg += "</g>\n";
}

void AppendMarks(std::string& svg, const std::vector<const PlacedPiece*>& placed) {
  std::string mirrored;
  std::string turned;
  for (const PlacedPiece* one : placed) {
    const PlacedPiece& piece = *one;
    if (piece.mirrored) {
      mirrored += std::string("M") + Num(piece.x_origin) + " " + Num(piece.y_origin) + "l" + Num(piece.x_extent) + " " +
                  Num(piece.y_extent);
    }
    if (piece.quarter_turn) {
      const double side = std::min(piece.x_extent, piece.y_extent) * 0.2;
      turned += std::string("M") + Num(piece.x_origin) + " " + Num(piece.y_origin) + "h" + Num(side) + "L" +
                Num(piece.x_origin) + " " + Num(piece.y_origin + side) + "z";
    }
  }
  if (!mirrored.empty()) svg += "<path class=\"mirror\" d=\"" + mirrored + "\"/>\n";
  if (!turned.empty()) svg += "<path class=\"turn\" d=\"" + turned + "\"/>\n";
}

void AppendLabels(std::string& svg, const std::vector<const PlacedPiece*>& placed, const Frame& f,
                  const std::string& code_page) {
  std::string labels;
  for (const PlacedPiece* one : placed) {
    const PlacedPiece& piece = *one;
    const std::string text = piece.name + " " + piece.size;
    const double by_width = piece.x_extent * 0.9 / (0.6 * static_cast<double>(text.size()));
    const double size = std::min({f.font, by_width, piece.y_extent * 0.4});
    if (size < kSmallestLabelPixels * f.unit) continue;
    labels += "<text x=\"" + Num(piece.x_origin + piece.x_extent / 2) + "\" y=\"" +
              Num(piece.y_origin + piece.y_extent / 2) + "\" font-size=\"" + Num(size) + "\">" +
              Markup(text, code_page) + "</text>\n";
  }
  if (labels.empty()) return;
  svg += "<g class=\"label\">\n";
  svg += labels;
  svg += "</g>\n";
}

// The origin of the marker's lengths, where the first row's fabric begins: a cross, and
// "0" in the margin above and left of it.
void AppendOrigin(std::string& svg, const Frame& f) {
  const double arm = f.font * 0.6;
  svg += "<path class=\"origin\" d=\"M" + Num(-arm) + " 0H" + Num(arm) + "M0 " + Num(-arm) + "V" + Num(arm) + "\"/>\n";
  svg += "<text class=\"origin\" x=\"" + Num(-f.font * 0.2) + "\" y=\"" + Num(-f.font * 0.45) + "\" font-size=\"" +
         Num(f.font * 0.8) + "\">0</text>\n";
}

// Scale bars and legend below the fabric, from y = top; returns the y below them.
double AppendLegend(std::string& svg, const MarkerReport& report, const Frame& f, double top,
                    const std::string& code_page) {
  const double font = f.font;
  svg += "<g class=\"legend\" font-size=\"" + Num(font) + "\">\n";
  // One bar in centimetres and one in inches, each of a round length.
  double bar_y = top + font * 0.5;
  for (const auto& [unit_mm, unit] :
       {std::pair(kMillimetresPerCentimetre, " cm"), std::pair(kMillimetresPerInch, " in")}) {
    const double units = ScaleBarUnits(f.row_length, unit_mm);
    const double bar_mm = units * unit_mm;
    svg += "<rect class=\"bar\" x=\"0\" y=\"" + Num(bar_y) + "\" width=\"" + Num(bar_mm) + "\" height=\"" +
           Num(font * 0.4) + "\"/>\n";
    svg += "<text x=\"" + Num(bar_mm + font * 0.5) + "\" y=\"" + Num(bar_y + font * 0.2) + "\">" + Num(units) + unit +
           "</text>\n";
    bar_y += font * 1.2;
  }
  double x = 0.0;
  double y = bar_y + font * 0.6;
  const double right = std::max(f.min_x + f.row_length, 40.0 * font);
  // A swatch (a box of class cls, with a mark drawn over it) and its words.
  auto entry = [&](const std::string& cls, const std::string& text, const char* mark = nullptr) {
    const double width = font * 1.6 + 0.6 * font * static_cast<double>(text.size()) + font;
    if (x > 0.0 && x + width > right) {
      x = 0.0;
      y += font * 1.6;
    }
    const double box_top = y - font * 0.5;
    svg += "<rect class=\"" + cls + "\" x=\"" + Num(x) + "\" y=\"" + Num(box_top) + "\" width=\"" + Num(font) +
           "\" height=\"" + Num(font) + "\"/>";
    if (mark != nullptr && std::string_view(mark) == "mirror") {
      svg += std::string("<path class=\"mirror\" d=\"M") + Num(x) + " " + Num(box_top) + "l" + Num(font) + " " +
             Num(font) + "\"/>";
    } else if (mark != nullptr) {
      svg += std::string("<path class=\"turn\" d=\"M") + Num(x) + " " + Num(box_top) + "h" + Num(font * 0.5) + "L" +
             Num(x) + " " + Num(box_top + font * 0.5) + "z\"/>";
    }
    svg += "<text x=\"" + Num(x + font * 1.4) + "\" y=\"" + Num(y) + "\">" + Markup(text, code_page) + "</text>\n";
    x += width;
  };
  for (std::size_t i = 0; i < report.sizes.size(); ++i) {
    entry(std::string("s").append(std::to_string(i)),
          report.sizes[i].size + " (" + std::to_string(report.sizes[i].placed) + ")");
  }
  const std::size_t lost = report.LostCount();
  if (lost != 0) entry("lost", "in neither host file (" + std::to_string(lost) + ")");
  const auto count = [&](bool PlacedPiece::*flag) {
    return std::count_if(report.placements.begin(), report.placements.end(),
                         [&](const PlacedPiece& piece) { return piece.*flag; });
  };
  if (const auto mirrored = count(&PlacedPiece::mirrored); mirrored != 0) {
    entry("fabric", "mirrored (" + std::to_string(mirrored) + ")", "mirror");
  }
  if (const auto turned = count(&PlacedPiece::quarter_turn); turned != 0) {
    entry("fabric", "quarter turn (" + std::to_string(turned) + ")", "turn");
  }
  svg += "</g>\n";
  return y + font;
}

}  // namespace

std::string MarkerSvg(const MarkerReport& report) {
  const Frame f = FrameOf(report);
  const double pad = f.font;
  const double legend_top = static_cast<double>(f.rows - 1) * f.row_pitch + f.max_y + pad;
  std::string body;
  std::string clips;
  const std::vector<Row> rows = RowsOf(report, f);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const Row& row = rows[r];
    const bool cut = rows.size() > 1;
    if (cut) {
      // Each row shows its part of the strip; a piece across the cut shows in both rows.
      const std::string id = "row" + std::to_string(r);
      clips += "<clipPath id=\"" + id + "\"><rect x=\"" + Num(row.from_x) + "\" y=\"" + Num(f.min_y - pad) +
               "\" width=\"" + Num(row.to_x - row.from_x) + "\" height=\"" + Num(f.max_y - f.min_y + 2 * pad) +
               "\"/></clipPath>\n";
      body += "<g transform=\"translate(" + Num(row.shift_x) + " " + Num(row.shift_y) + ")\" clip-path=\"url(#" + id +
              ")\">\n";
    }
    const double fabric_from = cut ? std::max(row.from_x, 0.0) : 0.0;
    const double fabric_to =
        cut ? std::min(row.to_x, std::max(report.used_length_mm, 1.0)) : std::max(report.used_length_mm, 1.0);
    body += "<rect class=\"fabric\" x=\"" + Num(fabric_from) + "\" y=\"0\" width=\"" +
            Num(std::max(fabric_to - fabric_from, 0.0)) + "\" height=\"" + Num(report.width_mm) + "\"/>\n";
    // The fabric's two long edges, which the cutter lines the marker up against.
    body += "<path class=\"edge\" d=\"M" + Num(fabric_from) + " 0H" + Num(fabric_to) + "M" + Num(fabric_from) + " " +
            Num(report.width_mm) + "H" + Num(fabric_to) + "\"/>\n";
    AppendPieces(body, report, row.pieces);
    AppendMarks(body, row.pieces);
    AppendLabels(body, row.pieces, f, report.code_page);
    if (cut) body += "</g>\n";
  }
  AppendOrigin(body, f);
  const double bottom = AppendLegend(body, report, f, legend_top, report.code_page);

  const double min_x = f.min_x - pad;
  const double min_y = f.min_y - pad;
  const double view_w = std::max(f.row_length, 40.0 * f.font) + 2 * pad;
  const double view_h = bottom - f.min_y + 2 * pad;
  const double hatch = 10.0 * f.unit;

  std::string svg;
  svg.reserve(body.size() + 4096);  // the body, thousands of pieces, is copied once
  svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(std::lround(view_w / f.unit)) +
         "\" height=\"" + std::to_string(std::lround(view_h / f.unit)) + "\" viewBox=\"" + Num(min_x) + " " +
         Num(min_y) + " " + Num(view_w) + " " + Num(view_h) + "\">\n";
  svg += "<title>" + Markup(report.title, report.code_page) + "</title>\n";
  svg += "<defs>\n<pattern id=\"hatch\" patternUnits=\"userSpaceOnUse\" width=\"" + Num(hatch) + "\" height=\"" +
         Num(hatch) + "\" patternTransform=\"rotate(45)\"><rect width=\"" + Num(hatch) + "\" height=\"" + Num(hatch) +
         "\" fill=\"#ffe5e5\"/><rect width=\"" + Num(hatch / 3) + "\" height=\"" + Num(hatch) +
         "\" fill=\"#d00000\"/></pattern>\n" + clips;
  svg += "<style>\n";
  svg += "rect{stroke:#333;stroke-width:" + Num(f.unit) + "}\n";
  svg += ".fabric{fill:#f6f3ec;stroke:#888}\n.bar{fill:#222}\n";
  svg += ".edge{fill:none;stroke:#222;stroke-width:" + Num(2 * f.unit) + "}\n";
  svg += "path.origin{fill:none;stroke:#c00000;stroke-width:" + Num(2 * f.unit) +
         "}\ntext.origin{fill:#c00000;text-anchor:end}\n";
  svg += ".lost{fill:url(#hatch);stroke:#d00000;stroke-width:" + Num(2 * f.unit) + "}\n";
  svg += ".mirror{fill:none;stroke:#222;stroke-width:" + Num(f.unit) + ";stroke-dasharray:" + Num(4 * f.unit) +
         "}\n.turn{fill:#222}\n";
  svg += "text{font-family:sans-serif;fill:#111;dominant-baseline:central}\n.label text{text-anchor:middle}\n";
  for (std::size_t i = 0; i < report.sizes.size(); ++i) {
    svg += ".s" + std::to_string(i) + "{fill:" + SizeColour(i) + "}\n";
  }
  svg += "</style>\n</defs>\n";
  svg += body;
  svg += "</svg>\n";
  return svg;
}

}  // namespace dorvan_marker
