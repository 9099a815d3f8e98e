#pragma once
// Text files are Windows-1252 on disk and UTF-8 in memory. Conversions go
// through iconv; failures raise TextFileError with a text fit for the operator.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ferolin::os {

class TextFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Every byte has a character: the five bytes Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become U+0081 ... as Windows maps them.
std::string Cp1252ToUtf8(std::string_view bytes);
// Characters without a Windows-1252 form, and invalid UTF-8 bytes, become "?"
// as the Windows conversion does.
std::string Utf8ToCp1252(std::string_view utf8);
bool IsValidUtf8(std::string_view bytes);

// The raw bytes of a file.
std::string ReadFileBytes(const std::string& path);
// The whole file, Windows-1252 -> UTF-8.
std::string ReadTextFile(const std::string& path);
// The file's lines (Windows-1252 -> UTF-8), split at CR LF, LF or a lone CR;
// a last line without a line end is kept, an empty file gives no lines.
std::vector<std::string> ReadTextLines(const std::string& path);
std::vector<std::string> SplitLines(std::string_view text);
// Replaces the file with utf8 written as Windows-1252 (no line end added).
void WriteTextFile(const std::string& path, const std::string& utf8);
// Appends one line (created when missing), followed by lineEnd.
void AppendTextLine(const std::string& path, const std::string& utf8Line,
                    const std::string& lineEnd = "\r\n");

// Import files: UTF-8 when they start with a UTF-8 byte-order mark (dropped)
// or are valid UTF-8 as a whole; Windows-1252 otherwise.
std::string DecodeImportText(std::string_view bytes);

}  // namespace ferolin::os
