#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "addressbook/contact_store.h"
#include "common/cp1250.h"
#include "exchange/contact_import.h"
#include "exchange/csv_reader.h"
#include "exchange/module/phone_number.h"
#include "exchange/vcard_reader.h"
#include "temporary_program_folder.h"

namespace movarek {
namespace {

// A contact as the test reads it: UTF-8.
struct Expected {
  std::string name;
  std::string address;
  std::string phone;
};

std::vector<Expected> contactsOf(const std::vector<ContactCard>& cards) {
  std::vector<Expected> contacts;
  for (const auto& card : cards) {
    const ContactTexts texts = contactOf(card, keptPhoneNumber);
    contacts.push_back(
        {cp1250ToUtf8(texts.name), cp1250ToUtf8(texts.address), cp1250ToUtf8(texts.phone)});
  }
  return contacts;
}

void expectContacts(const std::vector<ContactCard>& cards, const std::vector<Expected>& expected,
                    const std::string& what) {
  const auto read = contactsOf(cards);
  ASSERT_EQ(read.size(), expected.size()) << what;
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].name, expected[i].name) << what << " #" << i;
    EXPECT_EQ(read[i].address, expected[i].address) << what << " #" << i;
    EXPECT_EQ(read[i].phone, expected[i].phone) << what << " #" << i;
  }
}

TEST(VCardImport, EachVersionAndItsQuirks) {
  struct Case {
    const char* what;
    std::string file;
    std::vector<Expected> contacts;
  };
  const Case cases[] = {
      {"2.1 from a phone: quoted-printable with a soft line break, bare types, a photo",
       "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C4=8Cern=C3=BD;"
       "Adam\r\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Adam =C4=8Cern=\r\n=C3=BD\r\n"
       "TEL;HOME:+420 545 123 456\r\nTEL;CELL:+420 777 123 456\r\n"
       "PHOTO;ENCODING=BASE64;TYPE=JPEG:\r\n /9j/4AAQSkZJRgABAQ\r\n AAAQABAAD\r\n\r\nEND:VCARD\r\n",
       {{"Adam Černý", "", "777123456"}}},
      {"3.0 from a mail program: LF, byte order mark, folding, groups, listed types, escapes",
       "\xEF\xBB\xBF"
       "BEGIN:VCARD\nVERSION:3.0\nFN:Nov\xC3\xA1k\\, Jan\nN:Nov\xC3\xA1k;Jan;;;\n"
       "item1.EMAIL;type=INTERNET;type=pref:jan.novak@\n sms.cz\nitem1.X-ABLabel:_$!<Home>!$_\n"
       "TEL;TYPE=WORK,VOICE:00420 222 333 444\nTEL;TYPE=\"CELL,VOICE\":(608) 111-222\nEND:VCARD\n",
       {{"Novák, Jan", "jan.novak@sms.cz", "608111222"}}},
      {"4.0 from an address book service: numbers as tel: URIs, a name without FN",
       "BEGIN:VCARD\r\nVERSION:4.0\r\nN:Dvo\xC5\x99\xC3\xA1k;Anton\xC3\xADn;;;\r\n"
       "NOTE:Prvn\xC3\xAD\\n\xC5\x99\xC3\xA1"
       "dek\r\nEMAIL;TYPE=work:a@b.cz\r\nEMAIL:c@d.cz\r\n"
       "TEL;VALUE=uri;TYPE=\"voice,cell\":tel:+44-20-7946-0958\r\nEND:VCARD\r\n",
       {{"Antonín Dvořák", "a@b.cz", "+442079460958"}}},
      {"code page 1250, characters it lacks, over-long fields, a card with nothing to take",
       "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=windows-1250;ENCODING=QUOTED-PRINTABLE:=8Akoda\r\n"
       "EMAIL;INTERNET:skoda@sms.cz\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:3.0\r\n"
       "FN:Zo\xC3\xAB \xF0\x9F\x98\x80 " +
           std::string(120, 'x') +
           "\r\nTEL:777 123 456\r\n"
           "END:VCARD\r\nBEGIN:VCARD\r\nEND:VCARD\r\n",
       {{"Škoda", "skoda@sms.cz", ""},
        {"Zoë ? " + std::string(91, 'x'), "", "777123456"},
        {"", "", ""}}},
      {"damaged: no end, lines without a colon, a card inside a card",
       "junk\r\nBEGIN:VCARD\r\nFN:Outer\r\nAGENT:\r\nBEGIN:VCARD\r\nFN:Inner\r\nEND:VCARD\r\n"
       "TEL:608111222\r\nnonsense line\r\n",
       {{"Outer", "", "608111222"}}},
      {"empty", "", {}},
  };
  for (const auto& c : cases) expectContacts(readVCards(c.file), c.contacts, c.what);
}

// UTF-16 with its byte order mark, as some programs export.
std::string utf16(const std::string& utf8, bool littleEndian) {
  std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
  for (std::size_t i = 0; i < utf8.size();) {
    // Every character of these tests is in the Basic Multilingual Plane.
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : 3;
    unsigned int code = length == 1 ? lead : lead & (length == 2 ? 0x1F : 0x0F);
    for (int k = 1; k < length; ++k) code = (code << 6) | (utf8[i + k] & 0x3F);
    i += static_cast<std::size_t>(length);
    const char high = static_cast<char>(code >> 8), low = static_cast<char>(code & 0xFF);
    bytes += littleEndian ? std::string{low, high} : std::string{high, low};
  }
  return bytes;
}

TEST(VCardImport, EveryCardCountsInTheCodePageItNames) {
  const std::string open = "BEGIN:VCARD\r\nFN:Otevřená\r\nTEL:777111222\r\n";
  const std::string closed = "BEGIN:VCARD\r\nFN:Zavřená\r\nTEL:608333444\r\nEND:VCARD\r\n";
  const Expected opened{"Otevřená", "", "777111222"}, shut{"Zavřená", "", "608333444"};
  struct Case {
    const char* what;
    std::string file;
    std::vector<Expected> contacts;
  };
  const Case cases[] = {
      {"a card left open first", open + closed + closed, {opened, shut, shut}},
      {"in the middle", closed + open + closed, {shut, opened, shut}},
      {"last", closed + closed + open, {shut, shut, opened}},
      {"an agent's card inside stays the outer card's",
       "BEGIN:VCARD\r\nFN:Otevřená\r\nAGENT:\r\nBEGIN:VCARD\r\nFN:Agent\r\n"
       "END:VCARD\r\nTEL:777111222\r\n" +
           closed,
       {opened, shut}},
      {"ISO-8859-2 named, quoted-printable and not",
       "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=ISO-8859-2:\xA9\xE1rka \xABuk\xB9\r\n"
       "TEL;CELL:777111222\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:2.1\r\n"
       "N;CHARSET=ISO-8859-2;ENCODING=QUOTED-PRINTABLE:=ABuk=B9;=A9=E1rka\r\n"
       "TEL;CELL:608111222\r\nEND:VCARD\r\n",
       {{"Šárka Ťukš", "", "777111222"}, {"Šárka Ťukš", "", "608111222"}}},
      {"UTF-16 little endian",
       utf16("BEGIN:VCARD\r\nFN:Žofie\r\nEMAIL:z@sms.cz\r\nEND:VCARD\r\n", true),
       {{"Žofie", "z@sms.cz", ""}}},
      {"UTF-16 big endian, a card left open", utf16(open + closed, false), {opened, shut}},
  };
  for (const auto& c : cases) expectContacts(readVCards(c.file), c.contacts, c.what);
}

TEST(CsvImport, EachHeaderStyleAndQuoting) {
  struct Case {
    const char* what;
    std::string file;
    std::vector<Expected> contacts;
  };
  const Case cases[] = {
      {"Google: labelled phones, several values in one field",
       "Name,Given Name,Family Name,E-mail 1 - Type,E-mail 1 - Value,Phone 1 - Type,"
       "Phone 1 - Value,Phone 2 - Type,Phone 2 - Value\r\n"
       "Eva Malá,Eva,Malá,* Home,eva@sms.cz ::: eva@prace.cz,Work,222 333 444,Mobile,"
       "+420 777 000 111\r\n",
       {{"Eva Malá", "eva@sms.cz", "777000111"}}},
      {"Outlook: semicolons, code page 1250, given and family name",
       "First Name;Last Name;E-mail Address;E-mail Display Name;Business Phone;Mobile Phone\r\n"
       "\x8Atefan;\x8A"
       "afr\xE1nek;stefan@sms.cz;\x8Atefan (stefan@sms.cz);222333444;776 123 456\r\n",
       {{"Štefan Šafránek", "stefan@sms.cz", "776123456"}}},
      {"Czech names, case and diacritics ignored; quoted separators, quotes and line breaks",
       "\xEF\xBB\xBF"
       "JMÉNO;Příjmení;e-mail;Telefon;Mobil\n"
       "\"Jan \"\"Honza\"\"\";\"Nový; starší\";jan@sms.cz;\"222\n333 444\";\n"
       "Petr;;;;\n",
       {{"Jan \"Honza\" Nový; starší", "jan@sms.cz", "222333444"}, {"Petr", "", ""}}},
      {"no column the book can use", "a,b,c\r\n1,2,3\r\n", {}},
      {"words with phone in them are no phones",
       "Phonetic First Name,Phonetic Last Name,Name,Telephony Notes,E-mail,Mobile Phone\r\n"
       "Ewa,Smith,Eva Smíthová,x,eva@sms.cz,777 111 222\r\n",
       {{"Eva Smíthová", "eva@sms.cz", "777111222"}}},
      {"UTF-16 with its mark",
       utf16("Jméno;Telefon\r\nŽofie;608 111 222\r\n", true),
       {{"Žofie", "", "608111222"}}},
      {"a header alone", "Name,E-mail\r\n", {}},
      {"empty", "", {}},
  };
  for (const auto& c : cases) expectContacts(readCsvContacts(c.file), c.contacts, c.what);
}

TEST(PhoneNumbers, AreKeptAsTheBookKeepsNumbers) {
  const std::pair<const char*, const char*> cases[] = {
      {"777123456", "777123456"},
      {"+420 777 123 456", "777123456"},
      {"00420 777-123-456", "777123456"},
      {"(777) 123.456", "777123456"},
      {"+44 (0)20 7946 0958", "+442079460958"},
      {"0049 30 1234567", "+49301234567"},
      {"+1-202-555-0123", "+12025550123"},
      {"nothing", ""},
  };
  for (const auto& [written, kept] : cases) EXPECT_EQ(keptPhoneNumber(written), kept) << written;
}

class ContactFileTest : public testing::TemporaryProgramFolder {};

TEST_F(ContactFileTest, AFileOfAnySizeIsReadWhole) {
  // Past 64 MiB in photos, each on one line of its own or folded, then one more card.
  const std::string path = folder + "/velky.vcf";
  {
    std::ofstream file(path, std::ios::binary);
    const std::string photo(1024 * 1024, 'A');
    for (int i = 0; i < 65; ++i) {
      file << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Kontakt " << i << "\r\nPHOTO;ENCODING=b:" << photo
           << "\r\nTEL:7770000" << (10 + i) << "\r\nEND:VCARD\r\n";
    }
    file << "BEGIN:VCARD\r\nVERSION:3.0\r\nPHOTO;ENCODING=b:";
    for (int i = 0; i < 20000; ++i)
      file << "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA\r\n ";
    file << "\r\nFN:Posledn\xC3\xAD\r\nEMAIL:posledni@sms.cz\r\nEND:VCARD\r\n";
  }
  ASSERT_GT(std::filesystem::file_size(path), 64u * 1024 * 1024);
  const auto cards = readContactFile(path, ContactFormat::VCard);
  ASSERT_TRUE(cards.has_value());
  ASSERT_EQ(cards->size(), 66u);
  EXPECT_EQ((*cards)[64].formattedName, "Kontakt 64");
  EXPECT_EQ((*cards)[64].phones.at(0).number, "777000074");
  EXPECT_EQ((*cards)[65].formattedName, "Poslední");
  EXPECT_EQ((*cards)[65].emails, std::vector<std::string>{"posledni@sms.cz"});
  EXPECT_FALSE(readContactFile(folder + "/chybi.vcf", ContactFormat::VCard).has_value());
  EXPECT_FALSE(readContactFile(folder, ContactFormat::Csv).has_value());
}

ContactCard card(const std::string& name, const std::string& email, const std::string& phone) {
  ContactCard made;
  made.formattedName = name;
  if (!email.empty()) made.emails = {email};
  if (!phone.empty()) made.phones = {{phone, true}};
  return made;
}

TEST(ContactImport, LeavesOutWhatIsEmptyKnownOrBeyondTheBookAndTellsIt) {
  ContactBook book;
  for (int i = 0; i < 997; ++i) book.add("Kontakt " + std::to_string(i), "", "1");
  book.add("Eva", "eva@sms.cz", "777123456");
  const std::vector<ContactCard> cards = {
      card("Eva", "eva@sms.cz", "+420 777 123 456"),  // the book has her
      card("Nikdo", "", ""),
      card("Adam", "adam@sms.cz", ""),
      card("Adam", "adam@sms.cz", ""),  // twice in the file
      card("Cyril", "", "608111222"),
      card("Daniel", "d@sms.cz", ""),  // beyond the 1000th
  };
  const ImportPlan plan = planImport(book.contacts(), book.room(), cards, keptPhoneNumber);
  EXPECT_EQ(plan.count, (ImportCount{2, 1, 2, 1}));
  EXPECT_EQ(plan.toAdd,
            (std::vector<ContactTexts>{{"Adam", "adam@sms.cz", ""}, {"Cyril", "", "608111222"}}));
  EXPECT_EQ(importReport(plan.count),
            "Přidáno kontaktů: 2.\nVynecháno: 4 (bez adresy i telefonu: 1, už v adresáři: 2, "
            "nevešlo se do 1000 kontaktů: 1).");
  EXPECT_EQ(importReport({3, 0, 0, 0}), "Přidáno kontaktů: 3.");
}

// The contacts and their groups.
TEST(ContactExport, ImportedIntoAnEmptyBookGivesTheSameFile) {
  ContactBook book;
  book.add(utf8ToCp1250("Žofie Nováková"), "zofie@sms.cz", "777123456");
  book.add(utf8ToCp1250("Adam Černý, st."), "adam@sms.cz", "+442079460958");
  book.add("Cyril", "", "608111222");
  book.add(utf8ToCp1250("Jan \"Honza\"; " + std::string(80, 'y')), "jan@sms.cz", "");
  const std::map<std::string, std::vector<std::string>> groups = {
      {"adam@sms.cz", {"Práce, kolegové", "Rodina"}}, {"zofie@sms.cz", {"Rodina"}}};
  const GroupsOf groupsOf = [&groups](const ContactTexts& contact) {
    const auto found = groups.find(contact.address);
    return found == groups.end() ? std::vector<std::string>{} : found->second;
  };
  for (const bool vCard : {true, false}) {
    const std::string file =
        vCard ? vCardsOf(book.contacts(), groupsOf) : csvOf(book.contacts(), groupsOf);
    ContactBook again;
    const auto cards = vCard ? readVCards(file) : readCsvContacts(file);
    const auto plan = planImport(again.contacts(), again.room(), cards, keptPhoneNumber);
    for (std::size_t i = 0; i < plan.toAdd.size(); ++i) {
      const auto& contact = plan.toAdd[i];
      again.add(contact.name, contact.address, contact.phone);
      EXPECT_EQ(plan.groupsOfAdded[i], groupsOf(contact)) << contact.address;
    }
    EXPECT_EQ(again.fileBytes(), book.fileBytes()) << (vCard ? "vCard" : "CSV") << "\n" << file;
  }
  EXPECT_TRUE(vCardsOf(book.contacts(), groupsOf)
                  .starts_with("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Adam Černý\\, st.\r\n"
                               "N:st.;Adam Černý\\,;;;\r\nEMAIL:adam@sms.cz\r\n"
                               "TEL;TYPE=cell:+442079460958\r\n"
                               "CATEGORIES:Práce\\, kolegové,Rodina\r\nEND:VCARD\r\n"));
  EXPECT_TRUE(csvOf(book.contacts(), groupsOf)
                  .starts_with("\xEF\xBB\xBFName,E-mail 1 - Value,Phone 1 - Label,Phone 1 - Value,"
                               "Group Membership\r\n\"Adam Černý, st.\",adam@sms.cz,Mobile,"
                               "+442079460958,\"Práce, kolegové ::: Rodina\"\r\n"));
  // Google's own groups are none of the user's; Outlook separates with semicolons.
  EXPECT_EQ(readCsvContacts("Name,E-mail,Group Membership\r\nA,a@x.cz,Rodina ::: * myContacts\r\n"
                            "B,b@x.cz,Skupina;Druhá\r\n")[1]
                .categories,
            (std::vector<std::string>{"Skupina", "Druhá"}));
}

}  // namespace
}  // namespace movarek
