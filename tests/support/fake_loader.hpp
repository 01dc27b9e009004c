// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/variant_load.hpp"

namespace test {

// A loader that answers from tables and records every call as one line of text, e.g.
// "Open(/m/JACKET.mdl)=1", "GetSizesFromMDL=1", "GetRotationScale(JACKET,3)=0".
class FakeLoader : public dorvan_marker::VariantLoad {
 public:
  struct Answer {
    double rotation = 0.0;
    double x_factor = 1.0;
    double y_factor = 1.0;
  };

  std::map<std::string, std::vector<std::string>> sizes;                       // path -> size list
  std::map<std::tuple<std::string, std::string, int>, std::string> names;      // (path, vgfn, number)
  std::map<std::tuple<std::string, std::string, int>, Answer> by_number;       // (path, vgfn, number)
  std::map<std::tuple<std::string, std::string, std::string>, Answer> by_key;  // (path, vgfn, iart)
  std::vector<std::string>* calls;  // shared with the test, outlives the loader
  bool repeats = false;             // what RepeatsAnswers says (the tables never change)

  explicit FakeLoader(std::vector<std::string>* log) : calls(log) {}

  bool Open(const char* path) override {
    open_ = path;
    const bool known = sizes.count(open_) != 0;
    calls->push_back("Open(" + open_ + ")=" + (known ? "1" : "0"));
    if (!known) open_.clear();
    return known;
  }
  bool GetSizesFromMDL(const char* name, dorvan_marker::CStringArray& out) override {
    const bool ok = name == nullptr && !open_.empty();
    calls->push_back(std::string("GetSizesFromMDL=") + (ok ? "1" : "0"));
    if (ok) {
      for (const std::string& size : sizes.at(open_)) out.push_back(size);
    }
    return ok;
  }
  bool GetPieceNameFromMDL(const char* vgfn, int piece, std::string& name) override {
    const auto found = names.find({open_, vgfn, piece});
    const bool ok = found != names.end();
    calls->push_back("GetPieceNameFromMDL(" + std::string(vgfn) + "," + std::to_string(piece) +
                     ")=" + (ok ? "1" : "0"));
    if (ok) name = found->second;
    return ok;
  }
  bool GetRotationScale(const char* vgfn, int piece, double* rotation, double* x, double* y) override {
    const auto found = by_number.find({open_, vgfn, piece});
    const bool ok = found != by_number.end();
    calls->push_back("GetRotationScale(" + std::string(vgfn) + "," + std::to_string(piece) + ")=" + (ok ? "1" : "0"));
    if (ok) Give(found->second, rotation, x, y);
    return ok;
  }
  bool GetRotationScale(const char* vgfn, const char* iart, double* rotation, double* x, double* y) override {
    const auto found = by_key.find({open_, vgfn, iart});
    const bool ok = found != by_key.end();
    calls->push_back("GetRotationScale(" + std::string(vgfn) + ",'" + iart + "')=" + (ok ? "1" : "0"));
    if (ok) Give(found->second, rotation, x, y);
    return ok;
  }
  bool RepeatsAnswers() const noexcept override { return repeats; }

 private:
  static void Give(const Answer& answer, double* rotation, double* x, double* y) {
    *rotation = answer.rotation;
    *x = answer.x_factor;
    *y = answer.y_factor;
  }
  std::string open_;
};

}  // namespace test
