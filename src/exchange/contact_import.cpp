#include "exchange/contact_import.h"

#include <algorithm>

#include "common/cp1250.h"
#include "common/csv_field.h"
#include "exchange/csv_reader.h"
#include "exchange/text_encoding.h"
#include "exchange/text_lines.h"
#include "exchange/vcard_reader.h"

namespace movarek {
namespace {

std::string stored(const std::string& utf8, std::size_t longest) {
  return utf8ToCp1250(utf8).substr(0, longest);
}

std::string trimmed(std::string text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string nameOf(const ContactCard& card) {
  if (const auto formatted = trimmed(card.formattedName); !formatted.empty()) return formatted;
  return trimmed(trimmed(card.givenName) + " " + trimmed(card.familyName));
}

std::string phoneOf(const ContactCard& card, const PhoneKeeping& keepPhone) {
  if (card.phones.empty()) return {};
  const auto mobile = std::find_if(card.phones.begin(), card.phones.end(),
                                   [](const CardPhone& phone) { return phone.mobile; });
  return keepPhone((mobile != card.phones.end() ? *mobile : card.phones.front()).number);
}

// "Přidáno kontaktů: 5" and the like: the count after the noun needs no plural forms.
std::string counted(std::string_view what, int count) {
  return std::string(what) + ": " + std::to_string(count);
}

// A field of a vCard text value: backslash, comma, semicolon and line breaks escaped.
std::string vCardText(const std::string& utf8) {
  std::string escaped;
  for (const char c : utf8) {
    if (c == '\\' || c == ',' || c == ';') escaped += '\\';
    if (c == '\n') {
      escaped += "\\n";
    } else if (c != '\r') {
      escaped += c;
    }
  }
  return escaped;
}

// A content line folded after 75 bytes, never inside a UTF-8 sequence.
std::string contentLine(const std::string& line) {
  std::string folded;
  std::size_t length = 0;
  for (const char c : line) {
    const bool continuation = (static_cast<unsigned char>(c) & 0xC0) == 0x80;
    if (length >= 75 && !continuation) {
      folded += "\r\n ";
      length = 1;
    }
    folded += c;
    ++length;
  }
  return folded + "\r\n";
}

// The name as given and family name: the last word is the family name.
std::pair<std::string, std::string> givenAndFamily(const std::string& name) {
  const auto space = name.rfind(' ');
  if (space == std::string::npos) return {name, {}};
  return {name.substr(0, space), name.substr(space + 1)};
}

}  // namespace

std::optional<std::vector<ContactCard>> readContactFile(const std::string& path,
                                                        ContactFormat format) {
  auto lines = TextLines::ofFile(path);
  if (!lines) return std::nullopt;
  auto cards = format == ContactFormat::VCard ? readVCards(*lines) : readCsvContacts(*lines);
  if (lines->failed()) return std::nullopt;
  return cards;
}

ContactTexts contactOf(const ContactCard& card, const PhoneKeeping& keepPhone) {
  return {
      stored(nameOf(card), kLongestName),
      stored(card.emails.empty() ? std::string() : trimmed(card.emails.front()), kLongestAddress),
      stored(phoneOf(card, keepPhone), kLongestPhone)};
}

ImportPlan planImport(const std::vector<ContactTexts>& book, int room,
                      const std::vector<ContactCard>& cards, const PhoneKeeping& keepPhone) {
  ImportPlan plan;
  const auto holds = [](const std::vector<ContactTexts>& contacts, const ContactTexts& contact) {
    return std::find(contacts.begin(), contacts.end(), contact) != contacts.end();
  };
  for (const auto& card : cards) {
    const ContactTexts contact = contactOf(card, keepPhone);
    if (contact.address.empty() && contact.phone.empty()) {
      ++plan.count.withoutAddressOrPhone;
    } else if (holds(book, contact) || holds(plan.toAdd, contact)) {
      ++plan.count.alreadyInTheBook;
    } else if (static_cast<int>(plan.toAdd.size()) >= room) {
      ++plan.count.withoutRoom;
    } else {
      plan.toAdd.push_back(contact);
      plan.groupsOfAdded.push_back(card.categories);
    }
  }
  plan.count.added = static_cast<int>(plan.toAdd.size());
  return plan;
}

std::string importReport(const ImportCount& count) {
  std::string text = counted("Přidáno kontaktů", count.added) + ".";
  const int leftOut = count.withoutAddressOrPhone + count.alreadyInTheBook + count.withoutRoom;
  if (leftOut == 0) return text;
  text.append("\n").append(counted("Vynecháno", leftOut)).append(" (");
  std::vector<std::string> reasons;
  if (count.withoutAddressOrPhone)
    reasons.push_back(counted("bez adresy i telefonu", count.withoutAddressOrPhone));
  if (count.alreadyInTheBook) reasons.push_back(counted("už v adresáři", count.alreadyInTheBook));
  if (count.withoutRoom) {
    reasons.push_back(counted("nevešlo se do 1000 kontaktů", count.withoutRoom));
  }
  for (std::size_t i = 0; i < reasons.size(); ++i) text += (i ? ", " : "") + reasons[i];
  return text + ").";
}

std::string vCardsOf(const std::vector<ContactTexts>& book, const GroupsOf& groupsOf) {
  std::string cards;
  for (const ContactTexts& contact : book) {
    const std::string name = cp1250ToUtf8(contact.name);
    const auto [given, family] = givenAndFamily(name);
    cards += "BEGIN:VCARD\r\nVERSION:4.0\r\n";
    cards += contentLine("FN:" + vCardText(name));
    cards += contentLine("N:" + vCardText(family) + ";" + vCardText(given) + ";;;");
    if (!contact.address.empty()) {
      cards += contentLine("EMAIL:" + vCardText(cp1250ToUtf8(contact.address)));
    }
    if (!contact.phone.empty()) {
      cards += contentLine("TEL;TYPE=cell:" + vCardText(cp1250ToUtf8(contact.phone)));
    }
    const auto groups = groupsOf ? groupsOf(contact) : std::vector<std::string>{};
    if (!groups.empty()) {
      std::string categories = "CATEGORIES:";
      for (std::size_t i = 0; i < groups.size(); ++i)
        categories += (i ? "," : "") + vCardText(groups[i]);
      cards += contentLine(categories);
    }
    cards += "END:VCARD\r\n";
  }
  return cards;
}

std::string csvOf(const std::vector<ContactTexts>& book, const GroupsOf& groupsOf) {
  std::string csv = std::string(kByteOrderMark) +
                    "Name,E-mail 1 - Value,Phone 1 - Label,Phone 1 - Value,Group Membership\r\n";
  for (const ContactTexts& contact : book) {
    const std::string phone = cp1250ToUtf8(contact.phone);
    std::string groups;
    for (const auto& group : groupsOf ? groupsOf(contact) : std::vector<std::string>{}) {
      groups += (groups.empty() ? "" : " ::: ") + group;
    }
    csv += csvField(cp1250ToUtf8(contact.name)) + "," + csvField(cp1250ToUtf8(contact.address)) +
           "," + (phone.empty() ? "" : "Mobile") + "," + csvField(phone) + "," + csvField(groups) +
           "\r\n";
  }
  return csv;
}

}  // namespace movarek
