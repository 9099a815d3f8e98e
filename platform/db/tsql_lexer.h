#pragma once
// Tokens of SQL Server's dialect, shared by the adapter and by the result set
// (which reads the source table of a query). String literals, bracketed and
// double-quoted names and comments are single tokens, so rewrites never reach
// inside them.

#include <string>
#include <vector>

namespace ferolin::db::tsql {

enum class Tok { Space, Word, Number, String, Bracket, DQuote, Comment, Punct };

struct Token {
  Tok kind = Tok::Space;
  std::string text;
  std::string upper;  // upper-case text for words, else empty
  bool Is(const char* word) const { return kind == Tok::Word && upper == word; }
  bool IsPunct(const char* p) const { return kind == Tok::Punct && text == p; }
  bool Significant() const { return kind != Tok::Space && kind != Tok::Comment; }
};

std::vector<Token> Lex(const std::string& sql);

// The name of a bracketed or double-quoted token without its quotes; a word as it is.
std::string Unquote(const Token& t);

// The table a "SELECT ... FROM <table> ..." query reads (first table after the
// first top-level FROM), without owner prefix, brackets or table hints; "" when
// the text is not such a query.
std::string SourceTable(const std::string& sql);

}  // namespace ferolin::db::tsql
