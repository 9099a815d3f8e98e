#include "platform/db/tsql_adapter.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "platform/db/tsql_lexer.h"

namespace ferolin::db {

namespace {

using tsql::Tok;
using tsql::Token;
using Tokens = std::vector<Token>;

bool IsLockHint(const Token& t) {
  return tsql::IsAnyOf(
      t, {"NOLOCK", "READUNCOMMITTED", "READCOMMITTED", "ROWLOCK", "PAGLOCK", "TABLOCK", "TABLOCKX",
          "UPDLOCK", "XLOCK", "HOLDLOCK", "READPAST", "NOWAIT", "SERIALIZABLE", "REPEATABLEREAD",
          "NOEXPAND", "FASTFIRSTROW", "READCOMMITTEDLOCK"});
}

// Session options of SQL Server that mean nothing to the other engines.
bool IsSessionOption(const Token& t) {
  return tsql::IsAnyOf(
      t, {"NOCOUNT", "ANSI_NULLS", "ANSI_PADDING", "ANSI_WARNINGS", "QUOTED_IDENTIFIER",
          "DATEFORMAT", "XACT_ABORT", "ARITHABORT", "LOCK_TIMEOUT", "CONCAT_NULL_YIELDS_NULL",
          "ANSI_DEFAULTS", "DATEFIRST", "LANGUAGE", "NUMERIC_ROUNDABORT"});
}

std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool SamePunct(const Token& t, const char* p) {
  return t.IsPunct(p);
}

// ---------------------------------------------------------------------------
// Splitting a batch. T-SQL needs no separator between statements, so a new
// statement starts where a statement keyword appears at the top level and
// cannot belong to the statement that is running.

std::size_t NextSig(const Tokens& t, std::size_t i) {
  while (i < t.size() && !t[i].Significant()) ++i;
  return i;
}

// A line holding only GO separates batches in SQL Server's tools.
bool IsGoLine(const Tokens& t, std::size_t i) {
  if (!t[i].Is("GO")) return false;
  const auto breaks = [&](std::size_t k) {
    return t[k].kind == Tok::Space && t[k].text.find_first_of("\r\n") != std::string_view::npos;
  };
  const bool starts = i == 0 || breaks(i - 1) || (i == 1 && t[0].kind == Tok::Space);
  const bool ends =
      i + 1 == t.size() || breaks(i + 1) || (i + 2 == t.size() && t[i + 1].kind == Tok::Space);
  return starts && ends;
}

std::vector<Tokens> Split(const Tokens& all) {
  std::vector<Tokens> out;
  Tokens cur;
  std::string lead;                // first keyword of the running statement
  const Token* prevSig = nullptr;  // previous significant token
  int depth = 0;
  bool valuesSeen = false;    // INSERT ... VALUES: a later SELECT is a new statement
  bool insertSelect = false;  // INSERT ... SELECT: only the first SELECT belongs to it
  bool cteBodySeen = false;   // WITH ... AS (...) <statement>

  const auto flush = [&] {
    if (!cur.empty()) out.push_back(std::move(cur));
    cur.clear();
    lead.clear();
    prevSig = nullptr;
    depth = 0;
    valuesSeen = cteBodySeen = insertSelect = false;
  };

  for (std::size_t i = 0; i < all.size(); ++i) {
    const Token& t = all[i];
    if (t.IsPunct(";") && depth <= 0) {
      flush();
      continue;
    }
    if (t.kind == Tok::Word && IsGoLine(all, i)) {
      flush();
      continue;
    }
    if (t.kind == Tok::Word && depth == 0 && !lead.empty()) {
      const std::size_t n = NextSig(all, i + 1);
      const Token* next = n < all.size() ? &all[n] : nullptr;
      const bool nextIs = next != nullptr;
      // Words after which a statement keyword continues the running statement:
      // UNION SELECT, AS SELECT, ON DELETE CASCADE, GRANT UPDATE ...
      const bool joined =
          prevSig != nullptr && (SamePunct(*prevSig, "(") || SamePunct(*prevSig, ",") ||
                                 tsql::IsAnyOf(*prevSig, {"UNION", "ALL", "EXCEPT", "INTERSECT",
                                                          "AS", "GRANT", "DENY", "REVOKE"}));
      const bool dml = tsql::IsAnyOf(t, {"INSERT", "UPDATE", "DELETE"});
      const bool dmlJoined = dml && prevSig != nullptr &&
                             tsql::IsAnyOf(*prevSig, {"ON", "OF", "FOR", "AFTER", "INSTEAD"});
      bool split = false;
      if (!joined && !dmlJoined) {
        if (t.Is("SELECT")) {
          if (lead == "INSERT" && !valuesSeen && !insertSelect) {
            insertSelect = true;
          } else if (lead == "WITH" && !cteBodySeen) {
            cteBodySeen = true;
          } else {
            split = true;
          }
        } else if (dml) {
          if (lead == "WITH" && !cteBodySeen) {
            cteBodySeen = true;
          } else {
            split = true;
          }
        } else if (t.Is("BEGIN")) {
          split = nextIs && tsql::IsAnyOf(*next, {"TRAN", "TRANSACTION", "DISTRIBUTED"});
        } else if (tsql::IsAnyOf(t, {"COMMIT", "ROLLBACK", "CREATE", "TRUNCATE"})) {
          split = true;
        } else if (tsql::IsAnyOf(t, {"DROP", "ALTER"})) {
          split = !(nextIs && tsql::IsAnyOf(*next, {"COLUMN", "CONSTRAINT"}));
        }
      }
      if (split) flush();
    }
    if (t.IsPunct("(")) ++depth;
    if (t.IsPunct(")")) --depth;
    if (t.Significant()) {
      if (lead.empty() && t.kind == Tok::Word) lead = t.Upper();
      if (t.Is("VALUES") && depth == 0) valuesSeen = true;
      prevSig = &t;
    }
    if (cur.empty()) cur.reserve(all.size() - i);
    cur.push_back(t);
  }
  flush();
  return out;
}

// ---------------------------------------------------------------------------
// Rewriting one statement. Tokens are kept; rewrites are recorded as
// replacements and insertions around token positions and rendered at the end.

struct PercentLimit {
  std::size_t selectAt = 0;  // the SELECT whose rows are counted
  std::size_t innerEnd = 0;  // end of that query without its ORDER BY
  std::string num, den;      // the percentage as num/den
};

class Rewriter {
 public:
  Rewriter(Tokens t, Dialect d) : t_(std::move(t)), d_(d) {
    const std::size_t n = t_.size() + 1;
    slot_.resize(n);
    for (Slot& sl : slot_) sl.match = n;
    std::vector<std::size_t> stack;
    for (std::size_t i = 0; i < t_.size(); ++i) {
      if (t_[i].IsPunct("(")) stack.push_back(i);
      if (t_[i].IsPunct(")") && !stack.empty()) {
        slot_[i].match = stack.back();
        slot_[stack.back()].match = i;
        stack.pop_back();
      }
    }
  }

  std::string Run() {
    const std::size_t first = Next(0);
    if (first < t_.size()) {
      if (Transaction(first)) return transactionText_;
      if (t_[first].Is("SET")) {
        const std::size_t opt = Next(first + 1);
        if (opt < t_.size() &&
            (IsSessionOption(t_[opt]) || (d_ == Dialect::Sqlite && t_[opt].Is("TRANSACTION")))) {
          return {};
        }
      }
      if (t_[first].Is("DELETE")) DeleteWithoutFrom(first);
    }
    for (std::size_t i = 0; i < t_.size(); ++i) {
      const Token& tok = t_[i];
      switch (tok.kind) {
        case Tok::Bracket:
          Bracket(i);
          break;
        case Tok::Word:
          Word(i);
          break;
        case Tok::Punct:
          if (tok.IsPunct("(")) Hint(i, false);
          break;
        default:
          break;
      }
    }
    return Trim(Render(0, t_.size(), true));
  }

 private:
  std::size_t Next(std::size_t i) const { return NextSig(t_, i); }
  std::size_t Prev(std::size_t i) const {
    while (i > 0) {
      --i;
      if (t_[i].Significant()) return i;
    }
    return t_.size();
  }
  bool IsOpen(std::size_t i) const { return i < t_.size() && t_[i].IsPunct("("); }

  void DropRange(std::size_t from, std::size_t to) {  // [from, to]
    for (std::size_t k = from; k <= to && k < t_.size(); ++k) slot_[k].drop = true;
  }

  // BEGIN TRAN[SACTION] / COMMIT / ROLLBACK in their T-SQL forms.
  bool Transaction(std::size_t first) {
    const Token& w = t_[first];
    const std::size_t n = Next(first + 1);
    const bool tranWord = n < t_.size() && (t_[n].Is("TRAN") || t_[n].Is("TRANSACTION"));
    if (w.Is("BEGIN") && (tranWord || (n < t_.size() && t_[n].Is("DISTRIBUTED")))) {
      transactionText_ = d_ == Dialect::PostgreSql ? "BEGIN" : "BEGIN TRANSACTION";
      return true;
    }
    if (w.Is("COMMIT") || w.Is("ROLLBACK")) {
      if (n < t_.size() && !tranWord && !t_[n].Is("WORK")) return false;
      transactionText_ = w.Is("COMMIT") ? "COMMIT" : "ROLLBACK";
      return true;
    }
    return false;
  }

  // "DELETE table WHERE ..." needs FROM elsewhere; "DELETE alias FROM ..." is left.
  void DeleteWithoutFrom(std::size_t del) {
    const std::size_t n = Next(del + 1);
    if (n >= t_.size() || t_[n].Is("FROM") || t_[n].Is("TOP")) return;
    std::size_t k = n;
    while (k < t_.size()) {  // skip a dotted name
      const std::size_t dot = Next(k + 1);
      if (dot < t_.size() && t_[dot].IsPunct(".")) {
        k = Next(dot + 1);
        continue;
      }
      break;
    }
    const std::size_t after = Next(k + 1);
    if (after < t_.size() && t_[after].Is("FROM")) return;
    slot_[n].before += "FROM ";
  }

  void Bracket(std::size_t i) {
    std::string name = tsql::Unquote(t_[i]);
    // PostgreSQL folds unquoted names to lower case; SQL Server's are case-blind.
    if (d_ == Dialect::PostgreSql) name = Lower(name);
    std::string quoted = "\"";
    for (char c : name) {
      quoted += c;
      if (c == '"') quoted += '"';
    }
    slot_[i].replace = quoted + "\"";
    DropOwner(i);
  }

  // "dbo." before a name goes: the other engines have no owner.
  void DropOwner(std::size_t i) {
    if (Lower(tsql::Unquote(t_[i])) != "dbo") return;  // [dbo] too
    if (i + 1 < t_.size() && t_[i + 1].IsPunct(".")) {
      slot_[i].drop = slot_[i + 1].drop = true;
    }
  }

  void Word(std::size_t i) {
    const Token& w = t_[i];
    if (w.Is("DBO")) {
      DropOwner(i);
      return;
    }
    if (w.Is("N") && i + 1 < t_.size() && t_[i + 1].kind == Tok::String) {
      slot_[i].drop = true;  // N'...': the other engines store text as Unicode anyway
      return;
    }
    if (w.Is("WITH")) {
      const std::size_t n = Next(i + 1);
      if (IsOpen(n)) Hint(n, true, i);
      return;
    }
    if (w.Is("TOP")) {
      Top(i);
      return;
    }
    const std::size_t open = Next(i + 1);
    if (!IsOpen(open)) return;
    const std::size_t close = slot_[open].match;
    if (w.Is("LEN") && close < t_.size()) {
      // LEN ignores trailing blanks.
      slot_[i].replace = "LENGTH";
      DropRange(i + 1, open - 1);
      slot_[open].after += "RTRIM(";
      slot_[close].before += ")";
    } else if (w.Is("ISNULL")) {
      slot_[i].replace = "COALESCE";
    } else if (w.Is("GETDATE") && Next(open + 1) == close) {
      slot_[i].replace =
          d_ == Dialect::PostgreSql ? "LOCALTIMESTAMP(0)" : "datetime('now','localtime')";
      DropRange(i + 1, close);
    } else if ((w.Is("LTRIM") || w.Is("RTRIM")) && d_ == Dialect::Sqlite && close < t_.size()) {
      // SQL Server compares text without regard to case; the schema's index on
      // the trimmed code is declared COLLATE NOCASE to serve this comparison.
      std::size_t op = Next(close + 1);
      if (op < t_.size() && t_[op].Is("NOT")) op = Next(op + 1);
      if (op < t_.size() && (t_[op].IsPunct("=") || t_[op].IsPunct("<>") || t_[op].IsPunct("!=") ||
                             t_[op].Is("IN"))) {
        slot_[close].after += " COLLATE NOCASE";
      }
    }
  }

  // Table hints: WITH (NOLOCK, ...) or the old form (NOLOCK) after a table.
  void Hint(std::size_t open, bool withWord, std::size_t withAt = 0) {
    const std::size_t close = slot_[open].match;
    if (close >= t_.size()) return;
    bool any = false;
    for (std::size_t k = open + 1; k < close; ++k) {
      const Token& c = t_[k];
      if (!c.Significant() || c.IsPunct(",")) continue;
      if (!IsLockHint(c)) return;
      any = true;
    }
    if (!any) return;
    if (!withWord) {
      const std::size_t p = Prev(open);
      if (p >= t_.size() ||
          (t_[p].kind != Tok::Word && t_[p].kind != Tok::Bracket && t_[p].kind != Tok::DQuote)) {
        return;
      }
      if (t_[p].Is("WITH")) return;  // handled with its WITH
    }
    DropRange(withWord ? withAt : open, close);
    slot_[close].after += " ";
  }

  // TOP n [PERCENT] after SELECT [DISTINCT|ALL] becomes LIMIT at the end of that query.
  void Top(std::size_t top) {
    std::size_t sel = Prev(top);
    if (sel < t_.size() && (t_[sel].Is("DISTINCT") || t_[sel].Is("ALL"))) sel = Prev(sel);
    if (sel >= t_.size() || !t_[sel].Is("SELECT")) return;
    std::size_t n = Next(top + 1);
    if (n >= t_.size()) return;
    std::string count;
    std::size_t last = n;
    if (t_[n].kind == Tok::Number) {
      count = std::string(t_[n].text);
    } else if (IsOpen(n) && slot_[n].match < t_.size()) {
      last = slot_[n].match;
      count = "(" + Trim(Render(n + 1, last)) + ")";
    } else {
      return;
    }
    bool percent = false;
    std::size_t p = Next(last + 1);
    if (p < t_.size() && t_[p].Is("PERCENT")) {
      percent = true;
      last = p;
      p = Next(p + 1);
    }
    if (p < t_.size() && t_[p].Is("WITH")) {
      const std::size_t ties = Next(p + 1);
      if (ties < t_.size() && t_[ties].Is("TIES")) last = ties;
    }
    DropRange(top, last);
    slot_[last].after += " ";

    // End of the query: the parenthesis that encloses it, or the statement end.
    std::size_t end = t_.size();
    std::size_t orderAt = t_.size();
    int depth = 0;
    for (std::size_t k = last + 1; k < t_.size(); ++k) {
      if (t_[k].IsPunct("(")) ++depth;
      if (t_[k].IsPunct(")")) {
        if (depth == 0) {
          end = k;
          break;
        }
        --depth;
      }
      if (depth == 0 && t_[k].Is("ORDER") && orderAt == t_.size()) {
        const std::size_t by = Next(k + 1);
        if (by < t_.size() && t_[by].Is("BY")) orderAt = k;
      }
    }
    if (!percent) {
      slot_[end].before += " LIMIT " + count;
      return;
    }
    // TOP n PERCENT: the share of the query's rows, rounded up as SQL Server does.
    std::string digits = count;
    if (!digits.empty() && digits.front() == '(') return;  // expression percentages are rare
    std::string den = "1";
    const std::size_t dot = digits.find('.');
    if (dot != std::string::npos) {
      den += std::string(digits.size() - dot - 1, '0');
      digits.erase(dot, 1);
    }
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    const double share = std::stod(count);
    if (share >= 100) return;  // every row
    PercentLimit pl;
    pl.selectAt = sel;
    pl.innerEnd = std::min(orderAt, end);
    pl.num = digits;
    pl.den = den + "00";
    slot_[end].percent.push_back(pl);
  }

  // Tokens [from, to). The insertions in front of `to` belong to what ends
  // there, so only the whole statement (`tail`) renders those at its end.
  std::string Render(std::size_t from, std::size_t to, bool tail = false) const {
    std::string out;
    out.reserve(64 + 2 * static_cast<std::size_t>(to - from) * 4);
    for (std::size_t i = from; i < to; ++i) {
      out += slot_[i].before;
      for (const PercentLimit& pl : slot_[i].percent) out += PercentText(pl);
      if (!slot_[i].drop) out += slot_[i].replace ? *slot_[i].replace : t_[i].text;
      out += slot_[i].after;
    }
    if (tail) {
      out += slot_[to].before;
      for (const PercentLimit& pl : slot_[to].percent) out += PercentText(pl);
    }
    return out;
  }

  std::string PercentText(const PercentLimit& pl) const {
    const std::string num = pl.num, den = pl.den;
    return " LIMIT (SELECT (COUNT(*)*" + num + "+" + std::to_string(std::stoll(den) - 1) + ")/" +
           den + " FROM (" + Trim(Render(pl.selectAt, pl.innerEnd)) + ") AS ferolin_pct)";
  }

  Tokens t_;
  Dialect d_;
  // What happens at each token position (one past the end included).
  struct Slot {
    bool drop = false;
    std::optional<std::string> replace;
    std::string before, after;
    std::vector<PercentLimit> percent;
    std::size_t match = 0;  // the other parenthesis of a pair
  };
  std::vector<Slot> slot_;
  std::string transactionText_;
};

std::string Plain(const Tokens& t) {
  std::string out;
  for (const Token& k : t) out += k.text;
  return Trim(out);
}

bool OnlyNoise(const Tokens& t) {
  return std::none_of(t.begin(), t.end(), [](const Token& k) { return k.Significant(); });
}

}  // namespace

std::vector<std::string> AdaptBatch(const std::string& tsql, Dialect dialect) {
  std::vector<std::string> out;
  for (Tokens& stmt : Split(tsql::Lex(tsql))) {
    if (OnlyNoise(stmt)) continue;
    std::string text = dialect == Dialect::SqlServer || dialect == Dialect::Other
                           ? Plain(stmt)
                           : Rewriter(std::move(stmt), dialect).Run();
    if (!text.empty()) out.push_back(std::move(text));
  }
  return out;
}

}  // namespace ferolin::db
