// SPDX-License-Identifier: MIT
// The document of `plan --json`: the one text the command line prints and the C face
// hands out.
#include "dorvan_marker/plan.hpp"
#include "report/json_writer.hpp"
#include "report/text_encoding.hpp"

namespace dorvan_marker {
namespace {

// Millimetres from micrometres: the shortest decimal that reads back the same, which for
// whole micrometres is their exact figure.
double Millimetres(std::int64_t um) { return static_cast<double>(um) / 1000.0; }

}  // namespace

std::string PlanJson(const OrderPlan& plan, const std::string& code_page) {
  JsonWriter json;
  const ByteText how = BeginMarkersDocument(json, "dorvan-marker-plan", code_page);
  for (const PlannedMarker& marker : plan.markers) {
    json.BeginObject();
    json.Key("path").String(ToUtf8(marker.path, how));
    json.Key("title").String(ToUtf8(marker.title, how));
    json.Key("fabric_per_ply_mm").Number(Millimetres(marker.fabric_per_ply_um));
    json.Key("plies").Integer(marker.plies);
    json.Key("fabric_mm").Number(Millimetres(marker.FabricUm()));
    json.EndObject();
  }
  json.EndArray();
  json.Key("max_plies").Integer(plan.max_plies);
  json.Key("end_allowance_mm").Number(Millimetres(plan.end_allowance_um));
  json.Key("sizes").BeginArray();
  for (const PlannedSize& size : plan.sizes) {
    json.BeginObject();
    json.Key("size").String(ToUtf8(size.size, how));
    json.Key("ordered").Integer(size.ordered);
    json.Key("cut").Integer(size.cut);
    json.Key("beyond").Integer(size.Beyond());
    json.EndObject();
  }
  json.EndArray();
  json.Key("garments_beyond").Integer(plan.GarmentsBeyond());
  json.Key("total_fabric_mm").Number(Millimetres(plan.total_fabric_um));
  json.Key("total_fabric_m").Number(static_cast<double>(plan.total_fabric_um) / 1e6);
  json.Key("total_fabric_yd").Number(Millimetres(plan.total_fabric_um) / kMillimetresPerYard);
  json.EndObject();
  return json.Text();
}

}  // namespace dorvan_marker
