#include "platform/os/process.h"

#include <signal.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <cerrno>
#include <fstream>
#include <string>

namespace ferolin::os {
namespace {

QStringList ToQt(const std::vector<std::string>& args) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(args.size()));
  for (const auto& a : args) list << QString::fromStdString(a);
  return list;
}

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

}  // namespace

long StartProcess(const std::string& program, const std::vector<std::string>& args,
                  std::string* error) {
  if (program.empty()) {
    SetError(error, "No se indicó el programa a ejecutar");
    return 0;
  }
  QProcess process;
  process.setProgram(QString::fromStdString(program));
  process.setArguments(ToQt(args));
  qint64 pid = 0;
  if (!process.startDetached(&pid) || pid <= 0) {
    SetError(error, "No se pudo ejecutar " + program);
    return 0;
  }
  SetError(error, "");
  return static_cast<long>(pid);
}

bool IsProcessRunning(long pid) {
  if (pid <= 0) return false;
  if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM) return false;
  // An ended task stays a zombie until its parent reaps it; it is not running.
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return true;
  const auto close = line.rfind(')');
  return close == std::string::npos || close + 2 >= line.size() || line[close + 2] != 'Z';
}

int RunAndWait(const std::string& program, const std::vector<std::string>& args,
               const std::function<void()>& pump, std::string* error) {
  QProcess process;
  process.setProcessChannelMode(QProcess::ForwardedChannels);
  process.start(QString::fromStdString(program), ToQt(args));
  if (!process.waitForStarted(-1)) {
    SetError(error, "No se pudo ejecutar " + program + ": " + process.errorString().toStdString());
    return -1;
  }
  while (!process.waitForFinished(pump ? 20 : -1)) {
    if (process.state() == QProcess::NotRunning) break;
    if (pump) pump();
  }
  if (process.exitStatus() != QProcess::NormalExit) {
    SetError(error, "El programa " + program + " terminó en forma anormal");
    return -1;
  }
  SetError(error, "");
  return process.exitCode();
}

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::vector<std::string> parts;
  std::string current;
  bool inQuotes = false;
  bool hasToken = false;
  const std::size_t n = commandLine.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char c = commandLine[i];
    if (c == '\\') {
      std::size_t slashes = 0;
      while (i < n && commandLine[i] == '\\') {
        ++slashes;
        ++i;
      }
      if (i < n && commandLine[i] == '"') {
        // 2n backslashes + quote: n backslashes and a quote that toggles;
        // 2n+1: n backslashes and a literal quote.
        current.append(slashes / 2, '\\');
        if (slashes % 2 == 1) {
          current += '"';
        } else {
          inQuotes = !inQuotes;
        }
      } else {
        current.append(slashes, '\\');
        --i;
      }
      hasToken = true;
    } else if (c == '"') {
      if (inQuotes && i + 1 < n && commandLine[i + 1] == '"') {
        current += '"';
        ++i;
      } else {
        inQuotes = !inQuotes;
      }
      hasToken = true;
    } else if ((c == ' ' || c == '\t') && !inQuotes) {
      if (hasToken) {
        parts.push_back(std::move(current));
        current.clear();
        hasToken = false;
      }
    } else {
      current += c;
      hasToken = true;
    }
  }
  if (hasToken) parts.push_back(std::move(current));
  return parts;
}

}  // namespace ferolin::os
