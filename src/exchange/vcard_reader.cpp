#include "exchange/vcard_reader.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "common/hex_digits.h"
#include "exchange/text_encoding.h"

namespace movarek {
namespace {

std::string upper(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return result;
}

struct Property {
  std::string name;                // upper case, without its group
  std::vector<std::string> types;  // upper case: TYPE=cell,voice and bare CELL alike
  bool quotedPrintable = false;
  std::string charset;  // upper case; empty when not given
  std::string value;    // as written
};

// Splits at `separator` outside double quotes.
std::vector<std::string_view> splitOutsideQuotes(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  bool quoted = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') quoted = !quoted;
    if (text[i] == separator && !quoted) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(text.substr(start));
  return parts;
}

std::string_view unquoted(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
    return text.substr(1, text.size() - 2);
  return text;
}

void addParameter(Property& property, std::string_view parameter) {
  const auto equals = parameter.find('=');
  const std::string key = upper(parameter.substr(0, equals));
  if (equals == std::string_view::npos) {
    // vCard 2.1 writes the type or the encoding alone: TEL;CELL, NOTE;QUOTED-PRINTABLE.
    if (key == "QUOTED-PRINTABLE") property.quotedPrintable = true;
    property.types.push_back(key);
    return;
  }
  const std::string_view value = unquoted(parameter.substr(equals + 1));
  if (key == "ENCODING") {
    property.quotedPrintable = upper(value) == "QUOTED-PRINTABLE";
  } else if (key == "CHARSET") {
    property.charset = upper(value);
  } else if (key == "TYPE") {
    for (const auto type : splitOutsideQuotes(value, ','))
      property.types.push_back(upper(unquoted(type)));
  }
}

// "item1.TEL;TYPE=cell:+420 777 123 456"; none for a line that is no property.
std::optional<Property> parseProperty(std::string_view line) {
  bool quoted = false;
  std::size_t colon = std::string_view::npos;
  for (std::size_t i = 0; i < line.size() && colon == std::string_view::npos; ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == ':' && !quoted) colon = i;
  }
  if (colon == std::string_view::npos) return std::nullopt;
  const auto head = splitOutsideQuotes(line.substr(0, colon), ';');
  Property property;
  std::string_view name = head[0];
  if (const auto dot = name.rfind('.'); dot != std::string_view::npos) name.remove_prefix(dot + 1);
  property.name = upper(name);
  for (std::size_t i = 1; i < head.size(); ++i) addParameter(property, head[i]);
  property.value = std::string(line.substr(colon + 1));
  return property;
}

std::string quotedPrintableDecoded(std::string_view text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool escape = text[i] == '=' && i + 2 < text.size();
    const int high = escape ? hexDigitValue(text[i + 1]) : -1;
    const int low = escape ? hexDigitValue(text[i + 2]) : -1;
    if (high >= 0 && low >= 0) {
      bytes += static_cast<char>(high * 16 + low);
      i += 2;
    } else if (text[i] != '=') {
      bytes += text[i];
    }
  }
  return bytes;
}

// Undoes \\, \, \; and \n (or \N) of a text value.
std::string unescaped(std::string_view text) {
  std::string result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      result += text[i];
      continue;
    }
    const char next = text[++i];
    result += next == 'n' || next == 'N' ? '\n' : next;
  }
  return result;
}

// Splits a structured value (N) at its unescaped semicolons, a list (CATEGORIES) at its
// unescaped commas.
std::vector<std::string> components(std::string_view value, char separator = ';') {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      parts.back() += value.substr(i, 2);
      ++i;
    } else if (value[i] == separator) {
      parts.emplace_back();
    } else {
      parts.back() += value[i];
    }
  }
  for (auto& part : parts) part = unescaped(part);
  return parts;
}

// A value in the code page its CHARSET names; without one, UTF-8 where the bytes are.
std::string decodedValue(const Property& property) {
  const std::string bytes =
      property.quotedPrintable ? quotedPrintableDecoded(property.value) : property.value;
  return property.charset.empty() ? textAsUtf8(bytes) : namedTextAsUtf8(bytes, property.charset);
}

bool hasType(const Property& property, std::string_view type) {
  return std::find(property.types.begin(), property.types.end(), type) != property.types.end();
}

// "tel:+420777123456;ext=1" as a number.
std::string telephoneNumber(std::string value) {
  if (upper(value.substr(0, 4)) == "TEL:") value.erase(0, 4);
  return value.substr(0, value.find(';'));
}

void takeProperty(ContactCard& card, const Property& property) {
  if (property.name == "FN") {
    card.formattedName = unescaped(decodedValue(property));
  } else if (property.name == "N") {
    const auto parts = components(decodedValue(property));
    card.familyName = parts[0];
    card.givenName = parts.size() > 1 ? parts[1] : std::string();
  } else if (property.name == "EMAIL") {
    card.emails.push_back(unescaped(decodedValue(property)));
  } else if (property.name == "CATEGORIES") {
    for (auto& category : components(decodedValue(property), ',')) {
      if (!category.empty()) card.categories.push_back(std::move(category));
    }
  } else if (property.name == "TEL") {
    card.phones.push_back({telephoneNumber(unescaped(decodedValue(property))),
                           hasType(property, "CELL") || hasType(property, "MOBILE")});
  }
}

// A property's logical line, its folded lines joined (a line that begins with a space or a tab
// continues the one before) and a quoted-printable value continued by its soft line breaks.
class LogicalLines {
 public:
  explicit LogicalLines(TextLines& lines) : lines_(lines) { more_ = lines_.next(ahead_); }

  // The next logical line; `whole` tells whether it was one line of the file.
  bool next(std::string& line, bool& whole) {
    if (!more_) return false;
    line = std::move(ahead_);
    whole = true;
    for (;;) {
      more_ = lines_.next(ahead_);
      if (!more_) return true;
      if (!ahead_.empty() && (ahead_[0] == ' ' || ahead_[0] == '\t')) {
        append(line, std::string_view(ahead_).substr(1));
      } else if (line.ends_with('=') && isQuotedPrintable(line)) {
        line.pop_back();
        append(line, ahead_);
      } else {
        return true;
      }
      whole = false;
    }
  }

 private:
  // A folded photo is passed over past the length of a line: nothing kept is that long.
  static void append(std::string& line, std::string_view more) {
    line.append(
        more.substr(0, TextLines::kLongestLine - std::min(line.size(), TextLines::kLongestLine)));
  }

  static bool isQuotedPrintable(const std::string& line) {
    return upper(line.substr(0, line.find(':'))).find("QUOTED-PRINTABLE") != std::string::npos;
  }

  TextLines& lines_;
  std::string ahead_;
  bool more_ = false;
};

bool isBeginLine(const std::string& line) {
  std::string text = upper(line);
  text.erase(text.find_last_not_of(" \t") + 1);
  return text == "BEGIN:VCARD";
}

// "AGENT:" alone: in vCard 2.1 the agent's own card follows on the next lines.
bool opensANestedCard(const std::optional<Property>& property) {
  return property && property->name == "AGENT" && property->value.empty();
}

}  // namespace

std::vector<ContactCard> readVCards(TextLines& lines) {
  std::vector<ContactCard> cards;
  // 0 outside a card, 1 in a card, more inside an agent's card, which belongs to the outer one.
  int depth = 0;
  bool nestedCardNext = false;
  LogicalLines logical(lines);
  std::string line;
  bool whole = false;
  while (logical.next(line, whole)) {
    // A card begins at a line of its own that says so, never at one pieced together. One
    // left open ends there, unless an agent's card was announced.
    if (whole && isBeginLine(line)) {
      if (depth > 0 && nestedCardNext) {
        ++depth;
      } else {
        depth = 1;
        cards.emplace_back();
      }
      nestedCardNext = false;
      continue;
    }
    const auto property = parseProperty(line);
    nestedCardNext = opensANestedCard(property);
    if (!property) continue;
    if (property->name == "END" && upper(property->value) == "VCARD") {
      depth = std::max(0, depth - 1);
    } else if (depth == 1) {
      takeProperty(cards.back(), *property);
    }
  }
  return cards;
}

std::vector<ContactCard> readVCards(std::string_view bytes) {
  TextLines lines(bytes);
  return readVCards(lines);
}

}  // namespace movarek
