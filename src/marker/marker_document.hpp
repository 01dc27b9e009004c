// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "hostfiles/placement_table.hpp"
#include "marker/record_file.hpp"
#include "models/variant_load.hpp"
#include "platform/code_page.hpp"

namespace dorvan_marker {

class SizeGroups;

// The in-memory form of one marker file and everything derived from it during one call.
// Not copyable: records are views into the text it holds.
//
// Life: construct with the marker path, Parse, then lookups; an import then runs
// BuildSizeLists, BuildPieceNameTable, WriteCommandFile and WritePlacementFile in order.
// Every operation that meets a reference outside its section raises InvalidArgumentError
// naming the file, line, section, record and field.
class MarkerDocument {
 public:
  // path: the marker path as the caller gave it; loader: the model-file loader (the
  // library's own when null); code_page: the code page of names.
  explicit MarkerDocument(std::string path, std::unique_ptr<VariantLoad> loader = nullptr,
                          CodePage code_page = CodePage::System());
  ~MarkerDocument();
  MarkerDocument(const MarkerDocument&) = delete;
  MarkerDocument& operator=(const MarkerDocument&) = delete;

  // --- reading (marker/marker_document.cpp)
  void Parse(TextFile& file);
  const CSection* FindSection(std::string_view tag) const { return records_.FindSection(tag); }
  std::string_view GetFieldValue(const CSection& section, const CElementsArray& record, std::string_view tag) const {
    return records_.GetFieldValue(section, record, tag);
  }
  // GetFieldValue's column, looked up once for reading many records of section.
  FieldColumn Column(const CSection& section, std::string_view tag) const { return records_.Column(section, tag); }
  bool HasModels() const;

  // --- model files (models/)
  // MakeModelFilePath(marker_path, base_name, Codes()), valid until the next call: the
  // marker's folder is found once per marker path, for thousands of pieces ask for a few
  // model files.
  const std::string& ModelFilePath(const char* marker_path, std::string_view base_name) const;
  bool BuildSizeLists(const char* marker_path);
  void ReadArticleSizeCodes(CStringArray& codes) const;
  void ResolveArticleSizes(CStringArray& codes, const char* marker_path, VariantLoad& loader) const;
  void BuildPieceNameTable(const char* marker_path);
  void GetPieceRotationScale(const CSection& pieces, long index, const char* marker_path, VariantLoad& loader,
                             double* rotation, double* x_percent, double* y_percent) const;
  void GetPieceRotationScaleByName(const CSection& pieces, long index, std::string_view vgfn,
                                   const char* marker_path, VariantLoad& loader, double* rotation,
                                   double* x_factor, double* y_factor) const;

  // --- host files (hostfiles/)
  void GetPlacementSizeAndPiece(const CSection* placements, long index, std::string& size,
                                std::string& piece) const;
  // Every placement resolved, in record order; raises what GetPlacementSizeAndPiece
  // raises for the first placement that fails.
  PlacementTable ResolvePlacements() const;
  // The rotation and scale percentages of piece record `piece` as GetPieceRotationScale
  // gives them (callers' outputs preset to 0.0). A loader that repeats its answers is
  // asked once per distinct query and import (ScaleQuery); any other loader is asked on
  // every call, so that it sees every query in the order the writers make them.
  void PieceScale(PlacementTable& table, std::size_t piece, const char* marker_path, double* rotation,
                  double* x_percent, double* y_percent) const;
  // With a loader that repeats its answers, PieceScale of every piece record in one of
  // the groups, in record order, so that the writers, which visit pieces in size order,
  // find every answer known. Any other loader is left to the writers' order.
  void ScaleGroupedPieces(PlacementTable& table, const SizeGroups& groups, const char* marker_path) const;
  // Writes into table.query the loader query that decides piece record `piece`'s scale.
  bool ScaleQuery(PlacementTable& table, std::size_t piece) const;
  void WriteCommandFile(const char* marker_path, const char* output_path);
  void WritePlacementFile(const char* marker_path, const char* output_path);
  // The same with the placements already resolved: an import resolves them once for both.
  void WriteCommandFile(const char* marker_path, const char* output_path, PlacementTable& table);
  void WritePlacementFile(const char* marker_path, const char* output_path, PlacementTable& table);
  // And with the placements grouped by Sizes once for both (SizeGroups(Sizes, table)).
  void WriteCommandFile(const char* marker_path, const char* output_path, PlacementTable& table,
                        const SizeGroups& groups);
  void WritePlacementFile(const char* marker_path, const char* output_path, PlacementTable& table,
                          const SizeGroups& groups);

  // --- members
  CStringArray Sizes;                            // distinct sizes in order of first occurrence
  CStringArray ArticleSizes;                     // one size entry per "VART" record
  std::map<std::string, std::string> PieceNames; // "IART" value -> name in the model file
  std::string Title;                             // marker name: file name, normalised, <= 255 bytes
  double Width = 0.0;                            // fabric width, from "LEZ" / 10, else 13608.0
  std::unique_ptr<VariantLoad> Loader;           // the model-file loader of this call

  const RecordFile& Records() const noexcept { return records_; }
  const CheckedArray<CElementsArray>& HeaderRecords() const noexcept { return records_.HeaderRecords(); }
  std::size_t SectionCount() const noexcept { return records_.SectionCount(); }
  const std::string& Path() const noexcept { return path_; }
  CodePage Codes() const noexcept { return code_page_; }

  // Raises InvalidArgumentError about a field of a record of the section tagged `tag`.
  [[noreturn]] void Fail(std::string_view tag, long position, const CElementsArray* record, std::string_view field,
                         std::string detail) const;

  // "VNMD" of the first "VMDL" record whose atoi("VNUM") is number, or empty.
  std::string_view ModelNameOfArticle(int number) const;

 private:

  std::string path_;
  CodePage code_page_;
  RecordFile records_;
  // ModelFilePath's memory: the marker path whose folder it knows, and the last path made.
  mutable std::string model_folder_of_;
  mutable std::size_t model_folder_size_ = 0;
  mutable std::string model_file_path_;
  mutable bool model_names_ready_ = false;
  mutable std::unordered_map<int, std::string_view> model_names_;
};

// The marker's name from its path: the file-name part without folder, drive and extension,
// normalised and cut to 255 bytes.
std::string TitleFromPath(std::string_view path, CodePage code_page);

}  // namespace dorvan_marker
