#include "platform/db/tsql_lexer.h"

#include <cctype>

namespace ferolin::db::tsql {

namespace {

bool IsWordChar(unsigned char c) {
  return std::isalnum(c) || c == '_' || c == '@' || c == '#' || c == '$' || c >= 0x80;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// End of a quoted token opened at `i` and closed by `close`, where a doubled
// closing character stands for itself. An unterminated token runs to the end.
std::size_t QuotedEnd(std::string_view s, std::size_t i, char close) {
  std::size_t j = i + 1;
  while (j < s.size()) {
    if (s[j] == close) {
      if (j + 1 < s.size() && s[j + 1] == close) {
        j += 2;
        continue;
      }
      return j + 1;
    }
    ++j;
  }
  return s.size();
}

char UpperChar(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

}  // namespace

bool Token::Is(std::string_view word) const {
  if (kind != Tok::Word || text.size() != word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (UpperChar(text[i]) != word[i]) return false;
  }
  return true;
}

std::string Token::Upper() const {
  std::string out(text);
  for (char& c : out) c = UpperChar(c);
  return out;
}

bool IsAnyOf(const Token& t, std::initializer_list<std::string_view> words) {
  for (std::string_view w : words) {
    if (t.Is(w)) return true;
  }
  return false;
}

std::vector<Token> Lex(std::string_view s) {
  std::vector<Token> out;
  out.reserve(s.size() / 2 + 8);
  std::size_t i = 0;
  const auto push = [&](Tok kind, std::size_t end) {
    out.push_back(Token{kind, s.substr(i, end - i)});
    i = end;
  };
  while (i < s.size()) {
    const char c = s[i];
    const char n = i + 1 < s.size() ? s[i + 1] : '\0';
    if (std::isspace(static_cast<unsigned char>(c))) {
      std::size_t j = i;
      while (j < s.size() && std::isspace(static_cast<unsigned char>(s[j]))) ++j;
      push(Tok::Space, j);
    } else if (c == '-' && n == '-') {
      std::size_t j = s.find_first_of("\r\n", i);
      push(Tok::Comment, j == std::string_view::npos ? s.size() : j);
    } else if (c == '/' && n == '*') {
      std::size_t j = s.find("*/", i + 2);
      push(Tok::Comment, j == std::string_view::npos ? s.size() : j + 2);
    } else if (c == '\'') {
      push(Tok::String, QuotedEnd(s, i, '\''));
    } else if (c == '[') {
      push(Tok::Bracket, QuotedEnd(s, i, ']'));
    } else if (c == '"') {
      push(Tok::DQuote, QuotedEnd(s, i, '"'));
    } else if (IsDigit(c) || (c == '.' && IsDigit(n))) {
      std::size_t j = i;
      while (j < s.size() && IsDigit(s[j])) ++j;
      if (j < s.size() && s[j] == '.') {
        ++j;
        while (j < s.size() && IsDigit(s[j])) ++j;
      }
      if (j < s.size() && (s[j] == 'e' || s[j] == 'E')) {
        std::size_t k = j + 1;
        if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
        if (k < s.size() && IsDigit(s[k])) {
          while (k < s.size() && IsDigit(s[k])) ++k;
          j = k;
        }
      }
      push(Tok::Number, j);
    } else if (IsWordChar(static_cast<unsigned char>(c))) {
      std::size_t j = i;
      while (j < s.size() && IsWordChar(static_cast<unsigned char>(s[j]))) ++j;
      push(Tok::Word, j);
    } else {
      static const char* const kPairs[] = {"<>", "<=", ">=", "!=", "!<", "!>", "||", "::"};
      std::size_t len = 1;
      for (const char* p : kPairs) {
        if (c == p[0] && n == p[1]) len = 2;
      }
      push(Tok::Punct, i + len);
    }
  }
  return out;
}

std::string Unquote(const Token& t) {
  if ((t.kind == Tok::Bracket || t.kind == Tok::DQuote) && t.text.size() >= 2) {
    const char close = t.kind == Tok::Bracket ? ']' : '"';
    std::string_view inner = t.text.substr(1, t.text.size() - 2);
    std::string out;
    for (std::size_t i = 0; i < inner.size(); ++i) {
      out += inner[i];
      if (inner[i] == close && i + 1 < inner.size() && inner[i + 1] == close) ++i;
    }
    return out;
  }
  return std::string(t.text);
}

std::string SourceTable(const std::string& sql) {
  std::vector<Token> toks;
  for (const Token& t : Lex(sql)) {
    if (t.Significant()) toks.push_back(t);
  }
  if (toks.empty() || !toks[0].Is("SELECT")) return {};
  int depth = 0;
  for (std::size_t i = 0; i < toks.size(); ++i) {
    if (toks[i].IsPunct("(")) ++depth;
    if (toks[i].IsPunct(")")) --depth;
    if (depth != 0 || !toks[i].Is("FROM")) continue;
    // Multi-part name: keep the last part (database.owner.table -> table).
    std::string name;
    std::size_t j = i + 1;
    while (j < toks.size() && (toks[j].kind == Tok::Word || toks[j].kind == Tok::Bracket ||
                               toks[j].kind == Tok::DQuote)) {
      name = Unquote(toks[j]);
      if (j + 1 < toks.size() && toks[j + 1].IsPunct(".")) {
        j += 2;
        continue;
      }
      break;
    }
    return name;
  }
  return {};
}

}  // namespace ferolin::db::tsql
