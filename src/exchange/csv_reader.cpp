#include "exchange/csv_reader.h"

#include <algorithm>
#include <cctype>

#include "common/cp1250.h"

namespace movarek {
namespace {

std::vector<std::string> splitRow(std::string_view text, std::size_t& at, char separator) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (quoted) {
      if (c != '"') {
        fields.back() += c;
      } else if (at + 1 < text.size() && text[at + 1] == '"') {
        fields.back() += '"';
        ++at;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == separator) {
      fields.emplace_back();
    } else if (c == '\n') {
      ++at;
      break;
    } else if (c != '\r') {
      fields.back() += c;
    }
  }
  return fields;
}

// The header's separator: the one of comma and semicolon that it holds more of, outside quotes.
char separatorOf(std::string_view text) {
  int commas = 0, semicolons = 0;
  bool quoted = false;
  for (const char c : text.substr(0, text.find('\n'))) {
    if (c == '"') quoted = !quoted;
    if (!quoted) {
      commas += c == ',';
      semicolons += c == ';';
    }
  }
  return semicolons > commas ? ';' : ',';
}

// A header name compared as the user reads it: small letters, no diacritics, no spaces.
std::string headerKey(const std::string& utf8) {
  std::string key;
  for (const char c : utf8ToCp1250(utf8)) {
    if (c == ' ' || c == '_') continue;
    key += static_cast<char>(std::tolower(static_cast<unsigned char>(czechBaseLetter(c))));
  }
  return key;
}

bool contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

enum class Column { None, FullName, GivenName, FamilyName, Email, Phone, MobilePhone, PhoneLabel };

// Names as Google, Outlook, Thunderbird and Czech address books write them.
Column columnOf(const std::string& key) {
  if (key == "name" || key == "displayname" || key == "fullname" || key == "celejmeno" ||
      key == "zobrazovanejmeno") {
    return Column::FullName;
  }
  if (key == "firstname" || key == "givenname" || key == "jmeno" || key == "krestnijmeno") {
    return Column::GivenName;
  }
  if (key == "lastname" || key == "familyname" || key == "surname" || key == "prijmeni") {
    return Column::FamilyName;
  }
  const bool aboutIt = contains(key, "type") || contains(key, "label") || contains(key, "typ");
  if (contains(key, "mail") && !contains(key, "display") && !aboutIt) return Column::Email;
  if ((contains(key, "phone") || contains(key, "telefon") || contains(key, "mobil")) && aboutIt) {
    return Column::PhoneLabel;
  }
  if (contains(key, "fax") || contains(key, "pager")) return Column::None;
  if (contains(key, "mobil") || contains(key, "cell")) return Column::MobilePhone;
  if (contains(key, "phone") || contains(key, "telefon") || key == "tel") return Column::Phone;
  return Column::None;
}

// "a@x.cz ::: b@x.cz" holds two values, as Google writes several in one field.
std::string firstValue(const std::string& field) { return field.substr(0, field.find(" ::: ")); }

bool isMobileLabel(const std::string& label) {
  const std::string key = headerKey(label);
  return contains(key, "mobil") || contains(key, "cell");
}

ContactCard cardOf(const std::vector<std::string>& row, const std::vector<Column>& columns) {
  ContactCard card;
  for (std::size_t i = 0; i < row.size() && i < columns.size(); ++i) {
    const std::string value = firstValue(row[i]);
    if (value.empty()) continue;
    switch (columns[i]) {
      case Column::FullName:
        card.formattedName = value;
        break;
      case Column::GivenName:
        card.givenName = value;
        break;
      case Column::FamilyName:
        card.familyName = value;
        break;
      case Column::Email:
        card.emails.push_back(value);
        break;
      case Column::MobilePhone:
        card.phones.push_back({value, true});
        break;
      case Column::Phone: {
        // Google's "Phone 1 - Value" follows its "Phone 1 - Label".
        const bool labelledMobile =
            i > 0 && columns[i - 1] == Column::PhoneLabel && isMobileLabel(row[i - 1]);
        card.phones.push_back({value, labelledMobile});
        break;
      }
      case Column::PhoneLabel:
      case Column::None:
        break;
    }
  }
  return card;
}

}  // namespace

std::vector<std::vector<std::string>> csvRows(std::string_view text, char separator) {
  std::vector<std::vector<std::string>> rows;
  for (std::size_t at = 0; at < text.size();) rows.push_back(splitRow(text, at, separator));
  return rows;
}

std::vector<ContactCard> readCsvContacts(std::string_view bytes) {
  const std::string text = textAsUtf8(bytes);
  const auto rows = csvRows(text, separatorOf(text));
  if (rows.empty()) return {};
  std::vector<Column> columns;
  for (const auto& name : rows[0]) columns.push_back(columnOf(headerKey(name)));
  if (std::all_of(columns.begin(), columns.end(), [](Column c) { return c == Column::None; })) {
    return {};
  }
  std::vector<ContactCard> cards;
  for (std::size_t i = 1; i < rows.size(); ++i) cards.push_back(cardOf(rows[i], columns));
  return cards;
}

}  // namespace movarek
