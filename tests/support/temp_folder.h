#pragma once
// A temporary folder removed with everything in it when the object dies.

#include <filesystem>
#include <string>

namespace ferolin::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder as the program names its folders: ending with a separator.
  std::string withSlash() const { return path_.string() + "/"; }
  std::filesystem::path file(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace ferolin::testing
