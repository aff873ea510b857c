#pragma once
// The least RTF reader that shows a help document well: its text, the character formats that
// come from the font and colour tables, and the alignment and left indent of its paragraphs.
// Everything else in the file (pictures, style sheets, document information, unknown control
// words) is left out. Any input gives a document: a damaged or foreign file never crashes,
// hangs or makes the reader grow beyond a size proportional to the file.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace movarek {

enum class RtfAlignment { Left, Centre, Right };

struct RtfColour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const RtfColour&) const = default;
};

inline constexpr int kRtfDefaultHalfPoints = 24;

struct RtfCharFormat {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int halfPoints = kRtfDefaultHalfPoints;
  std::string fontName;             // empty: the viewer's own font
  std::optional<RtfColour> colour;  // none: the viewer's own text colour
  bool operator==(const RtfCharFormat&) const = default;
};

struct RtfRun {
  RtfCharFormat format;
  // UTF-8; "\n" breaks the line inside the paragraph, "\t" is a tab.
  std::string text;
};

struct RtfParagraph {
  RtfAlignment alignment = RtfAlignment::Left;
  int leftIndentTwips = 0;
  std::vector<RtfRun> runs;  // an empty paragraph is an empty line
};

struct RtfDocument {
  std::vector<RtfParagraph> paragraphs;
};

RtfDocument parseRtf(std::string_view bytes);

}  // namespace movarek
