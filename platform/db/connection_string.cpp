#include "platform/db/connection_string.h"

#include <algorithm>
#include <cctype>

namespace ferolin::db {

namespace {

std::string Trim(const std::string& s) {
  const auto notBlank = [](unsigned char c) { return !std::isspace(c); };
  auto b = std::find_if(s.begin(), s.end(), notBlank);
  auto e = std::find_if(s.rbegin(), s.rend(), notBlank).base();
  return b < e ? std::string(b, e) : std::string();
}

}  // namespace

ConnectionKeys ParseConnectionString(const std::string& text) {
  ConnectionKeys keys;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t semi = text.find(';', pos);
    if (semi == std::string::npos) semi = text.size();
    const std::string part = text.substr(pos, semi - pos);
    pos = semi + 1;
    const std::size_t eq = part.find('=');
    if (eq == std::string::npos) continue;
    std::string key = Trim(part.substr(0, eq));
    if (key.empty()) continue;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    // A repeated key keeps its last value, as the providers read it.
    keys[key] = Trim(part.substr(eq + 1));
  }
  return keys;
}

}  // namespace ferolin::db
