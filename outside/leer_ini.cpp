#include <QDir>
#include <QFileInfo>
#include <QString>
#include <string_view>

#include "outside/sistema.h"
#include "platform/os/codepage.h"

namespace ferolin::outside {
namespace {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, const std::string& b) {
  return QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()))
             .compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

// The suite names its settings file in more than one letter case
// ("Quadrel.INI", "quadrel.ini"); file names are case-sensitive here.
QString ExistingFile(const std::string& fileName) {
  const QString path = QString::fromStdString(fileName);
  const QFileInfo info(path);
  if (info.isFile()) return path;
  const QDir dir = info.dir();
  const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
  for (const QString& entry : entries) {
    if (entry.compare(info.fileName(), Qt::CaseInsensitive) == 0) return dir.filePath(entry);
  }
  return {};
}

}  // namespace

std::string LeerIni(const std::string& fileName, const std::string& section, const std::string& key,
                    const std::string& defaultValue) {
  if (fileName.empty() || key.empty()) return defaultValue;
  const QString path = ExistingFile(fileName);
  if (path.isEmpty()) return defaultValue;
  std::string text;
  try {
    std::string bytes = os::ReadFileBytes(path.toStdString());
    // A UTF-8 file saved with its mark is read as UTF-8.
    text = bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : os::Cp1252ToUtf8(bytes);
  } catch (const os::TextFileError&) {
    return defaultValue;  // an unreadable file counts as a missing one
  }

  bool inSection = false;
  bool sectionSeen = false;
  for (const std::string& line : os::SplitLines(text)) {
    const std::string_view t = TrimBlanks(line);
    if (t.starts_with('[')) {
      if (inSection) break;  // only the first section of that name counts
      const auto close = t.find(']');
      const std::string_view name =
          TrimBlanks(t.substr(1, close == std::string_view::npos ? t.npos : close - 1));
      inSection = !sectionSeen && SameName(name, section);
      sectionSeen = sectionSeen || inSection;
      continue;
    }
    if (!inSection) continue;
    const auto eq = t.find('=');
    if (eq == std::string_view::npos) continue;
    if (!SameName(TrimBlanks(t.substr(0, eq)), key)) continue;
    std::string_view value = TrimBlanks(t.substr(eq + 1));
    // Matching quotes around the whole value are dropped.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
  }
  return defaultValue;
}

}  // namespace ferolin::outside
