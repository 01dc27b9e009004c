// SPDX-License-Identifier: MIT
#include "report/model_checks.hpp"

#include <map>
#include <set>
#include <string>

#include "marker/article_kind.hpp"
#include "models/model_file_path.hpp"
#include "models/piece_reference.hpp"
#include "models/size_lists.hpp"
#include "platform/c_numbers.hpp"

namespace dorvan_marker {
namespace {

// A marker field that names a model file.
struct ModelReference {
  std::string path;
  std::string_view section;
  long position = 0;
  const CElementsArray* record = nullptr;
  std::string_view field;
};

// The model base name that record k of "VVET" reads its sizes from ("VTBA", else "VGFN" of
// its article), with the field that holds it; empty when there is none.
ModelReference GarmentModel(const MarkerDocument& document, const CSection& garments, std::size_t k) {
  const CElementsArray& garment = garments[k];
  const std::string_view base = document.GetFieldValue(garments, garment, "VTBA");
  const CodePage codes = document.Codes();
  if (!base.empty()) {
    return {MakeModelFilePath(document.Path(), base, codes, FileNameRules::Native()), "VVET", static_cast<long>(k),
            &garment, "VTBA"};
  }
  const CSection* articles = document.FindSection("VART");
  const long long article = static_cast<long long>(Atoi(document.GetFieldValue(garments, garment, "VNUM"))) - 1;
  if (articles == nullptr || article < 0 || static_cast<std::size_t>(article) >= articles->size()) return {};
  const CElementsArray& record = (*articles)[static_cast<std::size_t>(article)];
  const std::string_view name = document.GetFieldValue(*articles, record, "VGFN");
  if (name.empty()) return {};
  return {MakeModelFilePath(document.Path(), name, codes, FileNameRules::Native()), "VART",
          static_cast<long>(article), &record, "VGFN"};
}

// Which articles' size codes the model files resolve: none when every "VVET" record has
// "VCTA" 0, else those whose record does not.
std::vector<bool> SizesToResolve(const MarkerDocument& document, const CSection& garments, std::size_t articles) {
  std::vector<bool> resolve(articles, false);
  bool any = false;
  for (std::size_t k = 0; k < articles && k < garments.size(); ++k) {
    resolve[k] = !IsFixedSizeFlag(document.GetFieldValue(garments, garments[k], "VCTA"));
    any = any || resolve[k];
  }
  return any ? resolve : std::vector<bool>(articles, false);
}

// Every marker field that names a model file whose answers the import uses: the model of
// each article whose size code is resolved, every "VMDL" model (piece names), and the
// "VGFN" of articles that are not of kind "MDL" (rotation and scale by piece key). The
// import opens some files it then makes no use of; those are left out.
std::vector<ModelReference> ModelReferences(const MarkerDocument& document) {
  std::vector<ModelReference> references;
  const CodePage codes = document.Codes();
  const CSection* articles = document.FindSection("VART");
  if (const CSection* garments = document.FindSection("VVET"); garments != nullptr && articles != nullptr) {
    const std::vector<bool> resolve = SizesToResolve(document, *garments, articles->size());
    for (std::size_t k = 0; k < resolve.size(); ++k) {
      if (!resolve[k]) continue;
      ModelReference reference = GarmentModel(document, *garments, k);
      if (!reference.path.empty()) references.push_back(std::move(reference));
    }
  }
  for (const char* tag : {"VMDL", "VART"}) {
    const CSection* section = document.FindSection(tag);
    if (section == nullptr) continue;
    const bool models = std::string_view(tag) == "VMDL";
    const char* field = models ? "VNMD" : "VGFN";
    for (std::size_t k = 0; k < section->size(); ++k) {
      const CElementsArray& record = (*section)[k];
      if (!models && IsModelKind(document.GetFieldValue(*section, record, "VEXT"))) continue;
      const std::string_view name = document.GetFieldValue(*section, record, field);
      if (name.empty()) continue;
      references.push_back({MakeModelFilePath(document.Path(), name, codes, FileNameRules::Native()), tag,
                            static_cast<long>(k), &record, field});
    }
  }
  return references;
}

void CheckMissingModels(const MarkerDocument& document, const RecordingLoader& loader, DiagnosticList& diagnostics) {
  struct Uses {
    const ModelReference* first = nullptr;
    std::set<const CElementsArray*> records;
  };
  std::map<std::string, Uses> uses_of;
  const std::vector<ModelReference> references = ModelReferences(document);
  for (const ModelReference& reference : references) {
    if (!loader.Failed(reference.path)) continue;
    Uses& uses = uses_of[reference.path];
    if (uses.first == nullptr || reference.record->Line() < uses.first->record->Line()) uses.first = &reference;
    uses.records.insert(reference.record);
  }
  for (const auto& [path, uses] : uses_of) {
    const ModelReference& first = *uses.first;
    const std::size_t count = uses.records.size();
    diagnostics
        .Add(Severity::Warning, diagnostic_code::kModelMissing, first.section, first.position, *first.record,
             first.field,
             "model file " + Quoted(path) + " is missing or unreadable (named by " + std::to_string(count) +
                 " record" + (count == 1 ? "" : "s") + "): what the import asks of it stays unknown")
        .model_path = path;
  }
}

void CheckUnresolvedSizes(const MarkerDocument& document, const RecordingLoader& loader, DiagnosticList& diagnostics) {
  const CSection* garments = document.FindSection("VVET");
  if (garments == nullptr) return;
  CStringArray codes;
  ReadArticleSizeCodes(document, codes);
  const std::vector<bool> resolve = SizesToResolve(document, *garments, codes.size());
  for (std::size_t k = 0; k < codes.size(); ++k) {
    if (!resolve[k] || codes[k].empty()) continue;
    const ModelReference model = GarmentModel(document, *garments, k);
    if (model.path.empty()) continue;
    const bool unreadable = loader.Failed(model.path);
    if (!unreadable && loader.SizeCount(model.path) != 0) continue;
    diagnostics
        .Add(Severity::Warning, diagnostic_code::kSizeUnresolved, model.section, model.position, *model.record,
             model.field,
             "size code " + Quoted(codes[k]) + " of article " + std::to_string(k + 1) + " stays a code: model file " +
                 Quoted(model.path) + (unreadable ? " could not be read" : " lists no sizes"))
        .model_path = model.path;
  }
}

void CheckPieceNames(const MarkerDocument& document, RecordingLoader& loader, DiagnosticList& diagnostics) {
  const CSection* models = document.FindSection("VMDL");
  const CSection* articles = document.FindSection("VART");
  const CSection* pieces = document.FindSection("IBA");
  if (models == nullptr || articles == nullptr || pieces == nullptr) return;

  struct Miss {
    std::size_t record;
    std::string reason;
    std::string path;
  };
  std::set<std::string> resolved;
  std::map<std::string, Miss> first_miss;
  std::vector<std::string> order;
  for (std::size_t j = 0; j < pieces->size(); ++j) {
    const std::string iart(document.GetFieldValue(*pieces, (*pieces)[j], "IART"));
    if (resolved.count(iart) != 0) continue;
    const PieceReference reference = ReferencePiece(document, *pieces, j, *articles);
    const std::string_view model = document.ModelNameOfArticle(reference.article_number);
    std::string reason;
    std::string path;
    if (model.empty()) {
      reason = "article " + std::to_string(reference.article_number) + " has no model name in \"VMDL\"";
    } else {
      path = MakeModelFilePath(document.Path(), model, document.Codes(), FileNameRules::Native());
      if (!loader.Open(path.c_str())) continue;  // the missing model file is reported once, by itself
      std::string name;
      if (loader.GetPieceNameFromMDL(reference.vgfn.c_str(), reference.piece_number, name)) {
        resolved.insert(iart);
        first_miss.erase(iart);
        continue;
      }
      reason = "model file " + Quoted(path) + " has no piece " + std::to_string(reference.piece_number) + " of " +
               Quoted(reference.vgfn);
    }
    if (first_miss.try_emplace(iart, Miss{j, std::move(reason), std::move(path)}).second) order.push_back(iart);
  }
  for (const std::string& iart : order) {
    const auto found = first_miss.find(iart);
    if (found == first_miss.end()) continue;
    const Miss& miss = found->second;
    diagnostics
        .Add(Severity::Warning, diagnostic_code::kPieceNameUnknown, "IBA", static_cast<long>(miss.record),
             (*pieces)[miss.record], "INAM",
             "piece " + Quoted(iart) + " keeps its marker name: " + miss.reason)
        .model_path = miss.path;
  }
}

void CheckArticlesWithoutSize(const MarkerDocument& document, DiagnosticList& diagnostics) {
  const CSection* articles = document.FindSection("VART");
  if (articles == nullptr) return;
  CStringArray codes;
  ReadArticleSizeCodes(document, codes);
  for (std::size_t i = 0; i < codes.size() && i < articles->size(); ++i) {
    if (!codes[i].empty()) continue;
    const CElementsArray& article = (*articles)[i];
    diagnostics.Add(Severity::Warning, diagnostic_code::kArticleNoSize, "VART", static_cast<long>(i), article, "VEXT",
                    "article " + std::to_string(i + 1) + " is of kind " +
                        Quoted(document.GetFieldValue(*articles, article, "VEXT")) +
                        ", which gets no size: its pieces are given an empty size");
  }
}

}  // namespace

void CheckModels(const MarkerDocument& document, RecordingLoader& loader, DiagnosticList& diagnostics) {
  CheckMissingModels(document, loader, diagnostics);
  CheckUnresolvedSizes(document, loader, diagnostics);
  CheckPieceNames(document, loader, diagnostics);
  CheckArticlesWithoutSize(document, diagnostics);
}

}  // namespace dorvan_marker
