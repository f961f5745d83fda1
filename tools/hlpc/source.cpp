#include "hlpc/source.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "hlpc/cp1252.h"
#include "hlpc/hash.h"

namespace hlpc {
namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

bool starts_with(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

void check_context_name(std::string_view name, int line) {
  if (name.empty()) throw SourceError(line, "missing context name");
  for (char c : name)
    if (!is_context_char(c))
      throw SourceError(line, "context name '" + std::string(name) +
                                  "' may only hold letters, digits, '_' and '.'");
}

// A paragraph being collected: its text with '\n' for kept line breaks, and the source line
// of every character so that mistakes inside it are reported where they are.
struct Pending {
  bool open = false;
  Paragraph::Style style = Paragraph::Body;
  std::string text;
  std::vector<int> line_of;
  int line = 0;

  void append(std::string_view s, int line_no) {
    text.append(s);
    line_of.insert(line_of.end(), s.size(), line_no);
  }
};

class Parser {
 public:
  Document run(std::string_view source);

 private:
  void take_line(std::string_view raw, int n);
  void directive(std::string_view s, int n);
  void text(std::string_view s, int n, bool new_paragraph, Paragraph::Style style);
  void flush();
  std::vector<Run> runs_of(const Pending& p) const;
  void check_jumps() const;

  Document doc_;
  Pending pending_;
  int title_line_ = 0;
  int copyright_line_ = 0;
  std::map<std::int32_t, const Topic*> by_hash_;
};

Document Parser::run(std::string_view source) {
  if (starts_with(source, "\xEF\xBB\xBF")) source.remove_prefix(3);
  int n = 0;
  while (!source.empty() || n == 0) {
    std::size_t end = source.find('\n');
    std::string_view raw = source.substr(0, end);
    source.remove_prefix(end == std::string_view::npos ? source.size() : end + 1);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    take_line(raw, ++n);
  }
  flush();
  if (title_line_ == 0) throw SourceError(0, "the source has no .title line");
  if (doc_.topics.empty()) throw SourceError(0, "the source has no topic (.topic NAME TITLE)");
  check_jumps();
  return std::move(doc_);
}

void Parser::take_line(std::string_view raw, int n) {
  std::string utf8(raw);
  std::replace(utf8.begin(), utf8.end(), '\t', ' ');
  std::string line, problem;
  if (!utf8_to_cp1252(utf8, line, problem)) throw SourceError(n, problem);
  std::string_view s = trim(line);
  if (s.empty()) return flush();
  if (line[0] == '#') return;
  if (line[0] == '.') return directive(s, n);
  if (starts_with(s, "==")) {
    text(trim(s.substr(2)), n, true, Paragraph::Subheading);
    return flush();
  }
  if (s == "-" || starts_with(s, "- ")) return text(trim(s.substr(1)), n, true, Paragraph::Bullet);
  text(s, n, !pending_.open, Paragraph::Body);
}

void Parser::directive(std::string_view s, int n) {
  flush();
  std::size_t space = s.find(' ');
  std::string_view word = s.substr(0, space);
  std::string_view rest = space == std::string_view::npos ? std::string_view() : trim(s.substr(space));
  if (word == ".title") {
    if (title_line_) throw SourceError(n, ".title given twice (first in line " + std::to_string(title_line_) + ")");
    if (rest.empty()) throw SourceError(n, ".title needs a text");
    if (rest.size() > kMaxCaption)
      throw SourceError(n, ".title is longer than " + std::to_string(kMaxCaption) + " characters");
    doc_.title = rest;
    title_line_ = n;
  } else if (word == ".copyright") {
    if (copyright_line_)
      throw SourceError(n, ".copyright given twice (first in line " + std::to_string(copyright_line_) + ")");
    if (rest.empty()) throw SourceError(n, ".copyright needs a text");
    doc_.copyright = rest;
    copyright_line_ = n;
  } else if (word == ".topic") {
    std::size_t gap = rest.find(' ');
    std::string_view name = rest.substr(0, gap);
    std::string_view title = gap == std::string_view::npos ? std::string_view() : trim(rest.substr(gap));
    check_context_name(name, n);
    if (title.empty()) throw SourceError(n, ".topic needs a context name and a title");
    if (title.size() > kMaxTopicTitle)
      throw SourceError(n, "topic title is longer than " + std::to_string(kMaxTopicTitle) + " characters");
    std::int32_t hash = context_hash(name);
    if (hash == 0) throw SourceError(n, "context name '" + std::string(name) + "' hashes to 0, the contents' number");
    if (auto seen = by_hash_.find(hash); seen != by_hash_.end()) {
      const Topic& other = *seen->second;
      if (lower(other.context) == lower(name))
        throw SourceError(n, "context name '" + std::string(name) + "' is already used in line " +
                                 std::to_string(other.line));
      throw SourceError(n, "context name '" + std::string(name) + "' has the same hash as '" + other.context +
                               "' in line " + std::to_string(other.line));
    }
    doc_.topics.push_back(Topic{std::string(name), std::string(title), {}, n});
    // Topics are only appended from here on, so rebuild the pointers after a reallocation.
    by_hash_.clear();
    for (const Topic& t : doc_.topics) by_hash_[context_hash(t.context)] = &t;
  } else {
    throw SourceError(n, "unknown directive '" + std::string(word) + "'");
  }
}

void Parser::text(std::string_view s, int n, bool new_paragraph, Paragraph::Style style) {
  if (doc_.topics.empty()) throw SourceError(n, "text before the first .topic");
  if (new_paragraph) {
    flush();
    pending_.open = true;
    pending_.style = style;
    pending_.line = n;
  } else if (!pending_.text.empty() && pending_.text.back() != '\n') {
    pending_.append(" ", n);
  }
  bool keep_break = !s.empty() && s.back() == '\\';
  if (keep_break) s = trim(s.substr(0, s.size() - 1));
  pending_.append(s, n);
  if (keep_break) pending_.append("\n", n);
}

void Parser::flush() {
  if (!pending_.open) return;
  Paragraph p;
  p.style = pending_.style;
  p.line = pending_.line;
  p.runs = runs_of(pending_);
  bool visible = std::any_of(p.runs.begin(), p.runs.end(), [](const Run& r) { return !r.text.empty(); });
  if (!visible) throw SourceError(p.line, "empty paragraph");
  doc_.topics.back().paragraphs.push_back(std::move(p));
  pending_ = Pending{};
}

std::vector<Run> Parser::runs_of(const Pending& p) const {
  std::vector<Run> runs;
  bool bold = false;
  int bold_line = 0;
  auto plain = [&](std::size_t at) -> Run& {
    if (runs.empty() || runs.back().kind != Run::Text || runs.back().bold != bold) {
      runs.push_back(Run{Run::Text, "", bold, "", p.line_of[at]});
    }
    return runs.back();
  };
  const std::string& t = p.text;
  for (std::size_t i = 0; i < t.size();) {
    int line = p.line_of[i];
    if (t.compare(i, 2, "[[") == 0) {
      std::size_t close = t.find("]]", i + 2);
      if (close == std::string::npos) throw SourceError(line, "jump not closed: '[[' without ']]'");
      std::string_view inner(t.data() + i + 2, close - i - 2);
      std::size_t bar = inner.find('|');
      std::string_view name = trim(inner.substr(0, bar));
      std::string_view shown = bar == std::string_view::npos ? std::string_view() : trim(inner.substr(bar + 1));
      if (bar == std::string_view::npos || shown.empty())
        throw SourceError(line, "a jump reads [[NAME|TEXT]]");
      if (shown.find('\n') != std::string_view::npos)
        throw SourceError(line, "a jump's text cannot hold a line break");
      check_context_name(name, line);
      runs.push_back(Run{Run::Link, std::string(shown), bold, std::string(name), line});
      i = close + 2;
    } else if (t.compare(i, 2, "**") == 0) {
      bold = !bold;
      bold_line = line;
      i += 2;
    } else if (t[i] == '\n') {
      runs.push_back(Run{Run::LineBreak, "", bold, "", line});
      ++i;
    } else {
      plain(i).text.push_back(t[i]);
      ++i;
    }
  }
  if (bold) throw SourceError(bold_line, "bold text not closed: '**' without its closing '**'");
  return runs;
}

void Parser::check_jumps() const {
  std::map<std::string, int> names;
  for (const Topic& t : doc_.topics) names[lower(t.context)] = t.line;
  for (const Topic& t : doc_.topics)
    for (const Paragraph& p : t.paragraphs)
      for (const Run& r : p.runs)
        if (r.kind == Run::Link && !names.count(lower(r.target)))
          throw SourceError(r.line, "jump to unknown topic '" + r.target + "'");
}

}  // namespace

Document parse_source(std::string_view source) { return Parser().run(source); }

}  // namespace hlpc
