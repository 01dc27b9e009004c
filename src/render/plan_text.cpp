// SPDX-License-Identifier: MIT
// The plan of an order for a person (what `plan` prints) and for a spreadsheet (`plan --csv`).
#include "dorvan_marker/plan.hpp"
#include "dorvan_marker/render.hpp"
#include "platform/decimal_text.hpp"
#include "render/csv_field.hpp"

namespace dorvan_marker {
namespace {

double Millimetres(std::int64_t um) { return static_cast<double>(um) / 1000.0; }

std::string MmText(std::int64_t um) { return FixedText(Millimetres(um), 1); }

std::string FabricText(std::int64_t um) {
  const double mm = Millimetres(um);
  return FixedText(mm, 1) + " mm = " + FixedText(Metres(mm), 3) + " m = " + FixedText(Yards(mm), 3) + " yd";
}

std::string MmNumber(std::int64_t um) {
  std::string text;
  AppendShortest(text, Millimetres(um));
  return text;
}

}  // namespace

std::string PlanText(const OrderPlan& plan) {
  std::vector<std::vector<std::string>> markers = {{"marker", "plies", "per ply mm", "fabric mm"}};
  for (const PlannedMarker& marker : plan.markers) {
    markers.push_back(
        {marker.path, std::to_string(marker.plies), MmText(marker.fabric_per_ply_um), MmText(marker.FabricUm())});
  }
  std::vector<std::vector<std::string>> sizes = {{"size", "ordered", "cut", "beyond"}};
  for (const PlannedSize& size : plan.sizes) {
    sizes.push_back({size.size, std::to_string(size.ordered), std::to_string(size.cut), std::to_string(size.Beyond())});
  }
  return AlignedTable(markers) + "\n" + AlignedTable(sizes) + "\ntotal fabric  " + FabricText(plan.total_fabric_um) +
         "\n";
}

std::string PlanCsv(const OrderPlan& plan) {
  std::string csv = "row,name,plies,fabric_per_ply_mm,fabric_mm,ordered,cut,beyond\r\n";
  int plies = 0;
  for (const PlannedMarker& marker : plan.markers) {
    plies += marker.plies;
    csv += "marker," + CsvField(marker.path) + "," + std::to_string(marker.plies) + "," +
           MmNumber(marker.fabric_per_ply_um) + "," + MmNumber(marker.FabricUm()) + ",,,\r\n";
  }
  for (const PlannedSize& size : plan.sizes) {
    csv += "size," + CsvField(size.size) + ",,,," + std::to_string(size.ordered) + "," + std::to_string(size.cut) +
           "," + std::to_string(size.Beyond()) + "\r\n";
  }
  return csv + "total,," + std::to_string(plies) + ",," + MmNumber(plan.total_fabric_um) + ",,," +
         std::to_string(plan.GarmentsBeyond()) + "\r\n";
}

}  // namespace dorvan_marker
