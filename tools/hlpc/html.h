// The same help as one HTML page, for readers without a WinHelp viewer (Windows Vista and later
// ship none): each topic a section, each jump a link to its section, UTF-8.
#ifndef HLPC_HTML_H
#define HLPC_HTML_H

#include <string>

#include "hlpc/source.h"

namespace hlpc {

// The section id of a topic: its context name in lower case, as jumps match names regardless
// of case.
std::string section_id(const std::string& context);

// A whole HTML document, UTF-8, from a parsed source (whose texts are Windows-1252).
std::string to_html(const Document& doc);

}  // namespace hlpc

#endif
