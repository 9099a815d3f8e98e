#include "platform/os/process.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "tests/support/temp_folder.h"

namespace ferolin::os {
namespace {

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A tiny program: writes its arguments, one per line, to the file named by
// the first one, then exits with the code given as the second.
std::string WriteHelper(const testing::TempFolder& tmp) {
  const auto path = tmp.file("eco.sh");
  std::ofstream(path) << "#!/bin/sh\n"
                         "out=\"$1\"; code=\"$2\"; shift 2\n"
                         "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$out.part\"\n"
                         "mv \"$out.part\" \"$out\"\n"
                         "exit \"$code\"\n";
  ::chmod(path.c_str(), 0755);
  return path.string();
}

bool WaitForFile(const std::filesystem::path& path) {
  for (int i = 0; i < 250 && !std::filesystem::exists(path); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return std::filesystem::exists(path);
}

TEST(StartProcess, ArgumentsArriveIntactWithoutAShell) {
  testing::TempFolder tmp;
  const auto out = tmp.file("args.txt");
  const std::vector<std::string> args{out.string(),           "0", "a;b $(x) |c", "`id` && echo >x",
                                      " @server=SRV; mirk@ ", "*"};
  std::string error = "unchanged";
  const long pid = StartProcess(WriteHelper(tmp), args, &error);
  EXPECT_GT(pid, 0);
  EXPECT_EQ(error, "");
  ASSERT_TRUE(WaitForFile(out));
  EXPECT_EQ(Slurp(out), "a;b $(x) |c\n`id` && echo >x\n @server=SRV; mirk@ \n*\n");
  EXPECT_FALSE(std::filesystem::exists(tmp.file("x")));
}

TEST(StartProcess, AMissingProgramGivesZeroAndAReason) {
  testing::TempFolder tmp;
  std::string error;
  EXPECT_EQ(StartProcess(tmp.file("V_TA_TABLAS").string(), {"x"}, &error), 0);
  EXPECT_NE(error.find("V_TA_TABLAS"), std::string::npos) << error;
  EXPECT_EQ(StartProcess("", {}, &error), 0);
  EXPECT_FALSE(error.empty());
}

TEST(RunAndWait, ReturnsTheExitCodeAndPumpsWhileWaiting) {
  testing::TempFolder tmp;
  const auto helper = tmp.file("lento.sh");
  std::ofstream(helper) << "#!/bin/sh\nsleep 0.3\nexit 3\n";
  ::chmod(helper.c_str(), 0755);
  int pumps = 0;
  EXPECT_EQ(RunAndWait(helper.string(), {}, [&] { ++pumps; }), 3);
  EXPECT_GT(pumps, 2);

  const auto out = tmp.file("args.txt");
  EXPECT_EQ(RunAndWait(WriteHelper(tmp), {out.string(), "0", "uno dos"}), 0);
  EXPECT_EQ(Slurp(out), "uno dos\n");
}

TEST(RunAndWait, FailuresGiveMinusOneAndAReason) {
  testing::TempFolder tmp;
  std::string error;
  EXPECT_EQ(RunAndWait(tmp.file("ODBC.exe").string(), {}, {}, &error), -1);
  EXPECT_FALSE(error.empty());

  const auto crasher = tmp.file("crash.sh");
  std::ofstream(crasher) << "#!/bin/sh\nkill -9 $$\n";
  ::chmod(crasher.c_str(), 0755);
  error.clear();
  EXPECT_EQ(RunAndWait(crasher.string(), {}, {}, &error), -1);
  EXPECT_FALSE(error.empty());
}

TEST(IsProcessRunning, FollowsAStartedTask) {
  testing::TempFolder tmp;
  const auto helper = tmp.file("espera.sh");
  std::ofstream(helper) << "#!/bin/sh\nsleep 0.3\n";
  ::chmod(helper.c_str(), 0755);
  const long pid = StartProcess(helper.string(), {});
  ASSERT_GT(pid, 0);
  EXPECT_TRUE(IsProcessRunning(pid));
  bool ended = false;
  for (int i = 0; i < 250 && !ended; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ended = !IsProcessRunning(pid);
  }
  EXPECT_TRUE(ended);
  EXPECT_FALSE(IsProcessRunning(0));
}

struct SplitCase {
  const char* line;
  std::vector<std::string> parts;
};

class SplitCommandLineTable : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTable, SplitsLikeWindows) {
  EXPECT_EQ(SplitCommandLine(GetParam().line), GetParam().parts);
}

INSTANTIATE_TEST_SUITE_P(Lines, SplitCommandLineTable,
                         ::testing::Values(SplitCase{"", {}}, SplitCase{"   ", {}},
                                           SplitCase{"prog", {"prog"}},
                                           SplitCase{"  prog   a\tb  ", {"prog", "a", "b"}},
                                           SplitCase{R"("C:\Archivos de programa\x.exe" uno)",
                                                     {R"(C:\Archivos de programa\x.exe)", "uno"}},
                                           SplitCase{R"(ODBC.exe Server=SRV;DB=EMPRESA;)",
                                                     {"ODBC.exe", "Server=SRV;DB=EMPRESA;"}},
                                           SplitCase{R"(a "" b)", {"a", "", "b"}},
                                           SplitCase{R"(a "x""y" b)", {"a", R"(x"y)", "b"}},
                                           SplitCase{R"(a\\b c\d)", {R"(a\\b)", R"(c\d)"}},
                                           SplitCase{R"(a\"b "c\\" d)", {R"(a"b)", R"(c\)", "d"}},
                                           SplitCase{R"(x"a b"y z)", {"xa by", "z"}},
                                           SplitCase{R"(p "sin cerrar)", {"p", "sin cerrar"}}));

}  // namespace
}  // namespace ferolin::os
