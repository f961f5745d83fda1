#include "hlpc/html.h"

#include <cctype>

#include "hlpc/cp1252.h"

namespace hlpc {
namespace {

// Windows-1252 text as UTF-8 with the characters HTML reserves escaped.
std::string text(const std::string& cp1252) {
  std::string out;
  for (char c : cp1252_to_utf8(cp1252)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

std::string runs(const std::vector<Run>& rs) {
  std::string out;
  for (const Run& r : rs) {
    std::string piece;
    if (r.kind == Run::LineBreak) {
      piece = "<br>\n";
    } else if (r.kind == Run::Link) {
      piece = "<a href=\"#" + section_id(r.target) + "\">" + text(r.text) + "</a>";
    } else {
      piece = text(r.text);
    }
    out += r.bold && r.kind != Run::LineBreak ? "<b>" + piece + "</b>" : piece;
  }
  return out;
}

void topic(std::string& out, const Topic& t, const Topic& contents) {
  out += "<section id=\"" + section_id(t.context) + "\">\n<h2>" + text(t.title) + "</h2>\n";
  bool in_list = false;
  for (const Paragraph& p : t.paragraphs) {
    if (p.style == Paragraph::Bullet && !in_list) out += "<ul>\n";
    if (p.style != Paragraph::Bullet && in_list) out += "</ul>\n";
    in_list = p.style == Paragraph::Bullet;
    switch (p.style) {
      case Paragraph::Subheading: out += "<h3>" + runs(p.runs) + "</h3>\n"; break;
      case Paragraph::Bullet: out += "<li>" + runs(p.runs) + "</li>\n"; break;
      case Paragraph::Body: out += "<p>" + runs(p.runs) + "</p>\n"; break;
    }
  }
  if (in_list) out += "</ul>\n";
  // The viewer's "Inhalt" button, as a link back to the contents.
  if (&t != &contents)
    out += "<p class=\"nav\"><a href=\"#" + section_id(contents.context) + "\">\xE2\x86\x91 " +
           text(contents.title) + "</a></p>\n";
  out += "</section>\n";
}

// The viewer's look: dark blue headings, green jumps.
constexpr const char* kStyle =
    "body { font-family: Arial, \"Liberation Sans\", sans-serif; max-width: 46em; margin: 1em auto;"
    " padding: 0 1em; line-height: 1.4; }\n"
    "h1, h2 { color: #000080; }\n"
    "h2 { border-top: 1px solid #c0c0c0; padding-top: 0.8em; margin-top: 1.6em; }\n"
    "a { color: #008000; }\n"
    "p.nav { font-size: smaller; }\n"
    "footer { color: #606060; font-size: smaller; margin-top: 2em; }\n";

}  // namespace

std::string section_id(const std::string& context) {
  std::string id = context;
  for (char& c : id) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return id;
}

std::string to_html(const Document& doc) {
  std::string title = text(doc.title);
  std::string out = "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + title +
                    "</title>\n<style>\n" + kStyle + "</style>\n</head>\n<body>\n<h1>" + title + "</h1>\n";
  for (const Topic& t : doc.topics) topic(out, t, doc.topics.front());
  if (!doc.copyright.empty()) out += "<footer>" + text(doc.copyright) + "</footer>\n";
  out += "</body>\n</html>\n";
  return out;
}

}  // namespace hlpc
