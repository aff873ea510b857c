#include "exchange/csv_reader.h"

#include <algorithm>
#include <cctype>

#include "common/cp1250.h"
#include "exchange/text_encoding.h"

namespace movarek {
namespace {

// The rows of a CSV text, one after another: fields quoted or not, separated by the
// separator; a quoted field may hold separators, doubled quotes and line breaks.
class CsvRows {
 public:
  explicit CsvRows(TextLines& lines) : lines_(lines) {}

  // The first row, whose separator is the one of comma and semicolon it holds more of outside
  // quotes.
  bool header(std::vector<std::string>& fields) {
    if (!lines_.next(line_)) return false;
    separator_ = separatorOf(line_);
    return split(fields);
  }

  bool next(std::vector<std::string>& fields) { return lines_.next(line_) && split(fields); }

 private:
  static char separatorOf(std::string_view line) {
    int commas = 0, semicolons = 0;
    bool quoted = false;
    for (const char c : line) {
      if (c == '"') quoted = !quoted;
      if (!quoted) {
        commas += c == ',';
        semicolons += c == ';';
      }
    }
    return semicolons > commas ? ';' : ',';
  }

  // The fields of the row that begins on the current line; a quoted line break takes the next.
  bool split(std::vector<std::string>& fields) {
    fields.assign(1, {});
    bool quoted = false;
    for (;;) {
      for (std::size_t at = 0; at < line_.size(); ++at) {
        const char c = line_[at];
        if (quoted && c == '"' && at + 1 < line_.size() && line_[at + 1] == '"') {
          add(fields.back(), '"');
          ++at;
        } else if (c == '"') {
          quoted = !quoted;
        } else if (!quoted && c == separator_) {
          fields.emplace_back();
        } else if (quoted || c != '\r') {
          add(fields.back(), c);
        }
      }
      if (!quoted || !lines_.next(line_)) return true;
      add(fields.back(), '\n');
    }
  }

  // A field keeps as much as a line does: a note of megabytes is passed over.
  static void add(std::string& field, char c) {
    if (field.size() < TextLines::kLongestLine) field += c;
  }

  TextLines& lines_;
  std::string line_;
  char separator_ = ',';
};

// A header as the user reads its words: small letters without diacritics, split at whatever
// is not a letter or a digit ("E-mail 1 - Value" gives e, mail, 1, value).
std::vector<std::string> headerWords(const std::string& utf8) {
  std::vector<std::string> words(1);
  for (const char c : utf8ToCp1250(utf8)) {
    const auto plain = static_cast<unsigned char>(czechBaseLetter(c));
    if (std::isalnum(plain)) {
      words.back() += static_cast<char>(std::tolower(plain));
    } else if (!words.back().empty()) {
      words.emplace_back();
    }
  }
  if (words.back().empty()) words.pop_back();
  return words;
}

bool contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

bool hasWord(const std::vector<std::string>& words, std::initializer_list<std::string_view> any) {
  return std::any_of(words.begin(), words.end(), [&](const std::string& word) {
    return std::find(any.begin(), any.end(), word) != any.end();
  });
}

enum class Column {
  None,
  FullName,
  GivenName,
  FamilyName,
  Email,
  Phone,
  MobilePhone,
  PhoneLabel,
  Groups
};

// Names as Google, Outlook, Thunderbird and Czech address books write them. Only a header with
// a word for a telephone is a number ("Phonetic First Name" is none).
Column columnOf(const std::string& header) {
  const auto words = headerWords(header);
  std::string key;
  for (const auto& word : words) key += word;
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
  if (key == "groupmembership" || key == "groups" || key == "categories" || key == "skupiny" ||
      key == "kategorie") {
    return Column::Groups;
  }
  const bool aboutIt = hasWord(words, {"type", "label", "typ"});
  if (contains(key, "mail") && !hasWord(words, {"display"}) && !aboutIt) return Column::Email;
  const bool mobile =
      hasWord(words, {"mobile", "mobil", "mobilni", "mobilu", "cell", "cellular", "cellphone"});
  const bool phone =
      hasWord(words, {"phone", "telephone", "telefon", "telefonni", "telefonu", "tel", "gsm"});
  if ((mobile || phone) && aboutIt) return Column::PhoneLabel;
  if (hasWord(words, {"fax", "pager"})) return Column::None;
  if (mobile) return Column::MobilePhone;
  if (phone) return Column::Phone;
  return Column::None;
}

// "a@x.cz ::: b@x.cz" holds two values, as Google writes several in one field.
std::string firstValue(const std::string& field) { return field.substr(0, field.find(" ::: ")); }

bool isMobileLabel(const std::string& label) {
  std::string key;
  for (const auto& word : headerWords(label)) key += word;
  return contains(key, "mobil") || contains(key, "cell");
}

// "Rodina ::: * myContacts" as Google writes groups, "Rodina;Práce" as Outlook does; Google's
// own groups, marked with "* ", are none of the user's.
std::vector<std::string> groupsIn(std::string_view field) {
  std::vector<std::string> groups;
  while (!field.empty()) {
    const std::size_t semicolon = field.find(';');
    const std::size_t google = field.find(" ::: ");
    const std::size_t end = std::min({semicolon, google, field.size()});
    const std::string_view group = field.substr(0, end);
    if (!group.empty() && !group.starts_with("* ")) groups.emplace_back(group);
    field.remove_prefix(std::min(field.size(), end + (end == google ? 5 : 1)));
  }
  return groups;
}

ContactCard cardOf(const std::vector<std::string>& row, const std::vector<Column>& columns) {
  ContactCard card;
  for (std::size_t i = 0; i < row.size() && i < columns.size(); ++i) {
    if (columns[i] == Column::Groups) {
      card.categories = groupsIn(row[i]);
      continue;
    }
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
      case Column::Groups:
      case Column::None:
        break;
    }
  }
  return card;
}

}  // namespace

std::vector<ContactCard> readCsvContacts(TextLines& lines) {
  CsvRows rows(lines);
  std::vector<std::string> fields;
  if (!rows.header(fields)) return {};
  std::vector<Column> columns;
  for (const auto& name : fields) columns.push_back(columnOf(textAsUtf8(name)));
  if (std::all_of(columns.begin(), columns.end(), [](Column c) { return c == Column::None; })) {
    return {};
  }
  std::vector<ContactCard> cards;
  while (rows.next(fields)) {
    for (auto& field : fields) field = textAsUtf8(field);
    cards.push_back(cardOf(fields, columns));
  }
  return cards;
}

std::vector<ContactCard> readCsvContacts(std::string_view bytes) {
  TextLines lines(bytes);
  return readCsvContacts(lines);
}

}  // namespace movarek
