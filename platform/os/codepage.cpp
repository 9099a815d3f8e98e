#include "platform/os/codepage.h"

#include <errno.h>
#include <fcntl.h>
#include <iconv.h>
#include <unistd.h>

#include <cstring>
#include <utility>

namespace ferolin::os {
namespace {

// One conversion descriptor for the length of one conversion.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw TextFileError(std::string("No se puede convertir de ") + from + " a " + to + ": " +
                          std::strerror(errno));
    }
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much as possible. Returns false at an input byte sequence the
  // target cannot take (in is left there); true when all input is consumed.
  bool Convert(const char*& in, std::size_t& inLeft, std::string& out) {
    char buffer[4096];
    while (inLeft > 0) {
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      char* src = const_cast<char*>(in);
      const std::size_t r = iconv(cd_, &src, &inLeft, &dst, &dstLeft);
      const int err = errno;
      in = src;
      out.append(buffer, dst);
      if (r == static_cast<std::size_t>(-1)) {
        if (err == E2BIG) continue;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        return false;
      }
    }
    return true;
  }

 private:
  iconv_t cd_;
};

// Length of the valid UTF-8 sequence at s (1..4), 0 when invalid.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
  const unsigned char c = b(0);
  const std::size_t left = s.size() - i;
  if (c < 0x80) return 1;
  const auto cont = [&](std::size_t k) { return k < left && (b(k) & 0xC0) == 0x80; };
  if (c >= 0xC2 && c <= 0xDF) return cont(1) ? 2 : 0;
  if (c >= 0xE0 && c <= 0xEF) {
    if (!cont(1) || !cont(2)) return 0;
    if (c == 0xE0 && b(1) < 0xA0) return 0;   // overlong
    if (c == 0xED && b(1) >= 0xA0) return 0;  // surrogates
    return 3;
  }
  if (c >= 0xF0 && c <= 0xF4) {
    if (!cont(1) || !cont(2) || !cont(3)) return 0;
    if (c == 0xF0 && b(1) < 0x90) return 0;
    if (c == 0xF4 && b(1) >= 0x90) return 0;
    return 4;
  }
  return 0;
}

void AppendCodePoint(std::string& out, unsigned cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// A file descriptor closed when it goes out of scope.
class FileHandle {
 public:
  FileHandle(const std::string& path, int flags, const char* doing)
      : fd_(::open(path.c_str(), flags | O_CLOEXEC, 0666)) {
    if (fd_ < 0) Fail(path, doing);
  }
  ~FileHandle() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  int fd() const { return fd_; }
  // close() can report a failed write; check it when writing.
  void Close(const std::string& path) {
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0) Fail(path, "escribir");
  }
  [[noreturn]] static void Fail(const std::string& path, const char* doing) {
    throw TextFileError("No se puede " + std::string(doing) + " el archivo " + path + ": " +
                        std::strerror(errno));
  }

 private:
  int fd_;
};

void WriteAll(FileHandle& file, const std::string& path, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(file.fd(), bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      FileHandle::Fail(path, "escribir");
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
  Converter conv("UTF-8", "WINDOWS-1252");
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  const char* in = bytes.data();
  std::size_t left = bytes.size();
  while (!conv.Convert(in, left, out)) {
    // iconv leaves the undefined bytes; Windows maps them to the C1 controls.
    AppendCodePoint(out, static_cast<unsigned char>(*in));
    ++in;
    --left;
  }
  return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
  Converter conv("WINDOWS-1252", "UTF-8");
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    // Valid runs go through iconv; an invalid byte becomes "?".
    std::size_t j = i;
    while (j < utf8.size()) {
      const std::size_t n = Utf8SequenceLength(utf8, j);
      if (n == 0) break;
      j += n;
    }
    const char* in = utf8.data() + i;
    std::size_t left = j - i;
    while (!conv.Convert(in, left, out)) {
      // A character Windows-1252 has no form for; the C1 controls that stand
      // for its undefined bytes go back to those bytes.
      const std::size_t n = Utf8SequenceLength(std::string_view(in, left), 0);
      const unsigned char c0 = static_cast<unsigned char>(in[0]);
      const unsigned char c1 = n > 1 ? static_cast<unsigned char>(in[1]) : 0;
      if (n == 2 && c0 == 0xC2 &&
          (c1 == 0x81 || c1 == 0x8D || c1 == 0x8F || c1 == 0x90 || c1 == 0x9D)) {
        out += static_cast<char>(c1);
      } else {
        out += '?';
      }
      in += n;
      left -= n;
    }
    i = j;
    if (i < utf8.size()) {
      out += '?';
      ++i;
    }
  }
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t n = Utf8SequenceLength(bytes, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string ReadFileBytes(const std::string& path) {
  FileHandle file(path, O_RDONLY, "abrir");
  std::string data;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(file.fd(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      FileHandle::Fail(path, "leer");
    }
    if (n == 0) break;
    data.append(buffer, static_cast<std::size_t>(n));
  }
  return data;
}

std::string ReadTextFile(const std::string& path) {
  return Cp1252ToUtf8(ReadFileBytes(path));
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::vector<std::string> ReadTextLines(const std::string& path) {
  return SplitLines(ReadTextFile(path));
}

void WriteTextFile(const std::string& path, const std::string& utf8) {
  const std::string bytes = Utf8ToCp1252(utf8);
  FileHandle file(path, O_WRONLY | O_CREAT | O_TRUNC, "crear");
  WriteAll(file, path, bytes);
  file.Close(path);
}

void AppendTextLine(const std::string& path, const std::string& utf8Line,
                    const std::string& lineEnd) {
  // One write of the whole line, so a failure never leaves half a line.
  const std::string bytes = Utf8ToCp1252(utf8Line + lineEnd);
  FileHandle file(path, O_WRONLY | O_CREAT | O_APPEND, "abrir");
  WriteAll(file, path, bytes);
  file.Close(path);
}

std::string DecodeImportText(std::string_view bytes) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (bytes.starts_with(kBom)) {
    bytes.remove_prefix(kBom.size());
    // A marked file with a stray invalid byte keeps its text; the byte becomes U+FFFD.
    if (IsValidUtf8(bytes)) return std::string(bytes);
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
      const std::size_t n = Utf8SequenceLength(bytes, i);
      if (n == 0) {
        out += "\xEF\xBF\xBD";
        ++i;
      } else {
        out.append(bytes.substr(i, n));
        i += n;
      }
    }
    return out;
  }
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return Cp1252ToUtf8(bytes);
}

}  // namespace ferolin::os
