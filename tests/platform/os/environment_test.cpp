#include "platform/os/environment.h"

#include <gtest/gtest.h>

#include "platform/os/shortcut.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <fstream>

namespace ferolin::os {
namespace {

TEST(Environment, VariablesAndFolders) {
  SetEnv("FEROLIN_PRUEBA", "a b=c");
  EXPECT_EQ(GetEnv("FEROLIN_PRUEBA"), "a b=c");
  UnsetEnv("FEROLIN_PRUEBA");
  EXPECT_EQ(GetEnv("FEROLIN_PRUEBA"), "");

  const std::string real = ProgramFolder();
  ASSERT_FALSE(real.empty());
  EXPECT_EQ(real.back(), '/');
  EXPECT_TRUE(std::filesystem::exists(real + ExecutableName()));
  EXPECT_EQ(ExecutableName(), "test_platform_os");

  SetProgramFolder("/tmp/prog");
  EXPECT_EQ(ProgramFolder(), "/tmp/prog/");
  SetProgramFolder("");
  EXPECT_EQ(ProgramFolder(), real);

  const std::string saved = GetEnv("TMPDIR");
  SetEnv("TMPDIR", "/var/tmp/");
  EXPECT_EQ(TempFolder(), "/var/tmp/");
  UnsetEnv("TMPDIR");
  EXPECT_EQ(TempFolder(), "/tmp/");
  if (!saved.empty()) SetEnv("TMPDIR", saved);
}

// A launcher written into a temporary home, with the variables restored after.
class DesktopShortcut : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* v : {"HOME", "XDG_CONFIG_HOME"}) saved_.emplace_back(v, GetEnv(v));
    SetEnv("HOME", home_.path().string());
    SetEnv("XDG_CONFIG_HOME", (home_.path() / ".config").string());
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value.empty()) {
        UnsetEnv(name);
      } else {
        SetEnv(name, value);
      }
    }
  }
  static std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  testing::TempFolder home_;
  std::vector<std::pair<std::string, std::string>> saved_;
};

TEST_F(DesktopShortcut, WritesAnExecutableLauncherAndReplacesIt) {
  const auto result =
      CreateDesktopShortcut("Morvello", "/opt/ferolin/ferolin", "/opt/ferolin/ferolin.png");
  ASSERT_TRUE(result.ok) << result.error;
  const auto path = home_.path() / "Desktop" / "Morvello.desktop";
  EXPECT_EQ(result.path, path.string());
  const std::string text = Slurp(path);
  EXPECT_NE(text.find("[Desktop Entry]\n"), std::string::npos);
  EXPECT_NE(text.find("\nType=Application\n"), std::string::npos);
  EXPECT_NE(text.find("\nName=Morvello\n"), std::string::npos);
  EXPECT_NE(text.find("\nExec=\"/opt/ferolin/ferolin\"\n"), std::string::npos);
  EXPECT_NE(text.find("\nIcon=/opt/ferolin/ferolin.png\n"), std::string::npos);
  const auto perms = std::filesystem::status(path).permissions();
  EXPECT_NE(perms & std::filesystem::perms::owner_exec, std::filesystem::perms::none);

  const auto again = CreateDesktopShortcut("Morvello", "/otra carpeta/$x 100%", "");
  ASSERT_TRUE(again.ok) << again.error;
  const std::string replaced = Slurp(path);
  EXPECT_NE(replaced.find("\nExec=\"/otra carpeta/\\\\$x 100%%\"\n"), std::string::npos)
      << replaced;
  EXPECT_EQ(replaced.find("/opt/ferolin"), std::string::npos);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path.parent_path()), {}), 1);
}

TEST_F(DesktopShortcut, UsesTheConfiguredDesktopFolder) {
  std::filesystem::create_directories(home_.path() / ".config");
  std::ofstream(home_.path() / ".config" / "user-dirs.dirs")
      << "XDG_DESKTOP_DIR=\"$HOME/Escritorio\"\n";
  const auto result = CreateDesktopShortcut("Morvello", "/bin/true", "");
  ASSERT_TRUE(result.ok) << result.error;
  // Only when the system has xdg-user-dir; otherwise $HOME/Desktop.
  const bool xdg = std::filesystem::exists("/usr/bin/xdg-user-dir");
  const auto expected = home_.path() / (xdg ? "Escritorio" : "Desktop") / "Morvello.desktop";
  EXPECT_EQ(result.path, expected.string());
  EXPECT_TRUE(std::filesystem::exists(expected));
}

TEST_F(DesktopShortcut, FailuresAreReported) {
  std::ofstream(home_.path() / "Desktop") << "a file where the folder should be";
  const auto result = CreateDesktopShortcut("Morvello", "/bin/true", "");
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.error.empty());

  const auto bad = CreateDesktopShortcut("../fuera", "/bin/true", "");
  EXPECT_FALSE(bad.ok);
  EXPECT_FALSE(bad.error.empty());
}

}  // namespace
}  // namespace ferolin::os
