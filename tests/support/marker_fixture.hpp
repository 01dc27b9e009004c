// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "marker/marker_document.hpp"
#include "platform/text_file.hpp"
#include "support/fake_loader.hpp"

namespace test {

// A document parsed from text, with a fake loader whose calls land in `calls`.
struct ParsedMarker {
  std::vector<std::string> calls;
  FakeLoader* loader = nullptr;  // owned by the document
  std::unique_ptr<dorvan_marker::MarkerDocument> document;

  explicit ParsedMarker(const std::string& text, const std::string& path = "/m/marker.txt",
                        dorvan_marker::CodePage code_page = dorvan_marker::CodePage()) {
    auto fake = std::make_unique<FakeLoader>(&calls);
    loader = fake.get();
    document = std::make_unique<dorvan_marker::MarkerDocument>(path, std::move(fake), code_page);
    dorvan_marker::TextFile file;
    file.OpenText(text);
    document->Parse(file);
  }
  dorvan_marker::MarkerDocument& operator*() { return *document; }
  dorvan_marker::MarkerDocument* operator->() { return document.get(); }
};

}  // namespace test
