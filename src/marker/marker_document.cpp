// SPDX-License-Identifier: MIT
#include "marker/marker_document.hpp"

#include <algorithm>
#include <array>

#include "marker/normalize_name.hpp"
#include "platform/c_numbers.hpp"
#include "platform/file_names.hpp"
#include "platform/native_path.hpp"
#include "platform/quoted.hpp"

namespace dorvan_marker {

constexpr double kDefaultWidth = 13608.0;
constexpr std::size_t kMaxTitleLength = 255;

std::string TitleFromPath(std::string_view path, CodePage code_page, PathEncoding paths) {
  std::string_view name = path.substr(FileNameStart(path, PathCodePage(paths, code_page), FileNameRules::Native()));
  const std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return NormalizeName(CutToCharacters(name, kMaxTitleLength, code_page), code_page);
}

MarkerDocument::MarkerDocument(std::string path, std::unique_ptr<VariantLoad> loader, CodePage code_page,
                               PathEncoding paths)
    : Title(TitleFromPath(path, code_page, paths)),
      Loader(std::move(loader)),
      path_(std::move(path)),
      code_page_(code_page),
      paths_(paths),
      records_(path_) {}

// The loader is destroyed first, while the marker it served still exists: no loader
// outlives a text it was asked about.
MarkerDocument::~MarkerDocument() { Loader.reset(); }

void MarkerDocument::Parse(TextFile& file) {
  records_.Parse(file);
  model_names_ready_ = false;
  model_names_.clear();
  Width = kDefaultWidth;
  const CSection* fabric = FindSection("LEZ");
  WidthGiven = fabric != nullptr && !fabric->empty();
  if (WidthGiven) Width = Atof(GetFieldValue(*fabric, (*fabric)[0], "LLEZ")) / 10.0;
}

namespace {

// The sections an import needs, in the order they are looked up; a group is met by the
// first of its alternatives that is present.
struct SectionAlternatives {
  std::array<const char*, 2> tags;  // one or two; an unused place is null
  const char* const* begin() const { return tags.data(); }
  const char* const* end() const { return tags.data() + (tags[1] == nullptr ? 1 : 2); }
};
constexpr SectionAlternatives kRequiredSections[] = {
    {{"IGEO", nullptr}}, {{"IBA", nullptr}}, {{"VART", nullptr}}, {{"VVET", "VMDL"}}};

}  // namespace

bool MarkerDocument::HasModels() const {
  for (const SectionAlternatives& group : kRequiredSections) {
    const bool met =
        std::any_of(group.begin(), group.end(), [this](const char* tag) { return FindSection(tag) != nullptr; });
    if (!met) return false;
  }
  return true;
}

std::vector<std::string> MarkerDocument::MissingSections() const {
  std::vector<std::string> missing;
  for (const SectionAlternatives& group : kRequiredSections) {
    std::string names;
    for (const char* tag : group) {
      if (records_.FindHeader(tag) != 0) {
        names.clear();
        break;
      }
      names += (names.empty() ? "" : " or ") + Quoted(tag);
    }
    if (!names.empty()) missing.push_back(std::move(names));
  }
  return missing;
}

void MarkerDocument::Fail(std::string_view tag, long position, const CElementsArray* record, std::string_view field,
                          std::string detail) const {
  ErrorLocation where;
  where.file = path_;
  where.line = record != nullptr ? record->Line() : 0;
  where.section = std::string(tag);
  where.record = position;
  where.field = std::string(field);
  throw InvalidArgumentError(std::move(detail), std::move(where));
}

std::string_view MarkerDocument::ModelNameOfArticle(int number) const {
  if (!model_names_ready_) {
    if (const CSection* models = FindSection("VMDL")) {
      const FieldColumn vnum = Column(*models, "VNUM");
      const FieldColumn name = Column(*models, "VNMD");
      for (const CElementsArray& record : *models) model_names_.try_emplace(Atoi(vnum.Of(record)), name.Of(record));
    }
    model_names_ready_ = true;
  }
  const auto found = model_names_.find(number);
  return found == model_names_.end() ? std::string_view() : found->second;
}

}  // namespace dorvan_marker
