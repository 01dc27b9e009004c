// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "platform/checked_array.hpp"

namespace dorvan_marker {

// The model-file loader: answers a model's sizes, a piece's name, and a piece's rotation
// and scale factors from the model files beside a marker. Every query reads the file of
// the last successful Open.
//
// The interface lives with the platform, below the marker document, because it is one of
// the services the library is given rather than one it derives: the marker document owns
// one loader for one call, and which loader that is (the library's own .mdl loader, a
// recording wrapper for reports, a fake in tests) is decided by the layers above.
class VariantLoad {
 public:
  virtual ~VariantLoad() = default;

  // Opens the model file at path (made from the marker's folder and a base name). True on
  // success. The library asks only for files in the marker's folder: a base name that is
  // not a plain file name (IsPlainFileName) never reaches Open.
  virtual bool Open(const char* path) = 0;

  // With a null name: the size names of the file just opened, the size of code j at
  // position j. sizes is emptied by the caller before the call.
  virtual bool GetSizesFromMDL(const char* name, CStringArray& sizes) = 0;

  // The name of piece number `piece` of the article that the model file knows as vgfn.
  virtual bool GetPieceNameFromMDL(const char* vgfn, int piece, std::string& name) = 0;

  // Rotation in radians and x and y scale factors (1.0 = unscaled) of a piece given by
  // its number. Outputs are left untouched on false.
  virtual bool GetRotationScale(const char* vgfn, int piece, double* rotation, double* x_factor, double* y_factor) = 0;

  // The same for a piece given by its key in the marker ("IART").
  virtual bool GetRotationScale(const char* vgfn, const char* iart, double* rotation, double* x_factor,
                                double* y_factor) = 0;

  // True when the same query after an Open of the same path always gets the same answer
  // and leaves nothing behind but the file it opened, so that a caller may reuse an
  // answer instead of asking again. A loader that says nothing is asked every time.
  virtual bool RepeatsAnswers() const noexcept { return false; }
};

}  // namespace dorvan_marker
