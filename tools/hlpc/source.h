// The help source: a small line-oriented text format, UTF-8.
//
//   # ...               a comment (a '#' in the first column)
//   .WORD ...           a directive (a '.' in the first column):
//   .title TEXT         the help file's title; the viewer's window caption (required, once,
//                       at most 50 characters)
//   .copyright TEXT     a copyright line (optional, once)
//   .topic NAME TITLE   starts a topic. NAME is its context name (letters, digits, '_', '.';
//                       unique regardless of case), TITLE is shown as its heading.
//                       The first topic is the contents topic.
//   == TEXT             a subheading
//   - TEXT              a bullet item; the lines after it continue it
//   TEXT                body text; consecutive lines make one paragraph
//   an empty line       ends a paragraph
// Inside text:
//   [[NAME|TEXT]]       a jump to the topic NAME, shown as TEXT
//   **TEXT**            bold
//   a '\' ending a line keeps the line break instead of joining the next line with a blank
#ifndef HLPC_SOURCE_H
#define HLPC_SOURCE_H

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace hlpc {

// A mistake in the help source, at a line (1-based; 0 when it concerns the whole source).
class SourceError : public std::runtime_error {
 public:
  SourceError(int line, const std::string& message) : std::runtime_error(message), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

// Texts are Windows-1252 from here on.
struct Run {
  enum Kind { Text, LineBreak, Link } kind = Text;
  std::string text;
  bool bold = false;
  std::string target;  // Link: the context name
  int line = 0;
};

struct Paragraph {
  enum Style { Body, Subheading, Bullet } style = Body;
  std::vector<Run> runs;
  int line = 0;
};

struct Topic {
  std::string context;
  std::string title;
  std::vector<Paragraph> paragraphs;
  int line = 0;
};

struct Document {
  std::string title;
  std::string copyright;
  std::vector<Topic> topics;
};

constexpr std::size_t kMaxCaption = 50;
constexpr std::size_t kMaxTopicTitle = 255;

// Parses and checks a whole source (every jump must reach a topic). Throws SourceError.
Document parse_source(std::string_view source);

}  // namespace hlpc

#endif
