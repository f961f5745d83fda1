// The help compiler: its B+ trees and internal file system read back page by page, a compiled
// help file read back the way a viewer walks it, and the mistakes in a help source it reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "hlpc/btree.h"
#include "hlpc/container.h"
#include "hlpc/hash.h"
#include "hlpc/helpfile.h"
#include "hlpc/html.h"
#include "hlpc/source.h"
#include "hlpc/topic.h"

namespace {

using hlpc::Bytes;
using hlpc::BTreeEntry;

Bytes Strz(const std::string& s) {
  Bytes b(s.begin(), s.end());
  b.push_back(0);
  return b;
}

Bytes U32(std::uint32_t v) {
  Bytes b;
  hlpc::put_u32(b, v);
  return b;
}

std::uint32_t U32At(const Bytes& b, std::size_t at = 0) { return hlpc::ByteView(b).u32(at); }

// Entries in a scrambled but fixed order, so that the builder has to sort them.
std::vector<BTreeEntry> Scrambled(std::vector<BTreeEntry> e) {
  for (std::size_t i = 0; i < e.size(); ++i) std::swap(e[i], e[(i * 7919 + 13) % e.size()]);
  return e;
}

std::vector<BTreeEntry> Sorted(std::vector<BTreeEntry> e, char key_type) {
  std::sort(e.begin(), e.end(), [&](const BTreeEntry& a, const BTreeEntry& b) {
    return hlpc::compare_keys(key_type, a.key, b.key) < 0;
  });
  return e;
}

struct TreeCase {
  const char* what;
  std::string structure;
  std::uint16_t page_size;
  std::vector<BTreeEntry> entries;
  Bytes absent_key;  // a key between stored ones, not stored itself
  int min_levels;
};

std::vector<TreeCase> TreeCases() {
  std::vector<TreeCase> cases;
  std::vector<BTreeEntry> names, hashes, titles;
  for (int i = 0; i < 200; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "|file%03d", i * 2);
    names.push_back({Strz(name), U32(static_cast<std::uint32_t>(1000 + i))});
  }
  for (int i = -150; i < 150; ++i)  // negative keys must sort before positive ones
    hashes.push_back({U32(static_cast<std::uint32_t>(i * 100003)), U32(static_cast<std::uint32_t>(i + 500))});
  for (int i = 0; i < 100; ++i)
    titles.push_back({U32(static_cast<std::uint32_t>(i * 0x8000 + 7)), Strz("Thema " + std::to_string(i))});
  cases.push_back({"directory on one page", "z4", 1024, {names.begin(), names.begin() + 5}, Strz("|file001"), 1});
  cases.push_back({"directory on small pages", "z4", 64, names, Strz("|file101"), 3});
  cases.push_back({"signed hashes", "L4", 64, hashes, U32(100003 * 7 + 1), 3});
  cases.push_back({"offsets to titles", "Lz", 128, titles, U32(0x8000 * 50), 2});
  cases.push_back({"empty tree", "L4", 2048, {}, U32(1), 1});
  return cases;
}

TEST(BTree, RoundTripsThroughEveryLevel) {
  for (const TreeCase& c : TreeCases()) {
    SCOPED_TRACE(c.what);
    Bytes tree = hlpc::build_btree(c.structure, hlpc::kBTreeFlags, c.page_size, Scrambled(c.entries));
    hlpc::BTreeReader r{hlpc::ByteView(tree)};
    EXPECT_EQ(r.structure(), c.structure);
    EXPECT_EQ(r.page_size(), c.page_size);
    EXPECT_EQ(r.total_entries(), c.entries.size());
    EXPECT_GE(r.levels(), c.min_levels);
    EXPECT_EQ(tree.size(), hlpc::kBTreeHeaderSize + std::size_t(r.total_pages()) * c.page_size);

    std::vector<BTreeEntry> want = Sorted(c.entries, c.structure[0]);
    std::vector<BTreeEntry> got = r.entries();
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i)
      if (!(got[i] == want[i])) {
        ADD_FAILURE() << "entry " << i << " differs in the leaf chain";
        break;
      }
    // The order a viewer searches in: strings by strcmp, numbers as signed 32-bit values.
    for (std::size_t i = 1; i < got.size(); ++i) {
      hlpc::ByteView a(got[i - 1].key), b(got[i].key);
      bool ascending = c.structure[0] == 'z' ? a.strz(0) < b.strz(0) : a.i32(0) < b.i32(0);
      if (!ascending) {
        ADD_FAILURE() << "leaf entries " << i - 1 << " and " << i << " out of order";
        break;
      }
    }
    for (const BTreeEntry& e : want) {
      std::optional<Bytes> v = r.find(e.key);
      if (!v || *v != e.value) {
        ADD_FAILURE() << "key of entry with value " << U32At(e.value, 0) << " not found through the index";
        break;
      }
    }
    EXPECT_FALSE(r.find(c.absent_key));
  }
}

TEST(BTree, RefusesWhatItCannotStore) {
  auto build = [](std::vector<BTreeEntry> e, std::uint16_t page = 64) {
    return hlpc::build_btree("z4", hlpc::kBTreeFlags, page, std::move(e));
  };
  EXPECT_THROW(build({{Strz("a"), U32(1)}, {Strz("a"), U32(2)}}), std::invalid_argument);
  EXPECT_THROW(build({{Strz(std::string(60, 'x')), U32(1)}}), std::invalid_argument);
  EXPECT_THROW(build({{Bytes{'a'}, U32(1)}}), std::invalid_argument);          // no terminator
  EXPECT_THROW(build({{Strz("a"), Bytes{1, 2}}}), std::invalid_argument);       // short value
  EXPECT_NO_THROW(build({{Strz(std::string(51, 'x')), U32(1)}}));              // exactly a page
}

TEST(BTree, ReaderRejectsDamagedTrees) {
  std::vector<BTreeEntry> e;
  for (int i = 0; i < 40; ++i) e.push_back({Strz("name" + std::to_string(100 + i)), U32(i)});
  const Bytes good = hlpc::build_btree("z4", hlpc::kBTreeFlags, 64, e);
  const hlpc::BTreeReader probe{hlpc::ByteView(good)};
  ASSERT_GT(probe.levels(), 1);
  struct Damage {
    const char* what;
    std::size_t at;
    std::uint16_t value;
  };
  const std::size_t first_leaf = hlpc::kBTreeHeaderSize;
  const Damage damages[] = {
      {"magic", 0, 0x1234},
      {"root page past the end", 26, 500},
      {"no levels", 32, 0},
      {"leaf chain turning back on itself", first_leaf + 6, 0},
      {"entry count beyond the page", first_leaf + 2, 30},
  };
  for (const Damage& d : damages) {
    SCOPED_TRACE(d.what);
    Bytes bad = good;
    hlpc::set_u16(bad, d.at, d.value);
    EXPECT_THROW(
        {
          hlpc::BTreeReader r{hlpc::ByteView(bad)};
          r.entries();
        },
        hlpc::FormatError);
  }
  Bytes cut(good.begin(), good.end() - 1);
  EXPECT_THROW(hlpc::BTreeReader{hlpc::ByteView(cut)}, hlpc::FormatError);
}

TEST(Container, RoundTripsItsFiles) {
  hlpc::InternalFiles files;
  files["|SYSTEM"] = {0x6C, 0x03, 0, 0, 1};
  files["|empty"] = {};
  files["|zeros"] = Bytes(5000, 0);
  for (int i = 0; i < 60; ++i) files["|bm" + std::to_string(i)] = Bytes(std::size_t(i), std::uint8_t(i));
  for (std::uint16_t page : {hlpc::kDirectoryPageSize, std::uint16_t(128)}) {
    SCOPED_TRACE(page);
    Bytes help = hlpc::write_container(files, page);
    hlpc::ByteView v(help);
    EXPECT_EQ(v.u32(0), hlpc::kHelpMagic);
    EXPECT_EQ(v.u32(8), 0xFFFFFFFFu);  // no free list
    EXPECT_EQ(v.u32(12), help.size());
    hlpc::BTreeReader directory{v.sub(v.u32(4) + hlpc::kFileHeaderSize, v.u32(v.u32(4) + 4), "directory")};
    EXPECT_EQ(directory.levels() > 1, page == 128);
    EXPECT_EQ(hlpc::read_container(help), files);
  }
}

TEST(Container, ReaderRejectsDamagedFiles) {
  const Bytes good = hlpc::write_container({{"|A", Bytes(100, 1)}, {"|B", Bytes(10, 2)}});
  const std::uint32_t directory = hlpc::ByteView(good).u32(4);
  struct Damage {
    const char* what;
    std::size_t at;
    std::uint32_t value;
  };
  const Damage damages[] = {
      {"magic", 0, 0x00035F3E},
      {"file size", 12, std::uint32_t(good.size() + 1)},
      {"directory past the end", 4, std::uint32_t(good.size())},
      {"file bigger than its space", 16 + 4, 200},
      {"directory entry pointing past the end",
       directory + hlpc::kFileHeaderSize + hlpc::kBTreeHeaderSize + 8 + 3, std::uint32_t(good.size() - 4)},
  };
  for (const Damage& d : damages) {
    SCOPED_TRACE(d.what);
    Bytes bad = good;
    hlpc::set_u32(bad, d.at, d.value);
    EXPECT_THROW(hlpc::read_container(bad), hlpc::FormatError);
  }
}

// --- A compiled help file, read back --------------------------------------------------------

const char kSmallSource[] =
    "# a comment\n"
    ".title Hilfe – Test\n"
    ".copyright © Messtechnik Lindenau\n"
    "\n"
    ".topic start Übersicht\n"
    "Erste Zeile\n"
    "  und zweite.\n"
    "\n"
    "- Punkt mit [[Details.2|Sprung]] und **fett**\n"
    "weiter im Punkt\n"
    "== Unterüberschrift\n"
    "Eins\\\n"
    "Zwei\n"
    "\n"
    ".topic Details.2 Einzelheiten\n"
    "Zurück zur [[START|Übersicht]].\n";

struct Compiled {
  hlpc::Document doc;
  hlpc::InternalFiles files;
  std::vector<hlpc::ReadTopic> topics;
};

Compiled CompileAndRead(const std::string& source) {
  Compiled c;
  c.doc = hlpc::parse_source(source);
  c.files = hlpc::read_container(hlpc::compile(c.doc));
  c.topics = hlpc::read_topic_file(c.files.at("|TOPIC"));
  return c;
}

TEST(Compile, WritesTheTopicsAsAViewerWalksThem) {
  Compiled c = CompileAndRead(kSmallSource);
  ASSERT_EQ(c.topics.size(), 2u);
  const hlpc::ReadTopic& start = c.topics[0];
  EXPECT_EQ(start.title, "\xDC" "bersicht");
  EXPECT_EQ(start.offset, 0u);
  EXPECT_EQ(start.position, hlpc::kTopicBlockHeader);
  struct Para {
    std::string text;
    std::vector<std::int32_t> jumps;
    std::vector<unsigned> fonts;
  };
  const Para want[] = {
      {"\xDC" "bersicht", {}, {hlpc::kFontTitle}},
      {"Erste Zeile und zweite.", {}, {hlpc::kFontBody}},
      {"\x95\tPunkt mit Sprung und fett weiter im Punkt", {hlpc::context_hash("details.2")},
       {hlpc::kFontBody, hlpc::kFontBold, hlpc::kFontBody}},
      {"Unter\xFC" "berschrift", {}, {hlpc::kFontSubheading}},
      {"Eins\nZwei", {}, {hlpc::kFontBody}},
  };
  ASSERT_EQ(start.paragraphs.size(), std::size(want));
  for (std::size_t i = 0; i < std::size(want); ++i) {
    SCOPED_TRACE("paragraph " + std::to_string(i));
    EXPECT_EQ(start.paragraphs[i].text, want[i].text);
    EXPECT_EQ(start.paragraphs[i].jumps, want[i].jumps);
    EXPECT_EQ(start.paragraphs[i].fonts, want[i].fonts);
  }
  ASSERT_EQ(c.topics[1].paragraphs.size(), 2u);
  EXPECT_EQ(c.topics[1].paragraphs[1].text, "Zur\xFC" "ck zur \xDC" "bersicht.");
  EXPECT_EQ(c.topics[1].paragraphs[1].jumps, std::vector<std::int32_t>{hlpc::context_hash("start")});
  EXPECT_EQ(c.topics[1].number, 1u);
}

TEST(Compile, FindsEveryTopicByContextAndTitle) {
  Compiled c = CompileAndRead(kSmallSource);
  EXPECT_EQ((std::vector<std::string>{"|CONTEXT", "|FONT", "|SYSTEM", "|TOPIC", "|TTLBTREE"}),
            [&] {
              std::vector<std::string> names;
              for (const auto& f : c.files) names.push_back(f.first);
              return names;
            }());
  hlpc::BTreeReader context{hlpc::ByteView(c.files.at("|CONTEXT"))};
  hlpc::BTreeReader titles{hlpc::ByteView(c.files.at("|TTLBTREE"))};
  EXPECT_EQ(context.structure(), "L4");
  EXPECT_EQ(titles.structure(), "Lz");
  for (std::size_t i = 0; i < c.doc.topics.size(); ++i) {
    SCOPED_TRACE(c.doc.topics[i].context);
    std::optional<Bytes> offset = context.find(U32(std::uint32_t(hlpc::context_hash(c.doc.topics[i].context))));
    ASSERT_TRUE(offset);
    EXPECT_EQ(U32At(*offset), c.topics[i].offset);
    std::optional<Bytes> title = titles.find(*offset);
    ASSERT_TRUE(title);
    EXPECT_EQ(hlpc::ByteView(*title).strz(0), c.topics[i].title);
  }

  // |SYSTEM: version 3.1 with LZ77-framed 4 KB blocks, then title, copyright, contents, window.
  hlpc::ByteView sys(c.files.at("|SYSTEM"));
  EXPECT_EQ(sys.u16(0), hlpc::kSystemMagic);
  EXPECT_EQ(sys.u16(2), hlpc::kVersion31);
  EXPECT_EQ(sys.u16(4), 1);
  EXPECT_EQ(sys.u16(10), hlpc::kSystemLz77Blocks4k);
  std::vector<std::pair<unsigned, Bytes>> records;
  for (std::size_t at = 12; at < sys.size(); at += 4 + sys.u16(at + 2))
    records.emplace_back(sys.u16(at), sys.copy(at + 4, sys.u16(at + 2)));
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0], std::make_pair(1u, Strz("Hilfe \x96 Test")));
  EXPECT_EQ(records[1], std::make_pair(2u, Strz("\xA9 Messtechnik Lindenau")));
  EXPECT_EQ(records[2], std::make_pair(3u, U32(c.topics[0].offset)));
  ASSERT_EQ(records[3].first, 6u);
  ASSERT_EQ(records[3].second.size(), 90u);
  hlpc::ByteView window(records[3].second);
  EXPECT_EQ(window.strz(12), "main");
  EXPECT_EQ(window.strz(21), "Hilfe \x96 Test");

  EXPECT_EQ(hlpc::compile(c.doc), hlpc::compile(hlpc::parse_source(kSmallSource)));  // reproducible
}

TEST(Compile, LongTopicsRunAcrossTopicBlocks) {
  std::string source = ".title Lang\n";
  for (int t = 0; t < 6; ++t) {
    source += ".topic t" + std::to_string(t) + " Thema " + std::to_string(t) + "\n";
    for (int p = 0; p < 12; ++p)
      source += "Absatz " + std::to_string(p) + " von Thema " + std::to_string(t) + ": " +
                std::string(std::size_t(40 + 37 * p), 'a' + char(p)) + " [[t" + std::to_string((t + 1) % 6) +
                "|weiter]]\n\n";
  }
  Compiled c = CompileAndRead(source);
  const Bytes& topic = c.files.at("|TOPIC");
  EXPECT_EQ(topic.size() % hlpc::kTopicBlockSize, 0u);
  EXPECT_GE(topic.size() / hlpc::kTopicBlockSize, 4u);
  ASSERT_EQ(c.topics.size(), 6u);
  hlpc::BTreeReader context{hlpc::ByteView(c.files.at("|CONTEXT"))};
  std::uint32_t last_block = 0;
  for (std::size_t t = 0; t < 6; ++t) {
    SCOPED_TRACE("topic " + std::to_string(t));
    EXPECT_EQ(c.topics[t].title, "Thema " + std::to_string(t));
    ASSERT_EQ(c.topics[t].paragraphs.size(), 13u);
    for (int p = 0; p < 12; ++p)
      EXPECT_EQ(c.topics[t].paragraphs[std::size_t(p) + 1].text.substr(0, 20),
                ("Absatz " + std::to_string(p) + " von Thema " + std::to_string(t) + ": ").substr(0, 20));
    EXPECT_EQ(U32At(*context.find(U32(std::uint32_t(hlpc::context_hash("t" + std::to_string(t)))))),
              c.topics[t].offset);
    last_block = c.topics[t].offset / 0x8000;
  }
  EXPECT_GE(last_block, 2u);  // the later topics do start in later blocks
}

std::string ReadPikonHelp() {
  std::string here = __FILE__;
  std::ifstream in(here.substr(0, here.rfind('/')) + "/../resources/pikon_help.txt", std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(Compile, PikonHelpOpensOnItsContentsWithAJumpToEveryTopic) {
  std::string source = ReadPikonHelp();
  ASSERT_FALSE(source.empty());
  Compiled c = CompileAndRead(source);
  ASSERT_GE(c.topics.size(), 5u);
  EXPECT_EQ(c.doc.title, "PIKON \x96 Kurzbeschreibung");
  EXPECT_EQ(c.doc.topics[0].context, "inhalt");
  std::vector<std::int32_t> jumps;
  for (const auto& p : c.topics[0].paragraphs) jumps.insert(jumps.end(), p.jumps.begin(), p.jumps.end());
  for (std::size_t t = 1; t < c.doc.topics.size(); ++t)
    EXPECT_NE(std::find(jumps.begin(), jumps.end(), hlpc::context_hash(c.doc.topics[t].context)), jumps.end())
        << "the contents do not lead to " << c.doc.topics[t].context;
}

// --- Mistakes in a help source ------------------------------------------------------------------

TEST(Source, ReportsEachMistakeAtItsLine) {
  const std::string head = ".title T\n.topic a A\n";  // lines 1 and 2
  struct Case {
    const char* what;
    std::string source;
    int line;
    std::string message;
  };
  const Case cases[] = {
      {"unknown directive", head + "text\n.titel X\n", 4, "unknown directive '.titel'"},
      {"text before any topic", ".title T\n\nHallo\n", 3, "text before the first .topic"},
      {"title twice", head + ".title U\n", 3, ".title given twice (first in line 1)"},
      {"title too long", ".title " + std::string(51, 'x') + "\n", 1, "longer than 50"},
      {"topic without title", head + ".topic b\n", 3, "needs a context name and a title"},
      {"bad context name", head + ".topic a-b Titel\n", 3, "context name 'a-b' may only hold"},
      {"same name in other case", head + "x\n.topic A Zwei\n", 4, "'A' is already used in line 2"},
      {"jump to a missing topic", head + "eins\nzwei [[nirgends|hin]]\n", 4, "jump to unknown topic 'nirgends'"},
      {"jump not closed", head + "eins [[a|hin\nweiter\n", 3, "'[[' without ']]'"},
      {"jump without text", head + "\n\nsiehe [[a]]\n", 5, "a jump reads [[NAME|TEXT]]"},
      {"bold not closed", head + "eins\nzwei **fett\ndrei\n", 4, "'**' without its closing '**'"},
      {"character outside Windows-1252", head + "Pfeil \xE2\x86\x92 hier\n", 3, "U+2192 is not in"},
      {"broken UTF-8", head + "ok\nka\xC3(putt\n", 4, "invalid UTF-8"},
      {"empty bullet", head + "-\n", 3, "empty paragraph"},
      {"no title at all", ".topic a A\nx\n", 0, "no .title"},
      {"no topic at all", ".title T\n", 0, "no topic"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    try {
      hlpc::parse_source(c.source);
      ADD_FAILURE() << "case " << i << " (" << c.what << "): accepted";
      return;
    } catch (const hlpc::SourceError& e) {
      if (e.line() != c.line || std::string(e.what()).find(c.message) == std::string::npos) {
        ADD_FAILURE() << "case " << i << " (" << c.what << "): got line " << e.line() << " \"" << e.what()
                      << "\", want line " << c.line << " with \"" << c.message << "\"";
        return;
      }
    }
  }
}

TEST(Source, ReadsWindowsLineEndsBomAndTabsAsPlainText) {
  hlpc::Document d = hlpc::parse_source(
      "\xEF\xBB\xBF.title T\r\n.topic a A\r\n\tGr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xE2\x80\x9Equote\xE2\x80\x9C\r\n");
  ASSERT_EQ(d.topics.size(), 1u);
  ASSERT_EQ(d.topics[0].paragraphs.size(), 1u);
  ASSERT_EQ(d.topics[0].paragraphs[0].runs.size(), 1u);
  EXPECT_EQ(d.topics[0].paragraphs[0].runs[0].text, "Gr\xFC\xDF" "e \x80 \x84quote\x93");
}

// --- The same help as one HTML page -------------------------------------------------------------

TEST(Html, WritesEachPieceOfTheSourceAsItsElement) {
  hlpc::Document d = hlpc::parse_source(
      ".title Hilfe \xE2\x80\x93 Test\n.copyright \xC2\xA9 Wir\n"
      ".topic Start Inhalt & mehr\n"
      "Vor **fett** nach <b> \"x\" [[Zweit|zum Zweiten]].\n\n"
      "- eins\n- **zwei** [[start|zur\xC3\xBC" "ck]]\n"
      "== Unter\xC3\xBC" "berschrift\n"
      "Zeile eins\\\nZeile zwei \xE2\x82\xAC\n"
      ".topic zweit Zweites\nText\n");
  std::string html = hlpc::to_html(d);
  const char* pieces[] = {
      "<meta charset=\"utf-8\">",
      "<title>Hilfe \xE2\x80\x93 Test</title>",
      "<section id=\"start\">\n<h2>Inhalt &amp; mehr</h2>\n",
      // markup characters of the text are text; a jump's target matches regardless of case
      "<p>Vor <b>fett</b> nach &lt;b&gt; &quot;x&quot; <a href=\"#zweit\">zum Zweiten</a>.</p>\n",
      "<ul>\n<li>eins</li>\n<li><b>zwei</b> <a href=\"#start\">zur\xC3\xBC" "ck</a></li>\n</ul>\n"
      "<h3>Unter\xC3\xBC" "berschrift</h3>\n",
      "<p>Zeile eins<br>\nZeile zwei \xE2\x82\xAC</p>\n",
      // every topic but the contents leads back to them, as the viewer's "Inhalt" button does
      "<section id=\"zweit\">\n<h2>Zweites</h2>\n<p>Text</p>\n"
      "<p class=\"nav\"><a href=\"#start\">\xE2\x86\x91 Inhalt &amp; mehr</a></p>\n</section>",
      "<footer>\xC2\xA9 Wir</footer>",
  };
  for (const char* piece : pieces) EXPECT_NE(html.find(piece), std::string::npos) << "missing: " << piece;
  EXPECT_EQ(html.find("class=\"nav\""), html.rfind("class=\"nav\"")) << "the contents link back to themselves";
}

TEST(Html, PikonHelpHasASectionPerTopicAndEveryJumpArrives) {
  std::string source = ReadPikonHelp();
  hlpc::Document d = hlpc::parse_source(source);
  std::string html = hlpc::to_html(d);

  std::set<std::string> ids;
  const std::regex id_re("<section id=\"([^\"]*)\">");
  for (auto m = std::sregex_iterator(html.begin(), html.end(), id_re); m != std::sregex_iterator(); ++m)
    EXPECT_TRUE(ids.insert((*m)[1]).second) << "two sections " << (*m)[1];
  EXPECT_EQ(ids.size(), d.topics.size());

  std::map<std::string, int> jumps;
  const std::regex href_re("<a href=\"([^\"]*)\">");
  for (auto m = std::sregex_iterator(html.begin(), html.end(), href_re); m != std::sregex_iterator(); ++m) {
    std::string href = (*m)[1];
    ASSERT_EQ(href.substr(0, 1), "#") << href << " leads out of the page";
    EXPECT_TRUE(ids.count(href.substr(1))) << href << " has no section";
    ++jumps[href.substr(1)];
  }
  for (std::size_t t = 1; t < d.topics.size(); ++t)
    EXPECT_GT(jumps[hlpc::section_id(d.topics[t].context)], 0) << "nothing leads to " << d.topics[t].context;

  // The text itself, umlauts and all, is the source's (which is UTF-8 too).
  for (const char* text : {"<h2>Das Modul anschlie\xC3\x9F" "en</h2>", "Ger\xC3\xA4te-Manager",
                           "\xE2\x80\x9E" "Datens\xC3\xA4tze\xE2\x80\x9C",
                           "<title>PIKON \xE2\x80\x93 Kurzbeschreibung</title>"})
    EXPECT_NE(html.find(text), std::string::npos) << "missing: " << text;
}

}  // namespace
