// SPDX-License-Identifier: MIT
#include "report/model_checks.hpp"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "marker/article_kind.hpp"
#include "models/opened_model.hpp"
#include "models/size_lists.hpp"

namespace dorvan_marker {
namespace {

// A marker field that names a model file.
struct ModelReference {
  std::string_view name;                             // the base name; empty when the field names none
  const std::optional<std::string>* path = nullptr;  // the file the import asks for; nothing for a refused name
  std::string_view section;
  long position = 0;
  const CElementsArray* record = nullptr;
  std::string_view field;
};

ModelReference Reference(const MarkerDocument& document, std::string_view name, std::string_view section, long position,
                         const CElementsArray& record, std::string_view field) {
  return {name, &OpenedModel::PathOf(document, name), section, position, &record, field};
}

std::string NotPlain(std::string_view name) { return "model name " + Quoted(name) + " is not a plain file name"; }

// The model file that the import resolves article k's size code through (models/size_lists),
// as a reference.
ModelReference GarmentModel(const MarkerDocument& document, const SizeModels& size_models, std::size_t k) {
  const SizeModel model = size_models.Of(k);
  if (model.name.empty()) return {};
  return Reference(document, model.name, model.section, static_cast<long>(model.position), *model.record, model.field);
}

// The model file that the import resolves each article's size code through, by article: an
// empty name where the article keeps its code or no model is named.
std::vector<ModelReference> GarmentModels(const MarkerDocument& document) {
  std::vector<ModelReference> models;
  const CSection* articles = document.FindSection("VART");
  const CSection* garments = document.FindSection("VVET");
  if (garments == nullptr || articles == nullptr) return models;
  const std::vector<bool> resolve = SizesFromModels(document, *garments, articles->size());
  models.resize(resolve.size());
  const SizeModels size_models(document, *garments);
  for (std::size_t k = 0; k < resolve.size(); ++k) {
    if (resolve[k]) models[k] = GarmentModel(document, size_models, k);
  }
  return models;
}

// Every marker field that names a model file whose answers the import uses: the model of
// each article whose size code is resolved, every "VMDL" model (piece names), and the
// "VGFN" of articles that are not of kind "MDL" (rotation and scale by piece key). The
// import opens some files it then makes no use of; those are left out.
std::vector<ModelReference> ModelReferences(const MarkerDocument& document,
                                            const std::vector<ModelReference>& garment_models) {
  std::vector<ModelReference> references;
  for (const ModelReference& reference : garment_models) {
    if (!reference.name.empty()) references.push_back(reference);
  }
  for (const char* tag : {"VMDL", "VART"}) {
    const CSection* section = document.FindSection(tag);
    if (section == nullptr) continue;
    const bool models = std::string_view(tag) == "VMDL";
    const char* field = models ? "VNMD" : "VGFN";
    const FieldColumn kind = document.Column(*section, "VEXT");
    const FieldColumn named = document.Column(*section, field);
    for (std::size_t k = 0; k < section->size(); ++k) {
      const CElementsArray& record = (*section)[k];
      if (!models && IsModelKind(kind.Of(record))) continue;
      const std::string_view name = named.Of(record);
      if (name.empty()) continue;
      references.push_back(Reference(document, name, tag, static_cast<long>(k), record, field));
    }
  }
  return references;
}

// Model files the import could not read, and model names it opened nothing for: each
// once, at the first record that names it.
void CheckMissingModels(const MarkerDocument& document, const std::vector<ModelReference>& garment_models,
                        const RecordingLoader& loader, DiagnosticList& diagnostics) {
  struct Uses {
    const ModelReference* first = nullptr;
    std::set<const CElementsArray*> records;
  };
  // (refused, name) for a refused name, else (false, path): a refused name has no path.
  std::map<std::pair<bool, std::string>, Uses> uses_of;
  const std::vector<ModelReference> references = ModelReferences(document, garment_models);
  for (const ModelReference& reference : references) {
    const std::optional<std::string>& path = *reference.path;
    if (path && !loader.Failed(*path)) continue;
    Uses& uses = uses_of[path ? std::pair(false, *path) : std::pair(true, std::string(reference.name))];
    if (uses.first == nullptr || reference.record->Line() < uses.first->record->Line()) uses.first = &reference;
    uses.records.insert(reference.record);
  }
  for (const auto& [key, uses] : uses_of) {
    const auto& [refused, what] = key;
    const ModelReference& first = *uses.first;
    const std::size_t count = uses.records.size();
    const std::string named_by = "(named by " + std::to_string(count) + " record" + (count == 1 ? "" : "s") + ")";
    const std::string unknown = ": what the import asks of it stays unknown";
    if (refused) {
      diagnostics.Add(Severity::Warning, diagnostic_code::kModelNameUnsafe, first.section, first.position,
                      *first.record, first.field,
                      NotPlain(what) + ", so no model file is opened for it " + named_by + unknown);
      continue;
    }
    diagnostics
        .Add(Severity::Warning, diagnostic_code::kModelMissing, first.section, first.position, *first.record,
             first.field, "model file " + Quoted(what) + " is missing or unreadable " + named_by + unknown)
        .model_path = what;
  }
}

void CheckUnresolvedSizes(const std::vector<ModelReference>& garment_models, const CStringArray& codes,
                          const RecordingLoader& loader, DiagnosticList& diagnostics) {
  for (std::size_t k = 0; k < codes.size() && k < garment_models.size(); ++k) {
    const ModelReference& model = garment_models[k];
    if (model.name.empty() || codes[k].empty()) continue;
    const std::optional<std::string>& path = *model.path;
    const bool unreadable = !path || loader.Failed(*path);
    if (!unreadable && loader.SizeCount(*path) != 0) continue;
    const std::string why =
        !path ? NotPlain(model.name)
              : "model file " + Quoted(*path) + (unreadable ? " could not be read" : " lists no sizes");
    diagnostics
        .Add(Severity::Warning, diagnostic_code::kSizeUnresolved, model.section, model.position, *model.record,
             model.field,
             "size code " + Quoted(codes[k]) + " of article " + std::to_string(k + 1) + " stays a code: " + why)
        .model_path = path.value_or("");
  }
}

// The pieces that keep their marker name, as the import found them.
void CheckPieceNames(const MarkerDocument& document, DiagnosticList& diagnostics) {
  const CSection* pieces = document.FindSection("IBA");
  if (pieces == nullptr) return;
  for (const UnnamedPiece& piece : document.UnnamedPieces) {
    const std::string reason =
        piece.path.empty() ? "article " + std::to_string(piece.article_number) + " has no model name in \"VMDL\""
                           : "model file " + Quoted(piece.path) + " has no piece " +
                                 std::to_string(piece.piece_number) + " of " + Quoted(piece.vgfn);
    diagnostics
        .Add(Severity::Warning, diagnostic_code::kPieceNameUnknown, "IBA", static_cast<long>(piece.record),
             (*pieces)[piece.record], "INAM", "piece " + Quoted(piece.iart) + " keeps its marker name: " + reason)
        .model_path = piece.path;
  }
}

void CheckArticlesWithoutSize(const MarkerDocument& document, const CStringArray& codes, DiagnosticList& diagnostics) {
  const CSection* articles = document.FindSection("VART");
  if (articles == nullptr) return;
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
  const std::vector<ModelReference> garment_models = GarmentModels(document);
  CheckMissingModels(document, garment_models, loader, diagnostics);
  const CStringArray& codes = document.ArticleSizeCodes;
  CheckUnresolvedSizes(garment_models, codes, loader, diagnostics);
  CheckPieceNames(document, diagnostics);
  CheckArticlesWithoutSize(document, codes, diagnostics);
}

}  // namespace dorvan_marker
