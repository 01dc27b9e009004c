// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace test {

// A fresh folder under the system's temporary folder, removed with everything in it when
// the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
// The names of the entries of a folder, sorted.
std::vector<std::string> ListFolder(const std::string& path);

// Lines joined with "\n" (each line ended by it).
std::string Lines(std::initializer_list<const char*> lines);
// Lines joined with CR LF, as the host files hold them.
std::string CrLfLines(std::initializer_list<const char*> lines);

// The example marker ("spring jacket") and its model files copied into dir, the marker
// named `name`; returns the marker's path.
std::string CopyExample(const TempDir& dir, const std::string& name);

}  // namespace test
