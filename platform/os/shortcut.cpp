#include "platform/os/shortcut.h"

#include <sys/stat.h>

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/os/environment.h"

namespace ferolin::os {
namespace {

std::string HomeFolder() {
  std::string home = GetEnv("HOME");
  while (home.size() > 1 && home.back() == '/') home.pop_back();
  return home;
}

// xdg-user-dir answers $HOME itself when no desktop folder is configured.
std::string XdgDesktop(const std::string& home) {
  const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-user-dir"));
  if (tool.isEmpty()) return {};
  QProcess process;
  process.start(tool, {QStringLiteral("DESKTOP")});
  if (!process.waitForFinished(5000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    return {};
  }
  std::string dir = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed().toStdString();
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  if (dir.empty() || dir == home) return {};
  return dir;
}

// A value of a desktop entry: no line breaks, backslash escaped.
std::string EntryValue(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// One argument of the Exec key: always quoted, with the characters the entry
// format reserves escaped, and "%" doubled so it is not a field code.
std::string ExecArgument(const std::string& arg) {
  std::string quoted = "\"";
  for (char c : arg) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (c == '%') {
      quoted += "%%";
    } else {
      quoted += c;
    }
  }
  quoted += '"';
  return EntryValue(quoted);
}

}  // namespace

std::string DesktopFolder() {
  const std::string home = HomeFolder();
  const std::string xdg = XdgDesktop(home);
  if (!xdg.empty()) return xdg;
  return home + "/Desktop";
}

ShortcutResult CreateDesktopShortcut(const std::string& name, const std::string& target,
                                     const std::string& icon) {
  ShortcutResult result;
  if (name.empty() || name.find('/') != std::string::npos) {
    result.error = "Nombre de acceso directo no válido: \"" + name + "\"";
    return result;
  }
  if (HomeFolder().empty()) {
    result.error = "No se encuentra la carpeta del usuario (HOME)";
    return result;
  }
  const std::filesystem::path folder = DesktopFolder();
  const std::filesystem::path path = folder / (name + ".desktop");
  result.path = path.string();

  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    result.error = "No se puede crear la carpeta " + folder.string() + ": " + ec.message();
    return result;
  }

  // Written beside the launcher and renamed over it, so a failure never
  // leaves a half-written launcher in place of a good one.
  const std::filesystem::path temp = folder / ("." + name + ".desktop.tmp");
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << "[Desktop Entry]\n"
        << "Type=Application\n"
        << "Version=1.0\n"
        << "Name=" << EntryValue(name) << "\n"
        << "Exec=" << ExecArgument(target) << "\n";
    if (!icon.empty()) out << "Icon=" << EntryValue(icon) << "\n";
    out << "Terminal=false\n";
    out.close();
    if (!out) {
      const std::string why = std::strerror(errno);
      std::filesystem::remove(temp, ec);
      result.error = "No se puede escribir " + temp.string() + ": " + why;
      return result;
    }
  }
  if (::chmod(temp.c_str(), 0755) != 0) {
    const std::string why = std::strerror(errno);
    std::filesystem::remove(temp, ec);
    result.error = "No se puede marcar como ejecutable " + temp.string() + ": " + why;
    return result;
  }
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    result.error = "No se puede crear " + path.string() + ": " + ec.message();
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace ferolin::os
