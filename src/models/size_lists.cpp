// SPDX-License-Identifier: MIT
// Each article's size and the marker's distinct sizes.
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "models/size_lists.hpp"

#include "marker/article_kind.hpp"
#include "models/opened_model.hpp"
#include "platform/c_numbers.hpp"
#include "platform/quoted.hpp"

namespace dorvan_marker {
namespace {

const char* const kNoSize = "-1";

// Sizes already read, kept as the joined text "S|M|L|" that the size cache has always
// held: a size name holding '|' comes back as two names from the cache. The text is split
// once, when added, so that a hit costs a look-up and not a pass over every size.
class SizeCache {
 public:
  const CStringArray* Find(const std::string& base_name) const {
    const auto found = entries_.find(base_name);
    return found == entries_.end() ? nullptr : &found->second;
  }
  void Add(std::string base_name, const CStringArray& sizes) {
    std::string joined;
    for (const std::string& size : sizes) joined += size + '|';
    entries_.try_emplace(std::move(base_name), Split(joined));
  }

 private:
  static CStringArray Split(std::string_view joined) {
    CStringArray sizes;
    std::size_t start = 0;
    for (std::size_t bar = joined.find('|'); bar != std::string_view::npos; bar = joined.find('|', start)) {
      sizes.push_back(std::string(joined.substr(start, bar - start)));
      start = bar + 1;
    }
    return sizes;
  }

  std::unordered_map<std::string, CStringArray> entries_;
};

}  // namespace

bool BuildSizeLists(MarkerDocument& document) {
  CStringArray& sizes = document.ArticleSizes;
  document.ArticleSizeCodes.clear();
  document.Sizes.clear();
  ReadArticleSizeCodes(document, document.ArticleSizeCodes);
  sizes = document.ArticleSizeCodes;
  ResolveArticleSizes(document, sizes, *document.Loader);
  if (sizes.empty()) document.Fail("VART", -1, nullptr, {}, "the articles' section holds no records");
  std::unordered_set<std::string_view> seen;
  for (const std::string& size : sizes) {
    if (seen.insert(size).second) document.Sizes.push_back(size);
  }
  return !document.Sizes.empty();
}

void ReadArticleSizeCodes(const MarkerDocument& document, CStringArray& codes) {
  const CSection* articles = document.FindSection("VART");
  const CSection* models = document.FindSection("VMDL");
  const CSection* garments = document.FindSection("VVET");
  if (articles == nullptr) return;

  const FieldColumn kind = document.Column(*articles, "VEXT");
  const FieldColumn model_code = models == nullptr ? FieldColumn() : document.Column(*models, "VTAN");
  const FieldColumn garment_code = garments == nullptr ? FieldColumn() : document.Column(*garments, "VTAI");

  // The size code of article i read from column `column` of record i of `section`.
  auto code_from = [&](const CSection& section, std::string_view tag, std::size_t i, const FieldColumn& column,
                       const CElementsArray& article) -> std::string {
    if (i >= section.size()) {
      document.Fail("VART", static_cast<long>(i), &article, "VEXT",
                    "article of kind " + Quoted(kind.Of(article)) + " has no " + Quoted(tag) +
                        " record at its position (" + Quoted(tag) + " has " + std::to_string(section.size()) +
                        " records)");
    }
    const std::string_view code = column.Of(section[i]);
    return code.empty() ? kNoSize : std::string(code);
  };

  for (std::size_t i = 0; i < articles->size(); ++i) {
    const CElementsArray& article = (*articles)[i];
    switch (ArticleKindOf(kind.Of(article), garments != nullptr)) {
      case ArticleKind::Model:
        codes.push_back(models == nullptr ? kNoSize : code_from(*models, "VMDL", i, model_code, article));
        break;
      case ArticleKind::Garment:
        codes.push_back(garments == nullptr ? kNoSize : code_from(*garments, "VVET", i, garment_code, article));
        break;
      case ArticleKind::NoSize: codes.push_back(kNoSize); break;
      case ArticleKind::Other: codes.push_back(std::string()); break;
    }
  }
}

std::vector<bool> SizesFromModels(const MarkerDocument& document, const CSection& garments, std::size_t articles) {
  std::vector<bool> resolved(articles, false);
  bool any = false;
  const FieldColumn flag = garments.empty() ? FieldColumn() : document.Column(garments, "VCTA");
  for (std::size_t i = 0; i < articles; ++i) {
    if (i >= garments.size()) {
      document.Fail("VVET", -1, nullptr, {},
                    "the section has " + std::to_string(garments.size()) + " records for " + std::to_string(articles) +
                        " articles");
    }
    resolved[i] = !IsFixedSizeFlag(flag.Of(garments[i]));
    any = any || resolved[i];
  }
  return any ? resolved : std::vector<bool>(articles, false);
}

SizeModels::SizeModels(const MarkerDocument& document, const CSection& garments)
    : document_(document), garments_(garments), articles_(document.FindSection("VART")) {
  if (!garments.empty()) {
    vnum_ = document.Column(garments, "VNUM");
    vtba_ = document.Column(garments, "VTBA");
  }
  if (articles_ != nullptr && !articles_->empty()) vgfn_ = document.Column(*articles_, "VGFN");
}

SizeModel SizeModels::Of(std::size_t k) const {
  const CElementsArray& garment = garments_[k];
  const std::string_view number_text = vnum_.Of(garment);
  const std::string_view base_name = vtba_.Of(garment);
  if (!base_name.empty()) return {base_name, "VVET", k, &garment, "VTBA"};
  if (articles_ == nullptr) return {};
  const long long article = static_cast<long long>(Atoi(number_text)) - 1;
  if (article < 0 || static_cast<std::size_t>(article) >= articles_->size()) {
    document_.Fail("VVET", static_cast<long>(k), &garment, "VNUM",
                   Quoted("VNUM") + " " + Quoted(number_text) + " points outside the " +
                       std::to_string(articles_->size()) + " articles");
  }
  const auto position = static_cast<std::size_t>(article);
  const CElementsArray& record = (*articles_)[position];
  return {vgfn_.Of(record), "VART", position, &record, "VGFN"};
}

void ResolveArticleSizes(const MarkerDocument& document, CStringArray& codes, VariantLoad& loader) {
  const CSection* garments = document.FindSection("VVET");
  if (garments == nullptr) return;

  const std::vector<bool> resolved = SizesFromModels(document, *garments, codes.size());
  std::unordered_set<std::string> fixed_codes;
  bool any = false;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    if (!resolved[i]) fixed_codes.insert(codes[i]);
    any = any || resolved[i];
  }
  if (!any) return;

  SizeCache cache;
  CStringArray read;
  const SizeModels size_models(document, *garments);
  for (std::size_t k = 0; k < codes.size(); ++k) {
    const SizeModel model_named = size_models.Of(k);
    if (model_named.name.empty()) continue;
    const std::string base_name(model_named.name);

    const CStringArray* sizes = cache.Find(base_name);
    if (sizes == nullptr) {
      const OpenedModel model(loader, document, base_name);
      read.clear();
      if (!model.Opened() || !model.GetSizes(read)) continue;
      cache.Add(base_name, read);
      sizes = &read;
    }
    if (sizes->empty() || !resolved[k]) continue;
    const int code = Atoi(codes[k]);
    if (code < 0 || static_cast<std::size_t>(code) >= sizes->size()) {
      document.Fail("VVET", static_cast<long>(k), &(*garments)[k], {},
                    "size code " + Quoted(codes[k]) + " of article " + std::to_string(k + 1) +
                        " is not a size of model " + Quoted(base_name) + ", which has " +
                        std::to_string(sizes->size()) + " sizes");
    }
    const std::string& name = (*sizes)[static_cast<std::size_t>(code)];
    if (fixed_codes.count(name) != 0) continue;
    codes[k] = name;
  }
}

}  // namespace dorvan_marker
