// SPDX-License-Identifier: MIT
#include "c_api/c_call.hpp"

#include <cstring>

namespace dorvan_marker {
namespace {

// The members of the first version of the options end with loader; a caller's struct is
// read as far as its size covers what this version knows.
constexpr std::size_t kFirstOptionsSize =
    offsetof(dorvan_marker_options, loader) + sizeof(dorvan_marker_options::loader);

// path_encoding came after them: a caller whose struct ends before it gets the system's.
constexpr std::size_t kPathEncodingEnd =
    offsetof(dorvan_marker_options, path_encoding) + sizeof(dorvan_marker_options::path_encoding);

std::string TextOrEmpty(const char* text) { return text == nullptr ? std::string() : std::string(text); }

}  // namespace

int CCall::ReadOptions(const dorvan_marker_options* given, ImportOptions& chosen) {
  if (given == nullptr) return DORVAN_MARKER_OK;
  if (given->size < kFirstOptionsSize) {
    return Refuse("options->size is " + std::to_string(given->size) + ": the options take at least " +
                  std::to_string(kFirstOptionsSize) + " bytes");
  }
  chosen.code_page = TextOrEmpty(given->code_page);
  chosen.loader = TextOrEmpty(given->loader);
  if (!chosen.code_page.empty() && CodePage::Offered(chosen.code_page, code_page_).empty()) {
    return Refuse(UnknownCodePage(chosen.code_page));
  }
  if (given->size >= kPathEncodingEnd) {
    switch (given->path_encoding) {
      case DORVAN_MARKER_PATHS_SYSTEM: paths_ = PathEncoding::System; break;
      case DORVAN_MARKER_PATHS_UTF8: paths_ = PathEncoding::Utf8; break;
      default:
        return Refuse("options->path_encoding is " + std::to_string(given->path_encoding) +
                      " (DORVAN_MARKER_PATHS_SYSTEM or DORVAN_MARKER_PATHS_UTF8)");
    }
  }
#if defined(_WIN32)
  chosen.paths = paths_;
#endif
  return DORVAN_MARKER_OK;
}

int CCall::Refuse(const std::string& why) { return Fail(DORVAN_MARKER_BAD_CALL, std::string(function_) + ": " + why); }

int CCall::Fail(int result, std::string message) {
  text_ = std::move(message);
  return result;
}

int CCall::HandOut(const std::string& bytes, char* buffer, std::size_t size, std::size_t* needed, const char* what) {
  if (needed != nullptr) *needed = bytes.size();
  if (bytes.size() > size) {
    return Fail(DORVAN_MARKER_BUFFER_TOO_SMALL, std::string(function_) + ": the buffer holds " + std::to_string(size) +
                                                    " bytes, " + what + " " + std::to_string(bytes.size()));
  }
  if (!bytes.empty()) std::memcpy(buffer, bytes.data(), bytes.size());
  return DORVAN_MARKER_OK;
}

void CCall::WriteMessage() noexcept {
  if (message_ == nullptr) return;
  try {
    const std::string cut = CutToCharacters(text_, message_size_ - 1, code_page_);
    std::memcpy(message_, cut.c_str(), cut.size() + 1);
  } catch (...) {
    message_[0] = '\0';  // out of memory while cutting: an empty message rather than none
  }
}

}  // namespace dorvan_marker
