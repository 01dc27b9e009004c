// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dorvan_marker/path_encoding.hpp"
#include "marker/record_file.hpp"
#include "platform/checked_array.hpp"
#include "platform/code_page.hpp"
#include "platform/name_hash.hpp"
#include "platform/variant_load.hpp"

namespace dorvan_marker {

// The in-memory form of one marker file and everything derived from it during one call.
// Not copyable: records are views into the text it holds.
//
// Life: construct with the marker path and the call's loader, Parse, then lookups. The
// model-file steps (models/) fill Sizes, ArticleSizes, ArticleSizeCodes, PieceNames and
// UnnamedPieces; the host-file steps (hostfiles/) read them. Every lookup that meets a
// reference outside its section raises InvalidArgumentError naming the file, line,
// section, record and field.
// A piece whose "IART" keeps its marker name although its model file was opened, or
// because its article names none: where it was first looked up, and why it was not found.
struct UnnamedPiece {
  std::size_t record = 0;  // 0-based position in "IBA" of its first record that was looked up
  std::string_view iart;   // its "IART", a view into the marker's text
  int article_number = 0;  // its article (without a path: one that "VMDL" gives no model name)
  std::string path;        // the model file that lacks the piece; empty when there is none
  std::string vgfn;        // the article's name in that file
  int piece_number = 0;    // the piece asked for
};

class MarkerDocument {
 public:
  // path: the marker path as the caller gave it; loader: the model-file loader of this
  // call (null for a document whose loader comes once the marker is read, as in the
  // import, or whose model files are never asked, as for the style list); code_page: the
  // code page of names; paths: how path is written, and so the model files' paths.
  MarkerDocument(std::string path, std::unique_ptr<VariantLoad> loader, CodePage code_page = CodePage::System(),
                 PathEncoding paths = PathEncoding::System);
  ~MarkerDocument();
  MarkerDocument(const MarkerDocument&) = delete;
  MarkerDocument& operator=(const MarkerDocument&) = delete;

  // Reads every record of file and takes the fabric width.
  void Parse(TextFile& file);
  const CSection* FindSection(std::string_view tag) const { return records_.FindSection(tag); }
  std::string_view GetFieldValue(const CSection& section, const CElementsArray& record, std::string_view tag) const {
    return records_.GetFieldValue(section, record, tag);
  }
  // GetFieldValue's column, looked up once for reading many records of section.
  FieldColumn Column(const CSection& section, std::string_view tag) const { return records_.Column(section, tag); }
  // Whether the marker can be imported: FindSection finds "IGEO", "IBA", "VART", and
  // "VVET" or "VMDL". The lookups run in that order and stop at the first that decides,
  // so a later section that no numbered record reaches raises only when it is asked:
  // which lookup decides is part of what the import answers (no models, or malformed).
  bool HasModels() const;
  // For a report of a marker HasModels refused: every one of those sections whose tag
  // no header record carries, as a message names them (quoted, with "or" between
  // alternatives). Never raises: it looks at the headers alone.
  std::vector<std::string> MissingSections() const;

  // "VNMD" of the first "VMDL" record whose atoi("VNUM") is number, or empty.
  std::string_view ModelNameOfArticle(int number) const;

  // Raises InvalidArgumentError about a field of a record of the section tagged `tag`.
  [[noreturn]] void Fail(std::string_view tag, long position, const CElementsArray* record, std::string_view field,
                         std::string detail) const;

  // --- members
  CStringArray Sizes;                             // distinct sizes in order of first occurrence
  CStringArray ArticleSizes;                      // one size entry per "VART" record
  CStringArray ArticleSizeCodes;                  // each article's size code as read, before any model file
  std::map<std::string, std::string> PieceNames;  // "IART" value -> name in the model file
  std::vector<UnnamedPiece> UnnamedPieces;        // found with PieceNames, in order of first look-up
  std::string Title;                              // marker name: file name, normalised, <= 255 bytes
  double Width = 0.0;                             // fabric width, from "LEZ" / 10, else 13608.0
  bool WidthGiven = false;                        // whether a "LEZ" record gives Width
  std::unique_ptr<VariantLoad> Loader;            // the model-file loader of this call
  // The model file path of each base name asked so far, nothing for a refused name: made
  // once per name, as a marker's thousands of pieces name a few models.
  mutable std::unordered_map<std::string, std::optional<std::string>, NameHash, std::equal_to<>> ModelFilePaths;

  const RecordFile& Records() const noexcept { return records_; }
  const CheckedArray<CElementsArray>& HeaderRecords() const noexcept { return records_.HeaderRecords(); }
  std::size_t SectionCount() const noexcept { return records_.SectionCount(); }
  const std::string& Path() const noexcept { return path_; }
  CodePage Codes() const noexcept { return code_page_; }
  PathEncoding Paths() const noexcept { return paths_; }

 private:
  std::string path_;
  CodePage code_page_;
  PathEncoding paths_;
  RecordFile records_;
  mutable bool model_names_ready_ = false;
  mutable std::unordered_map<int, std::string_view> model_names_;  // ModelNameOfArticle, made on first use
};

// The marker's name from its path: the file-name part without folder, drive and extension,
// normalised and cut to 255 bytes (never inside a double-byte character). The bytes are the
// path's; its separators are found as paths says it is written.
std::string TitleFromPath(std::string_view path, CodePage code_page, PathEncoding paths = PathEncoding::System);

}  // namespace dorvan_marker
