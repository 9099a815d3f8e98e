#include "platform/os/environment.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace ferolin::os {
namespace {

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::filesystem::path ExecutablePath() {
  std::error_code ec;
  auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return path;
}

// The test override of the program folder; empty when not overridden.
std::string& ProgramFolderOverride() {
  static std::string folder;
  return folder;
}

}  // namespace

std::string GetEnv(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value ? std::string(value) : std::string();
}

void SetEnv(const std::string& name, const std::string& value) {
  ::setenv(name.c_str(), value.c_str(), 1);
}

void UnsetEnv(const std::string& name) {
  ::unsetenv(name.c_str());
}

std::string ProgramFolder() {
  if (!ProgramFolderOverride().empty()) return ProgramFolderOverride();
  const auto exe = ExecutablePath();
  if (exe.empty()) {
    std::error_code ec;
    return WithSlash(std::filesystem::current_path(ec).string());
  }
  return WithSlash(exe.parent_path().string());
}

void SetProgramFolder(const std::string& folder) {
  ProgramFolderOverride() = folder.empty() ? std::string() : WithSlash(folder);
}

std::string ExecutableName() {
  return ExecutablePath().stem().string();
}

std::string TempFolder() {
  const std::string tmp = GetEnv("TMPDIR");
  return WithSlash(tmp.empty() ? std::string("/tmp") : tmp);
}

}  // namespace ferolin::os
