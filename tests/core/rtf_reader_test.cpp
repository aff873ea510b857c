#include "rtf/rtf_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace movarek {
namespace {

// The document's text with a "\n" between paragraphs.
std::string plainText(const RtfDocument& document) {
  std::string text;
  for (std::size_t i = 0; i < document.paragraphs.size(); ++i) {
    if (i > 0) text += '\n';
    for (const auto& run : document.paragraphs[i].runs) text += run.text;
  }
  return text;
}

std::vector<RtfRun> allRuns(const RtfDocument& document) {
  std::vector<RtfRun> runs;
  for (const auto& paragraph : document.paragraphs) {
    runs.insert(runs.end(), paragraph.runs.begin(), paragraph.runs.end());
  }
  return runs;
}

struct TextCase {
  const char* what;
  std::string rtf;
  std::string text;
};

TEST(RtfReader, ReadsTheTextOfTheDocument) {
  const TextCase cases[] = {
      {"Czech letters as code page 1250 bytes",
       R"({\rtf1\ansi\ansicpg1250 P\'f8\'edli\'9a \'9elu\'9dou\'e8k\'fd k\'f9\'f2 \'da\'ec\'c8})",
       "Příliš žluťoučký kůň ÚěČ"},
      {"bytes of a font with the Central European character set",
       R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fcharset238 Arial;}{\f1\fcharset0 Arial;}})"
       R"(\f0\'e8\f1\'e8})",
       "čè"},
      {"bytes without a code page are Western", R"({\rtf1\ansi \'e8\'e9})", "èé"},
      {"the Western code page's quotes, dashes and euro sign",
       R"({\rtf1\ansi\ansicpg1252 \'93a\'94 \'96 \'97 \'80 \'85 \'91b\'92})",
       "\u201Ca\u201D \u2013 \u2014 \u20AC \u2026 \u2018b\u2019"},
      {"a Western font in a Central European document",
       R"({\rtf1\ansi\ansicpg1250{\fonttbl{\f0\fcharset0 Arial;}{\f1\fcharset238 Arial;}})"
       R"(\f0\'93\'80\'9a\f1\'9a})",
       "\u201C\u20AC\u0161\u0161"},
      {"unescaped code page bytes", "{\\rtf1\\ansicpg1250 \xe8\xed}", "čí"},
      {"Unicode characters skip their one-character fallback",
       R"({\rtf1\ansicpg1250 \u345?\u237 ?\u269\'e8!})", "říč!"},
      {"a wider fallback", R"({\rtf1\uc2\u382 ??\u353 \'9a\'9ax})", "žšx"},
      {"no fallback", R"({\rtf1\uc0\u269\u345 x})", "čřx"},
      {"the fallback ends with its group", R"({\rtf1{\uc3\u269 a}b})", "čb"},
      {"negative values and surrogate pairs", R"({\rtf1\u-3913?\u-10179?\u-8704?})",
       "\uF0B7\U0001F600"},
      {"escaped braces and backslashes", R"({\rtf1 a\{b\}c\\d})", "a{b}c\\d"},
      {"tabs, line breaks and paragraphs", "{\\rtf1 a\\tab b\\line c\\par\r\nd\\par}",
       "a\tb\nc\nd"},
      {"empty paragraphs stay as empty lines", R"({\rtf1\par\par a\par})", "\n\na"},
      {"named characters", R"({\rtf1 \ldblquote a\rdblquote\~\endash\~b})",
       "\u201Ca\u201D\u00A0\u2013\u00A0b"},
      {"unknown control words show nothing", R"({\rtf1\foo12 A\bar B\zzz-4 C})", "ABC"},
      {"skipped destinations leave no text",
       R"({\rtf1{\*\generator Riched20 10.0;}{\info{\title Titulek}{\author X}})"
       R"({\stylesheet{\s0 Normal;}}{\fonttbl{\f0 Arial;}}{\colortbl;\red1\green2\blue3;})"
       R"({\pict\pngblip\bin4 {}{}89504e47}{\*\unknown {\b nested}}A{\header head}B})",
       "AB"},
      {"binary data is skipped by its length", "{\\rtf1{\\*\\blip\\bin3 }}}x}y}", "y"},
      {"what follows the document is not read", R"({\rtf1 a}b)", "a"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(plainText(parseRtf(c.rtf)), c.text) << c.what;
  }
}

struct Styled {
  std::string text;
  bool bold;
  bool italic;
  bool underline;
};

TEST(RtfReader, CharacterFormatsFollowTheGroups) {
  const auto runs =
      allRuns(parseRtf(R"({\rtf1 a{\b b{\i c}d}e\b f\b0 g{\i\ul h\ul0 i\ul j\ulnone k}\plain l})"));
  const std::vector<Styled> expected = {
      {"a", false, false, false}, {"b", true, false, false},  {"c", true, true, false},
      {"d", true, false, false},  {"e", false, false, false}, {"f", true, false, false},
      {"g", false, false, false}, {"h", false, true, true},   {"i", false, true, false},
      {"j", false, true, true},   {"k", false, true, false},  {"l", false, false, false},
  };
  ASSERT_EQ(runs.size(), expected.size());
  for (std::size_t i = 0; i < runs.size(); ++i) {
    EXPECT_EQ(runs[i].text, expected[i].text);
    EXPECT_EQ(runs[i].format.bold, expected[i].bold) << runs[i].text;
    EXPECT_EQ(runs[i].format.italic, expected[i].italic) << runs[i].text;
    EXPECT_EQ(runs[i].format.underline, expected[i].underline) << runs[i].text;
  }
}

TEST(RtfReader, FontsAndColoursComeFromTheirTables) {
  const auto runs = allRuns(
      parseRtf(R"({\rtf1\ansi\ansicpg1250\deff0{\fonttbl{\f0\fswiss\fcharset238 Arial;})"
               R"({\f1\froman\fcharset238{\*\panose 02020603050405020304}Times New Roman;}})"
               R"({\colortbl ;\red255\green0\blue0;\red0\green128\blue0;})"
               R"(a\f1\fs32\cf2 b\cf1 c\cf0 d\cf7 e\plain f})"));
  const RtfColour green{0, 128, 0};
  const RtfColour red{255, 0, 0};
  struct Expected {
    std::string text;
    std::string font;
    int halfPoints;
    std::optional<RtfColour> colour;
  };
  const std::vector<Expected> expected = {
      {"a", "Arial", 24, std::nullopt},
      {"b", "Times New Roman", 32, green},
      {"c", "Times New Roman", 32, red},
      {"de", "Times New Roman", 32, std::nullopt},  // entry 0 and a missing entry: no colour
      {"f", "Arial", 24, std::nullopt},
  };
  ASSERT_EQ(runs.size(), expected.size());
  for (std::size_t i = 0; i < runs.size(); ++i) {
    EXPECT_EQ(runs[i].text, expected[i].text);
    EXPECT_EQ(runs[i].format.fontName, expected[i].font) << runs[i].text;
    EXPECT_EQ(runs[i].format.halfPoints, expected[i].halfPoints) << runs[i].text;
    EXPECT_EQ(runs[i].format.colour, expected[i].colour) << runs[i].text;
  }
}

TEST(RtfReader, ParagraphsTakeTheAlignmentAndIndentInForceAtTheirEnd) {
  const auto document = parseRtf(
      R"({\rtf1\pard\qc a\par\li720 b\par{\qr c\par}d\par\pard e\par\li-50 f\par\li99999 g})");
  struct Expected {
    RtfAlignment alignment;
    int indent;
  };
  const std::vector<Expected> expected = {
      {RtfAlignment::Centre, 0},   {RtfAlignment::Centre, 720}, {RtfAlignment::Right, 720},
      {RtfAlignment::Centre, 720}, {RtfAlignment::Left, 0},     {RtfAlignment::Left, 0},
      {RtfAlignment::Left, 20000},
  };
  ASSERT_EQ(document.paragraphs.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(document.paragraphs[i].alignment, expected[i].alignment) << i;
    EXPECT_EQ(document.paragraphs[i].leftIndentTwips, expected[i].indent) << i;
  }
}

TEST(RtfReader, DamagedFilesStillGiveADocument) {
  const std::string deep(10000, '{');
  const std::string deepEnd(10000, '}');
  const TextCase cases[] = {
      {"unclosed groups", R"({\rtf1 a{\b b{{{)", "ab"},
      {"extra closing braces", "}}}}a", ""},
      {"10 000 nested groups", "{\\rtf1 " + deep + "\\b a" + deepEnd + "b}", "ab"},
      {"cut inside a control word", R"({\rtf1 Hello\pa)", "Hello"},
      {"cut after a backslash", "{\\rtf1 Hello\\", "Hello"},
      {"cut inside a byte escape", R"({\rtf1\ansicpg1250 a\'e)", "a"},
      {"a broken byte escape", R"({\rtf1 a\'zzb})", "azzb"},
      {"cut inside binary data", "{\\rtf1 a\\bin999999 xyz", "a"},
      {"a huge parameter", R"({\rtf1\fs99999999999999999999\li-99999999999999 x\u99999999999 ?y})",
       "xy"},
      {"a lone surrogate", R"({\rtf1\u-10179?x\u-8704?})", "\uFFFDx\uFFFD"},
      {"nothing", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(plainText(parseRtf(c.rtf)), c.text) << c.what;
  }
  const auto deepRuns = allRuns(parseRtf("{\\rtf1 " + deep + "\\b a" + deepEnd + "b}"));
  ASSERT_EQ(deepRuns.size(), 2u);
  EXPECT_TRUE(deepRuns[0].format.bold);
  EXPECT_FALSE(deepRuns[1].format.bold);
}

TEST(RtfReader, BinaryGarbageEndsWithNoMoreTextThanItHolds) {
  std::mt19937 random(20240607);
  std::string garbage(1 << 20, '\0');
  const std::string alphabet = "{}\\'*abu0123456789- ;\xe8";
  for (auto& byte : garbage) {
    byte = random() % 2 ? alphabet[random() % alphabet.size()] : static_cast<char>(random());
  }
  // Deep enough that no stray closing brace ends the document before the garbage does.
  const auto document = parseRtf(std::string(100000, '{') + "\\rtf1 " + garbage);
  EXPECT_LE(plainText(document).size(), 4 * garbage.size());
}

TEST(RtfReader, AnUnendedFontNameDoesNotMultiplyWithEveryRun) {
  // The font table lacks its ";": all that follows in the table would be the font's name,
  // copied into each of the runs that follow.
  std::string rtf = "{\\rtf1{\\fonttbl{\\f0 " + std::string(1000, 'A') + "}}\\f0 ";
  for (int i = 0; i < 100; ++i) rtf += "\\b a\\b0 a";
  const auto runs = allRuns(parseRtf(rtf));
  ASSERT_FALSE(runs.empty());
  for (const auto& run : runs) EXPECT_EQ(run.format.fontName, std::string(31, 'A'));
}

}  // namespace
}  // namespace movarek
