#pragma once
// Tokens of SQL Server's dialect, shared by the adapter and by the result set
// (which reads the source table of a query). String literals, bracketed and
// double-quoted names and comments are single tokens, so rewrites never reach
// inside them.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace ferolin::db::tsql {

enum class Tok { Space, Word, Number, String, Bracket, DQuote, Comment, Punct };

// A token is a view into the text it was read from, which must outlive it.
struct Token {
  Tok kind = Tok::Space;
  std::string_view text;
  // Case-insensitive word test; `word` is given in upper case.
  bool Is(std::string_view word) const;
  bool IsPunct(std::string_view p) const { return kind == Tok::Punct && text == p; }
  bool Significant() const { return kind != Tok::Space && kind != Tok::Comment; }
  std::string Upper() const;
};

// True when the token is a word equal to one of `words` (upper case).
bool IsAnyOf(const Token& t, std::initializer_list<std::string_view> words);

std::vector<Token> Lex(std::string_view sql);

// The name of a bracketed or double-quoted token without its quotes; a word as it is.
std::string Unquote(const Token& t);

// The table a "SELECT ... FROM <table> ..." query reads (first table after the
// first top-level FROM), without owner prefix, brackets or table hints; "" when
// the text is not such a query.
std::string SourceTable(const std::string& sql);

}  // namespace ferolin::db::tsql
