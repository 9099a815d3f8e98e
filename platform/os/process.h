#pragma once
// Starting other programs. Never through a shell: each argument reaches the
// program exactly as given, with no command interpretation.

#include <functional>
#include <string>
#include <vector>

namespace ferolin::os {

// Starts program (a path, or a name looked up in PATH) detached from this
// program. Returns its process id (the task id), 0 when it could not be
// started; then *error, when given, says why.
long StartProcess(const std::string& program, const std::vector<std::string>& args,
                  std::string* error = nullptr);

// True while the process with that id is running (for waiting on a task
// started with StartProcess).
bool IsProcessRunning(long pid);

// Runs program and waits for it, calling pump (when given) every few
// milliseconds so window events keep running. Returns its exit code; -1 when it
// could not be started or did not end normally (then *error says why).
int RunAndWait(const std::string& program, const std::vector<std::string>& args,
               const std::function<void()>& pump = {}, std::string* error = nullptr);

// Splits a Windows-style command line into program and arguments: blanks
// separate; double quotes group (a quote inside quotes is written ""
// or \"); backslashes are literal except before a quote.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

}  // namespace ferolin::os
