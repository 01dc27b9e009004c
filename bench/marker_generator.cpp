// SPDX-License-Identifier: MIT
#include "marker_generator.hpp"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace dorvan_marker::bench {
namespace {

// splitmix64: small, fast and the same on every machine, unlike the standard library's
// distributions.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A number in [low, high].
  long Between(long low, long high) {
    return low + static_cast<long>(Next() % static_cast<std::uint64_t>(high - low + 1));
  }
  std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }

 private:
  std::uint64_t state_;
};

std::string Number(long n) { return std::to_string(n); }
std::string Number(std::size_t n) { return std::to_string(n); }

// Three digits, so that names sort and read like a cutting room's.
std::string Padded(std::size_t n) {
  std::string text = std::to_string(n);
  return std::string(text.size() < 3 ? 3 - text.size() : 0, '0') + text;
}

// A model file: a garment in model_sizes sizes with model_pieces pieces.
struct Model {
  std::string name;                // base name of the file, and the garment's "VGFN"
  bool direct_sizes = false;       // "MDL" articles: the marker names the size itself
  std::vector<std::string> sizes;  // size list of the file
  std::size_t used_sizes = 0;      // the first used_sizes sizes are laid in the marker
};

// Size names: garments sized through the model file take even numbers from 32, those
// that name their size directly take waist sizes W26, W27, ...; the two never meet, so
// a size written directly never shadows one resolved through a model file.
std::string SizeName(bool direct, std::size_t k) {
  std::string name(direct ? "W" : "");
  name += direct ? Number(26 + k) : Number(32 + 2 * k);
  return name;
}

std::vector<Model> MakeModels(const MarkerShape& shape) {
  const std::size_t direct_sizes = std::max<std::size_t>(1, shape.sizes / 5);
  const std::size_t model_sizes_of[2] = {shape.sizes > direct_sizes ? shape.sizes - direct_sizes : 1, direct_sizes};
  std::vector<Model> models;
  std::size_t articles = 0;
  std::size_t of_kind[2] = {0, 0};
  while (articles < shape.articles) {
    Model model;
    // Every fifth model is a pair of trousers.
    const int kind = models.size() % 5 == 4 ? 1 : 0;
    model.direct_sizes = kind == 1;
    model.name = (kind == 1 ? "TR" : "JK") + Padded(of_kind[kind]);
    const std::size_t pool = model_sizes_of[kind];
    // With more sizes than a model file holds, each model covers its own window of them.
    const std::size_t base = pool > shape.model_sizes ? (of_kind[kind] * shape.model_sizes) % pool : 0;
    const std::size_t names = std::max(pool, shape.model_sizes);
    for (std::size_t j = 0; j < shape.model_sizes; ++j) {
      model.sizes.push_back(SizeName(model.direct_sizes, (base + j) % names));
    }
    model.used_sizes = std::min({pool, shape.model_sizes, shape.articles - articles});
    articles += model.used_sizes;
    ++of_kind[kind];
    models.push_back(std::move(model));
  }
  return models;
}

std::string PieceKey(const Model& model, std::size_t piece) {
  std::string key = model.name + "-p" + Padded(piece + 1);
  std::transform(key.begin(), key.end(), key.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; });
  return key;
}

std::string ModelFileText(const Model& model, const MarkerShape& shape, Random& random) {
  std::string text = "# Model " + model.name + "\nMSIZ:SNAM\n";
  for (const std::string& size : model.sizes) text += "1:" + size + "\n";
  text += "MPCE:VGFN:PNUM:IART:PNAM:PROT:PXSC:PYSC\n";
  static const char* const kParts[] = {"Front", "Back", "Sleeve", "Collar", "Cuff", "Pocket", "Yoke", "Facing"};
  static const char* const kRotations[] = {"0", "0", "0", "0.0174533", "-0.0349066", "1.5707963", ""};
  static const char* const kFactors[] = {"1", "1", "1", "0.99", "1.01", "0.98", "1.02", "", "0.5"};
  for (std::size_t p = 0; p < shape.model_pieces; ++p) {
    // Some pieces keep the marker's key as their name, some have names to normalise.
    std::string name = random.Below(10) == 0
                           ? PieceKey(model, p)
                           : std::string(kParts[p % 8]) + " " + Number(p + 1) + (random.Below(4) == 0 ? "/a" : "");
    // One draw a statement: the order of the draws must not be the compiler's choice.
    const char* const y_factor = kFactors[random.Below(9)];
    const char* const x_factor = kFactors[random.Below(9)];
    const char* const rotation = kRotations[random.Below(7)];
    text += "2:" + model.name + ":" + Number(p + 1) + ":" + PieceKey(model, p) + ":" + name + ":" + rotation + ":" +
            x_factor + ":" + y_factor + "\n";
  }
  return text;
}

struct Article {
  const Model* model;
  std::size_t size_position;  // position in the model's size list
};

void AppendPlacement(std::string& text, std::size_t piece_record, Random& random) {
  text += "7:";
  text += Number(piece_record + 1);
  text += ':';
  text += Number(random.Between(0, 7));
  text += ':';
  text += Number(random.Between(-200, 60000));
  text += ':';
  text += Number(random.Between(-200, 15000));
  text += ':';
  text += Number(random.Between(300, 6000));
  text += ':';
  text += Number(random.Between(300, 12000));
  text += ':';
  text += Number(random.Between(-10838, 10838));
  text += '\n';
}

std::string MarkerText(const MarkerShape& shape, const std::vector<Model>& models, std::size_t min_bytes,
                       Random& random) {
  std::vector<Article> articles;
  for (const Model& model : models) {
    for (std::size_t j = 0; j < model.used_sizes && articles.size() < shape.articles; ++j) {
      articles.push_back({&model, j});
    }
  }
  std::string text = "# Generated marker " + shape.name + "\nPLC:PNAM\n1:" + shape.name +
                     "\nLEZ:LLEZ\n2:" + Number(random.Between(12000, 18000)) + "\nVART:VEXT:VGFN\n";
  for (const Article& article : articles) {
    text += "3:" + std::string(article.model->direct_sizes ? "MDL" : "VET") + ":" + article.model->name + "\n";
  }
  text += "VMDL:VNUM:VNMD:VTAN\n";
  for (std::size_t a = 0; a < articles.size(); ++a) {
    const Article& article = articles[a];
    const Model& model = *article.model;
    text += "4:" + Number(a + 1) + ":" + model.name + ":" +
            (model.direct_sizes ? model.sizes[article.size_position] : Number(article.size_position)) + "\n";
  }
  text += "VVET:VNUM:VTAI:VTBA:VCTA\n";
  for (std::size_t a = 0; a < articles.size(); ++a) {
    const Article& article = articles[a];
    // A garment that names its size directly is a fixed article: its code is kept.
    text += "5:" + Number(a + 1) + ":" + Number(article.size_position) + ":" + article.model->name + ":" +
            (article.model->direct_sizes ? "0" : "1") + "\n";
  }

  // Piece records: every article lays the same number of its model's pieces.
  const std::size_t per_article =
      std::max<std::size_t>(1, shape.placements / (2 * std::max<std::size_t>(1, articles.size())));
  text += "IBA:IART:INAM:VNUM:IFLG\n";
  std::size_t piece_records = 0;
  static const char* const kFlags[] = {"0", "0", "0", "5", "6", "2"};
  for (std::size_t a = 0; a < articles.size(); ++a) {
    for (std::size_t p = 0; p < per_article; ++p) {
      const std::size_t piece = p % shape.model_pieces;
      text += "6:" + PieceKey(*articles[a].model, piece) + ":" + Number(piece + 1) + ":" + Number(a + 1) + ":" +
              kFlags[random.Below(6)] + "\n";
      ++piece_records;
    }
  }

  text += "IGEO:INUM:IGRS:IXOR:IYOR:IXDI:IYDI:IGRF\n";
  if (min_bytes == 0) {
    // Every piece laid about twice, in the order a nesting program would leave them.
    std::vector<std::size_t> order(shape.placements);
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i % piece_records;
    for (std::size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[random.Below(i)]);
    for (std::size_t record : order) AppendPlacement(text, record, random);
  } else {
    text.reserve(min_bytes + 64);
    for (std::size_t i = 0; text.size() < min_bytes; ++i) AppendPlacement(text, i % piece_records, random);
  }
  return text;
}

}  // namespace

MarkerShape SmallShape() { return {"S", 5, 50, 500, 20, 200, 11}; }
MarkerShape MediumShape() { return {"M", 20, 200, 5000, 20, 200, 12}; }
MarkerShape LargeShape() { return {"L", 60, 600, 30000, 20, 200, 13}; }

MarkerShape ReadingShape(std::size_t min_bytes) { return {"100MB", 60, 600, 0, 20, 200, 14, min_bytes}; }

std::vector<GeneratedFile> GenerateMarker(const MarkerShape& shape) {
  Random random(shape.seed);
  const std::vector<Model> models = MakeModels(shape);
  std::vector<GeneratedFile> files;
  files.push_back({shape.name + ".txt", MarkerText(shape, models, shape.min_bytes, random)});
  for (const Model& model : models) files.push_back({model.name + ".mdl", ModelFileText(model, shape, random)});
  return files;
}

std::string WriteMarker(const MarkerShape& shape, const std::string& folder) {
  std::string marker;
  for (const GeneratedFile& file : GenerateMarker(shape)) {
    const std::string path = folder + "/" + file.name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.write(file.text.data(), static_cast<std::streamsize>(file.text.size()))) {
      throw std::runtime_error("cannot write " + path);
    }
    if (marker.empty()) marker = path;
  }
  return marker;
}

}  // namespace dorvan_marker::bench
