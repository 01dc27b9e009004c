// SPDX-License-Identifier: MIT
// dorvan-marker styles: the model names of one or more markers.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "batch.hpp"
#include "cli_common.hpp"
#include "commands.hpp"
#include "dorvan_marker/report.hpp"
#include "exit_codes.hpp"
#include "json_writer.hpp"
#include "text_encoding.hpp"

namespace cli {
namespace {

struct StylesOfMarker {
  std::string path;
  dorvan_marker::StyleListResult result;
  std::vector<std::string> styles;
};

int ExitOf(dorvan_marker::StyleListStatus status) {
  switch (status) {
    case dorvan_marker::StyleListStatus::Listed: return kOk;
    case dorvan_marker::StyleListStatus::NoStyles: return kNoStyles;
    case dorvan_marker::StyleListStatus::CannotOpen: return kCannotOpen;
    case dorvan_marker::StyleListStatus::Malformed: return kMalformed;
  }
  return kMalformed;
}

const char* StatusName(dorvan_marker::StyleListStatus status) {
  switch (status) {
    case dorvan_marker::StyleListStatus::Listed: return "listed";
    case dorvan_marker::StyleListStatus::NoStyles: return "no-styles";
    case dorvan_marker::StyleListStatus::CannotOpen: return "cannot-open";
    case dorvan_marker::StyleListStatus::Malformed: return "malformed";
  }
  return "malformed";
}

void PrintJson(const std::vector<StylesOfMarker>& markers, const std::string& code_page) {
  JsonWriter json;
  const ByteText how = BeginMarkersDocument(json, "dorvan-marker-styles", code_page);
  for (const StylesOfMarker& marker : markers) {
    json.BeginObject();
    json.Key("path").String(ToUtf8(marker.path, how));
    json.Key("status").String(StatusName(marker.result.status));
    json.Key("styles").BeginArray();
    for (const std::string& style : marker.styles) json.String(ToUtf8(style, how));
    json.EndArray();
    json.Key("message");
    if (marker.result.message.empty()) {
      json.Null();
    } else {
      json.String(ToUtf8(marker.result.message, how));
    }
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
  std::cout << json.Text();
}

void PrintText(const std::vector<StylesOfMarker>& markers) {
  const bool several = markers.size() > 1;
  Table table({"marker", "styles", "result"});
  for (const StylesOfMarker& marker : markers) {
    if (several) std::cout << "==> " << marker.path << " <==\n";
    for (const std::string& style : marker.styles) std::cout << style << '\n';
    if (!marker.result.message.empty()) Complain(marker.result.message);
    table.AddRow({marker.path, std::to_string(marker.styles.size()), StatusName(marker.result.status)});
  }
  if (several) std::cout << "\n" << table.Render();
}

}  // namespace

int RunStyles(const Arguments& args) {
  if (args.positional.empty()) return Usage("styles takes one or more marker files");
  dorvan_marker::ImportOptions options;
  std::string why;
  if (!OptionsOf(args, options, why)) return Usage(why);

  std::vector<StylesOfMarker> markers;
  int exit_code = kOk;
  {
    Progress progress(args.positional.size());
    for (std::size_t i = 0; i < args.positional.size(); ++i) {
      progress.Show(i, args.positional[i]);
      StylesOfMarker marker;
      marker.path = args.positional[i];
      marker.result = dorvan_marker::ReadStyleList(marker.path, marker.styles, options);
      exit_code = std::max(exit_code, ExitOf(marker.result.status));
      markers.push_back(std::move(marker));
    }
  }
  if (args.Has("--json")) {
    PrintJson(markers, dorvan_marker::CodePageName(options));
  } else {
    PrintText(markers);
  }
  return exit_code;
}

}  // namespace cli
