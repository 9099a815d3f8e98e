#include "tests/support/temp_folder.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace ferolin::testing {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "ferolin-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

}  // namespace ferolin::testing
