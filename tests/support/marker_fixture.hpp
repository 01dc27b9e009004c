// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "hostfiles/command_file_writer.hpp"
#include "hostfiles/host_placements.hpp"
#include "hostfiles/placement_file_writer.hpp"
#include "marker/marker_document.hpp"
#include "models/piece_name_table.hpp"
#include "models/size_lists.hpp"
#include "platform/text_file.hpp"
#include "support/fake_loader.hpp"
#include "support/output_file.hpp"
#include "support/test_support.hpp"

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
  const char* Path() const { return document->Path().c_str(); }

  // The size lists and the piece names, built as an import builds them.
  void BuildModels() {
    dorvan_marker::BuildSizeLists(*document);
    dorvan_marker::BuildPieceNameTable(*document);
  }
  // The command file and the placement file of the document as it stands (its sizes and
  // piece names built, or set by the test).
  std::string CommandFile() { return Written(dorvan_marker::WriteCommandFile); }
  std::string PlacementFile() { return Written(dorvan_marker::WritePlacementFile); }

 private:
  template <typename Writer>
  std::string Written(Writer write) {
    TempDir dir;
    OutputFile out(dir / "host.txt");
    dorvan_marker::HostPlacements placements = dorvan_marker::ResolveHostPlacements(*document);
    write(*document, placements, out.File());
    return out.Read();
  }
};

}  // namespace test
