#include "rtf/rtf_reader.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <map>

#include "common/cp1250.h"
#include "common/cp1252.h"
#include "common/utf8.h"
#include "rtf/rtf_character_words.h"
#include "rtf/rtf_scanner.h"

namespace movarek {
namespace {

// Groups deeper than this still count, so that the braces stay matched, but they share the
// state of the deepest saved group: endless "{" cost no memory.
constexpr std::size_t kMaxSavedGroups = 100;
constexpr int kMaxIndentTwips = 20000;
constexpr int kMaxUnicodeSkip = 16;
constexpr int kMaxColourComponent = 255;
// The system's font names are at most 31 characters long. A longer one names no font, and
// every run of text in that font carries a copy of it: a file with an unended name would make
// the document grow with the square of the file's size.
constexpr std::size_t kLongestFontName = 31;

constexpr int kCharsetAnsi = 0;  // Western: code page 1252
constexpr int kCharsetEastEurope = 238;
constexpr int kCodePageCentralEurope = 1250;
constexpr int kCodePageWestern = 1252;

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr char32_t kLastCodePoint = 0x10FFFF;

// Groups whose text is not part of the document's body.
constexpr std::array<std::string_view, 13> kSkippedDestinations = {
    "pict",    "stylesheet", "info",    "object",  "header",  "headerl", "headerr",
    "headerf", "footer",     "footerl", "footerr", "footerf", "footnote"};

struct NamedCharacter {
  std::string_view word;
  std::string_view utf8;
};

constexpr std::array<NamedCharacter, 9> kNamedCharacters = {{
    {"emdash", "\u2014"},
    {"endash", "\u2013"},
    {"bullet", "\u2022"},
    {"lquote", "\u2018"},
    {"rquote", "\u2019"},
    {"ldblquote", "\u201C"},
    {"rdblquote", "\u201D"},
    {"emspace", "\u2003"},
    {"enspace", "\u2002"},
}};

enum class Destination { Text, FontTable, ColourTable, Skipped };

// What a group saves on "{" and gets back on "}".
struct GroupState {
  Destination destination = Destination::Text;
  CharacterState character;
  RtfAlignment alignment = RtfAlignment::Left;
  int leftIndentTwips = 0;
  int unicodeSkip = 1;
};

struct FontEntry {
  std::string nameBytes;  // in the font's own code page
  int charset = kRtfNoIndex;
  bool nameComplete = false;  // a ";" ended the name
};

// Every other code page is read as the Western one, which most documents outside Central
// Europe are written in.
std::string decodeBytes(std::string_view bytes, bool centralEuropean) {
  return centralEuropean ? cp1250ToUtf8(bytes) : cp1252ToUtf8(bytes);
}

class RtfParser {
 public:
  explicit RtfParser(std::string_view input) : input_(input) {}

  RtfDocument parse() {
    while (!input_.atEnd()) {
      const char c = input_.take();
      if (c == '{') {
        fallbackLeft_ = 0;
        openGroup();
      } else if (c == '}') {
        fallbackLeft_ = 0;
        if (!closeGroup()) break;
      } else if (c == '\\') {
        readControl();
      } else if (c != '\r' && c != '\n' && !skippedAsFallback()) {
        textByte(static_cast<unsigned char>(c));
      }
    }
    if (!paragraph_.runs.empty()) endParagraph();
    return std::move(document_);
  }

 private:
  void openGroup() {
    if (saved_.size() >= kMaxSavedGroups) {
      ++unsavedDepth_;
      return;
    }
    saved_.push_back(state_);
  }

  // False once the outermost group closes: the document ends there, its last paragraph in
  // the format inside that group.
  bool closeGroup() {
    if (unsavedDepth_ > 0) {
      --unsavedDepth_;
      return true;
    }
    if (saved_.size() <= 1) return false;
    state_ = saved_.back();
    saved_.pop_back();
    return true;
  }

  // The characters that stand in for a \u character, for readers without Unicode.
  bool skippedAsFallback() {
    if (fallbackLeft_ == 0) return false;
    --fallbackLeft_;
    return true;
  }

  void readControl() {
    if (input_.atEnd()) return;
    if (input_.wordFollows()) {
      controlWord(input_.readControlWord());
      return;
    }
    const char symbol = input_.take();
    if (symbol == '\'') {
      const auto byte = input_.readHexByte();
      if (!skippedAsFallback() && byte) textByte(*byte);
      return;
    }
    if (!skippedAsFallback()) controlSymbol(symbol);
  }

  void controlSymbol(char symbol) {
    switch (symbol) {
      case '\\':
      case '{':
      case '}':
        textByte(static_cast<unsigned char>(symbol));
        break;
      case '*':
        state_.destination = Destination::Skipped;
        break;
      case '~':
        appendText("\u00A0");
        break;
      case '_':
        appendText("-");
        break;
      case '\r':
      case '\n':
        if (state_.destination == Destination::Text) endParagraph();
        break;
      default:  // optional hyphens and the rest show nothing
        break;
    }
  }

  void controlWord(const ControlWord& word) {
    // Binary data is skipped by its length wherever it is, or its bytes would be read as text.
    if (word.is("bin")) {
      const auto length = static_cast<std::size_t>(std::max(word.valueOr(0), 0));
      input_.skip(length);
      return;
    }
    if (skippedAsFallback() || state_.destination == Destination::Skipped) return;
    if (opensDestination(word)) return;
    switch (state_.destination) {
      case Destination::Text:
        textWord(word);
        break;
      case Destination::FontTable:
        fontTableWord(word);
        break;
      case Destination::ColourTable:
        colourTableWord(word);
        break;
      case Destination::Skipped:
        break;
    }
  }

  bool opensDestination(const ControlWord& word) {
    if (word.is("fonttbl")) {
      state_.destination = Destination::FontTable;
    } else if (word.is("colortbl")) {
      state_.destination = Destination::ColourTable;
    } else if (std::find(kSkippedDestinations.begin(), kSkippedDestinations.end(), word.name) !=
               kSkippedDestinations.end()) {
      state_.destination = Destination::Skipped;
    } else {
      return false;
    }
    return true;
  }

  void textWord(const ControlWord& word) {
    if (applyCharacterWord(word, defaultFont_, state_.character) || paragraphWord(word)) return;
    if (word.is("ansicpg")) {
      codePage_ = word.valueOr(kCodePageWestern);
    } else if (word.is("deff")) {
      defaultFont_ = word.valueOr(kRtfNoIndex);
      state_.character.font = defaultFont_;
    } else if (word.is("uc")) {
      state_.unicodeSkip = std::clamp(word.valueOr(1), 0, kMaxUnicodeSkip);
    } else if (word.is("u")) {
      unicodeCharacter(word.valueOr(0));
      fallbackLeft_ = state_.unicodeSkip;
    } else {
      for (const auto& named : kNamedCharacters) {
        if (word.is(named.word)) appendText(named.utf8);
      }
    }
  }

  bool paragraphWord(const ControlWord& word) {
    if (word.is("par")) {
      endParagraph();
    } else if (word.is("line")) {
      appendText("\n");
    } else if (word.is("tab")) {
      appendText("\t");
    } else if (word.is("pard")) {
      state_.alignment = RtfAlignment::Left;
      state_.leftIndentTwips = 0;
    } else if (word.is("ql")) {
      state_.alignment = RtfAlignment::Left;
    } else if (word.is("qc")) {
      state_.alignment = RtfAlignment::Centre;
    } else if (word.is("qr")) {
      state_.alignment = RtfAlignment::Right;
    } else if (word.is("li")) {
      state_.leftIndentTwips = std::clamp(word.valueOr(0), 0, kMaxIndentTwips);
    } else {
      return false;
    }
    return true;
  }

  void fontTableWord(const ControlWord& word) {
    if (word.is("f")) {
      fontBeingDefined_ = word.valueOr(kRtfNoIndex);
      fonts_[fontBeingDefined_] = FontEntry{};
    } else if (word.is("fcharset") && fonts_.contains(fontBeingDefined_)) {
      fonts_[fontBeingDefined_].charset = word.valueOr(kRtfNoIndex);
    }
  }

  void colourTableWord(const ControlWord& word) {
    const auto component =
        static_cast<std::uint8_t>(std::clamp(word.valueOr(0), 0, kMaxColourComponent));
    if (word.is("red")) {
      colourBeingDefined_.red = component;
    } else if (word.is("green")) {
      colourBeingDefined_.green = component;
    } else if (word.is("blue")) {
      colourBeingDefined_.blue = component;
    } else {
      return;
    }
    colourHasComponent_ = true;
  }

  void textByte(unsigned char byte) {
    switch (state_.destination) {
      case Destination::Text:
        if (byte == '\t') appendText("\t");
        if (byte >= 0x20) {
          const char raw = static_cast<char>(byte);
          appendText(
              decodeBytes(std::string_view(&raw, 1), centralEuropean(state_.character.font)));
        }
        break;
      case Destination::FontTable:
        fontNameByte(static_cast<char>(byte));
        break;
      case Destination::ColourTable:
        if (byte == ';') endColourEntry();
        break;
      case Destination::Skipped:
        break;
    }
  }

  void fontNameByte(char byte) {
    const auto font = fonts_.find(fontBeingDefined_);
    if (font == fonts_.end() || font->second.nameComplete) return;
    if (byte == ';') {
      font->second.nameComplete = true;
    } else if (static_cast<unsigned char>(byte) >= 0x20 &&
               font->second.nameBytes.size() < kLongestFontName) {
      font->second.nameBytes += byte;
    }
  }

  void endColourEntry() {
    colours_.push_back(colourHasComponent_ ? std::optional(colourBeingDefined_) : std::nullopt);
    colourBeingDefined_ = RtfColour{};
    colourHasComponent_ = false;
  }

  // Text bytes are in the code page of their font's character set, or of the document.
  bool centralEuropean(int fontIndex) const {
    const auto font = fonts_.find(fontIndex);
    const int charset = font == fonts_.end() ? kRtfNoIndex : font->second.charset;
    if (charset == kCharsetEastEurope) return true;
    if (charset == kCharsetAnsi) return false;
    return codePage_ == kCodePageCentralEurope;
  }

  void unicodeCharacter(int parameter) {
    // Values above 32767 are written as negative 16-bit numbers.
    const long long code = parameter < 0 ? parameter + 0x10000LL : parameter;
    if (code <= 0 || code > kLastCodePoint) return;
    const auto character = static_cast<char32_t>(code);
    if (character >= 0xD800 && character <= 0xDBFF) {
      dropLoneSurrogate();
      highSurrogate_ = character;
      return;
    }
    if (character >= 0xDC00 && character <= 0xDFFF) {
      const char32_t high = highSurrogate_;
      highSurrogate_ = 0;
      appendCodePoint(high ? 0x10000 + ((high - 0xD800) << 10) + (character - 0xDC00)
                           : kReplacementCharacter);
      return;
    }
    appendCodePoint(character);
  }

  void appendCodePoint(char32_t code) {
    std::string utf8;
    appendUtf8(utf8, code);
    appendText(utf8);
  }

  void dropLoneSurrogate() {
    if (highSurrogate_ == 0) return;
    highSurrogate_ = 0;
    appendCodePoint(kReplacementCharacter);
  }

  void appendText(std::string_view utf8) {
    if (state_.destination != Destination::Text) return;
    dropLoneSurrogate();
    if (paragraph_.runs.empty() || state_.character != runCharacter_) startRun();
    paragraph_.runs.back().text += utf8;
  }

  void startRun() {
    runCharacter_ = state_.character;
    RtfCharFormat format = charFormat(state_.character);
    if (!paragraph_.runs.empty() && paragraph_.runs.back().format == format) return;
    paragraph_.runs.push_back(RtfRun{std::move(format), {}});
  }

  RtfCharFormat charFormat(const CharacterState& character) const {
    RtfCharFormat format;
    format.bold = character.bold;
    format.italic = character.italic;
    format.underline = character.underline;
    format.halfPoints = character.halfPoints;
    format.fontName = fontName(character.font);
    if (character.colour >= 0 && static_cast<std::size_t>(character.colour) < colours_.size()) {
      format.colour = colours_[static_cast<std::size_t>(character.colour)];
    }
    return format;
  }

  std::string fontName(int fontIndex) const {
    const auto font = fonts_.find(fontIndex);
    if (font == fonts_.end()) return {};
    std::string name = decodeBytes(font->second.nameBytes, centralEuropean(fontIndex));
    const auto end = name.find_last_not_of(' ');
    name.erase(end == std::string::npos ? 0 : end + 1);
    name.erase(0, std::min(name.find_first_not_of(' '), name.size()));
    return name;
  }

  // A paragraph takes the paragraph format in force at its end.
  void endParagraph() {
    paragraph_.alignment = state_.alignment;
    paragraph_.leftIndentTwips = state_.leftIndentTwips;
    document_.paragraphs.push_back(std::move(paragraph_));
    paragraph_ = RtfParagraph{};
  }

  RtfScanner input_;

  GroupState state_;
  std::vector<GroupState> saved_;
  std::size_t unsavedDepth_ = 0;
  int fallbackLeft_ = 0;
  char32_t highSurrogate_ = 0;

  int codePage_ = kCodePageWestern;
  int defaultFont_ = kRtfNoIndex;
  std::map<int, FontEntry> fonts_;
  int fontBeingDefined_ = kRtfNoIndex;
  std::vector<std::optional<RtfColour>> colours_;
  RtfColour colourBeingDefined_;
  bool colourHasComponent_ = false;

  RtfDocument document_;
  RtfParagraph paragraph_;
  CharacterState runCharacter_;
};

}  // namespace

RtfDocument parseRtf(std::string_view bytes) { return RtfParser(bytes).parse(); }

}  // namespace movarek
