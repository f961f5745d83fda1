// hlpc SOURCE OUTPUT.HLP [OUTPUT.html]: compiles a help source (see source.h) into a WinHelp 3.1
// file and, if asked, into one HTML page as well.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string_view>

#include "hlpc/helpfile.h"
#include "hlpc/html.h"
#include "hlpc/source.h"

namespace {

bool read_file(const char* path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  out = s.str();
  return !in.bad();
}

// Writes beside the target and renames, so a failed run never leaves half a help file.
bool write_file(const std::string& path, std::string_view data) {
  std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    if (!out.flush()) return false;
  }
  return std::rename(temp.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::cerr << "usage: hlpc SOURCE OUTPUT.HLP [OUTPUT.html]\n";
    return 2;
  }
  std::string source;
  if (!read_file(argv[1], source)) {
    std::cerr << argv[1] << ": error: cannot read the file\n";
    return 1;
  }
  try {
    hlpc::Document doc = hlpc::parse_source(source);
    hlpc::Bytes help = hlpc::compile(doc);
    if (!write_file(argv[2], std::string_view(reinterpret_cast<const char*>(help.data()), help.size()))) {
      std::cerr << argv[2] << ": error: cannot write the file\n";
      return 1;
    }
    if (argc == 4 && !write_file(argv[3], hlpc::to_html(doc))) {
      std::cerr << argv[3] << ": error: cannot write the file\n";
      return 1;
    }
  } catch (const hlpc::SourceError& e) {
    std::cerr << argv[1];
    if (e.line() > 0) std::cerr << ':' << e.line();
    std::cerr << ": error: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
