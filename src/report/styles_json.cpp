// SPDX-License-Identifier: MIT
// The document of `styles --json`.
#include "dorvan_marker/json.hpp"
#include "report/json_writer.hpp"
#include "report/text_encoding.hpp"

namespace dorvan_marker {

const char* StatusName(StyleListStatus status) { return OutcomeWord(OutcomeOf(status), Task::ListStyles); }

std::string StylesJson(const std::vector<MarkerStyles>& markers, const std::string& code_page) {
  JsonWriter json;
  const ByteText how = BeginMarkersDocument(json, "dorvan-marker-styles", code_page);
  for (const MarkerStyles& marker : markers) {
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
  return json.Text();
}

}  // namespace dorvan_marker
