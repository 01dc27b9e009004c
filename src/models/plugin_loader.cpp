// SPDX-License-Identifier: MIT
#include "models/plugin_loader.hpp"

namespace dorvan_marker {
namespace {

std::string CodePageText(CodePage code_page) {
  const unsigned number = code_page.Number();
  return number == 0 ? "a single-byte code page" : "code page " + std::to_string(number);
}

// A text the plug-in handed out, copied before its next call can move it.
bool CopyText(const dorvan_loader_text& text, std::string& out) {
  if (text.bytes == nullptr && text.length != 0) return false;
  out.assign(text.bytes != nullptr ? text.bytes : "", text.length);
  return true;
}

}  // namespace

PluginLoader::PluginLoader(const std::string& path, CodePage code_page, PathEncoding paths) : path_(path) {
  std::string why;
  if (!IsFile(path, paths)) throw LoaderPluginError(path_, "does not load: no such file");
  if (!library_.Load(path, why, paths)) throw LoaderPluginError(path_, "does not load: " + why);
  void* entry = library_.Symbol(DORVAN_LOADER_ENTRY_NAME);
  if (entry == nullptr) throw LoaderPluginError(path_, "lacks the entry function " DORVAN_LOADER_ENTRY_NAME);
  table_ = &TableOf(entry, code_page);
  name_ = table_->name != nullptr ? table_->name : "";
  version_ = table_->version != nullptr ? table_->version : "";
  repeats_ = table_->repeats_answers != 0;
  instance_ = table_->create();
  if (instance_ == nullptr) throw LoaderPluginError(path_, "made no loader instance");
}

PluginLoader::~PluginLoader() { table_->destroy(instance_); }

const dorvan_loader_table& PluginLoader::TableOf(void* entry, CodePage code_page) const {
  const auto get_table = reinterpret_cast<dorvan_loader_entry>(entry);
  const dorvan_loader_table* table = get_table(DORVAN_LOADER_ABI_VERSION, code_page.Number());
  const std::string asked = std::to_string(DORVAN_LOADER_ABI_VERSION);
  if (table == nullptr) {
    throw LoaderPluginError(path_, "does not serve ABI version " + asked + " with " + CodePageText(code_page));
  }
  if (table->abi_version != DORVAN_LOADER_ABI_VERSION) {
    throw LoaderPluginError(path_, "answers with a table of ABI version " + std::to_string(table->abi_version) +
                                       " where " + asked + " was asked");
  }
  const struct {
    bool present;
    const char* name;
  } functions[] = {
      {table->create != nullptr, "create"},
      {table->destroy != nullptr, "destroy"},
      {table->open != nullptr, "open"},
      {table->get_sizes != nullptr, "get_sizes"},
      {table->get_piece_name != nullptr, "get_piece_name"},
      {table->get_rotation_scale_by_number != nullptr, "get_rotation_scale_by_number"},
      {table->get_rotation_scale_by_key != nullptr, "get_rotation_scale_by_key"},
  };
  for (const auto& function : functions) {
    if (!function.present)
      throw LoaderPluginError(path_, "has no function " + std::string(function.name) + " in its table");
  }
  return *table;
}

bool PluginLoader::Answered(int result, const char* query) const {
  if (result < 0)
    throw LoaderPluginError(path_, "failed in " + std::string(query) + " (result " + std::to_string(result) + ")");
  return result != DORVAN_LOADER_NO;
}

bool PluginLoader::Open(const char* path) { return Answered(table_->open(instance_, path), "open"); }

bool PluginLoader::GetSizesFromMDL(const char* name, CStringArray& sizes) {
  const dorvan_loader_text* texts = nullptr;
  std::size_t count = 0;
  if (!Answered(table_->get_sizes(instance_, name, &texts, &count), "get_sizes")) return false;
  if (texts == nullptr && count != 0) throw LoaderPluginError(path_, "answered get_sizes without its sizes");
  std::string size;
  for (std::size_t i = 0; i < count; ++i) {
    if (!CopyText(texts[i], size)) throw LoaderPluginError(path_, "answered get_sizes with a null text");
    sizes.push_back(size);
  }
  return true;
}

bool PluginLoader::GetPieceNameFromMDL(const char* vgfn, int piece, std::string& name) {
  dorvan_loader_text text{nullptr, 0};
  if (!Answered(table_->get_piece_name(instance_, vgfn, piece, &text), "get_piece_name")) return false;
  if (!CopyText(text, name)) throw LoaderPluginError(path_, "answered get_piece_name with a null text");
  return true;
}

bool PluginLoader::GetRotationScale(const char* vgfn, int piece, double* rotation, double* x_factor, double* y_factor) {
  return Answered(table_->get_rotation_scale_by_number(instance_, vgfn, piece, rotation, x_factor, y_factor),
                  "get_rotation_scale_by_number");
}

bool PluginLoader::GetRotationScale(const char* vgfn, const char* iart, double* rotation, double* x_factor,
                                    double* y_factor) {
  return Answered(table_->get_rotation_scale_by_key(instance_, vgfn, iart, rotation, x_factor, y_factor),
                  "get_rotation_scale_by_key");
}

}  // namespace dorvan_marker
