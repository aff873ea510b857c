// Writes the seed inputs of the fuzz harnesses with the program's own writers, so that the
// search starts from files the program really writes. Run: fuzz_write_seeds tests/fuzz/corpus
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "addressbook/contact_store.h"
#include "addressbook/speed_dials.h"
#include "app/stored_fields.h"
#include "common/cp1250.h"
#include "common/program_folder.h"
#include "send/gateway_encoding.h"

namespace fs = std::filesystem;
using namespace movarek;

namespace {

// Has the program store its file in `folder` and names the result.
template <typename Save>
void storeAs(const fs::path& folder, const char* file, const std::string& seedName, Save save) {
  fs::create_directories(folder);
  setProgramFolder(folder.string());
  if (!save()) throw std::runtime_error("cannot write " + (folder / file).string());
  fs::rename(folder / file, folder / seedName);
}

void writePadrDat(const fs::path& folder) {
  const auto store = [&](const std::string& name, const StoredFields& fields) {
    storeAs(folder, kStoredFieldsFile, name, [&] { return saveStoredFields(fields); });
  };
  store("first-close.dat", {"", StoredFields::Oskar{-1, "", "", ""}});
  store("two-addresses.dat", {"jan.novak@sms.t-mobile.cz; eva@sms.cz; ",
                              StoredFields::Oskar{3, "123456", "777", "654321"}});
  std::string longList;
  while (longList.size() < 12000) longList += utf8ToCp1250("příliš.žluťoučký@kůň.cz, ");
  store("longest-address.dat", {longList, StoredFields::Oskar{0, "12", "608", ""}});
}

void writeKontaktyDat(const fs::path& folder) {
  fs::create_directories(folder);
  setProgramFolder(folder.string());
  ContactStore store([](const std::string&, const std::string&) {});
  const auto keep = [&](const std::string& name) {
    fs::copy_file(folder / kContactsFile, folder / name);
  };
  store.SaveContacts();
  keep("empty-book.dat");
  store.AddContact(utf8ToCp1250("Zámečník"), "zamecnik@sms.t-mobile.cz", "777123456");
  keep("one-contact.dat");
  store.AddContact(utf8ToCp1250("Čistírna"), "cistirna@sms.cz", "608654321");
  store.AddContact("auto", "", std::string(60, '9'));
  store.AddContact(std::string(120, 'N'), std::string(120, 'a'), "");
  keep("four-contacts.dat");
  fs::remove(folder / kContactsFile);
}

void writeRvolbyDat(const fs::path& folder) {
  fs::create_directories(folder);
  setProgramFolder(folder.string());
  SpeedDialStore store([](const std::string&, const std::string&) {});
  store.SaveSpeedDials();
  fs::rename(folder / kSpeedDialsFile, folder / "empty.dat");
  store.table().setEntry(SpeedDialBlock::Email, 0, "jan@sms.cz; eva@sms.cz; ");
  store.table().setEntry(SpeedDialBlock::Email, 3, std::string(250, 'x'));
  store.table().setEntry(SpeedDialBlock::Oskar, 1, "776123456");
  store.table().setEntry(SpeedDialBlock::Oskar, 2, utf8ToCp1250("+420 777 123 456 Žofie"));
  // A shorter entry over a longer one leaves the rest behind its zero byte.
  store.table().setEntry(SpeedDialBlock::Email, 3, "kratsi@sms.cz");
  store.SaveSpeedDials();
  fs::rename(folder / kSpeedDialsFile, folder / "entries.dat");
}

// The harness's input: two bytes of capacity, low byte first, then the text.
void writeEncoderInput(const fs::path& folder, const std::string& name, std::int32_t capacity,
                       const std::string& text) {
  fs::create_directories(folder);
  std::ofstream out(folder / name, std::ios::binary);
  out.put(static_cast<char>(capacity & 0xFF)).put(static_cast<char>(capacity >> 8 & 0xFF)) << text;
}

void writeGatewayEncoding(const fs::path& folder) {
  writeEncoderInput(folder, "message.txt", kMessageCapacity,
                    utf8ToCp1250("Ahoj, jak se máš?\r\nČau & 100% + #tag; ŘEKA ř"));
  writeEncoderInput(folder, "address-list.txt", kAddressCapacity,
                    "jan@sms.cz; eva@sms.cz, petr @sms.cz\r\n");
  writeEncoderInput(folder, "line-feeds-to-the-limit.txt", 31, std::string(12, '\n'));
  writeEncoderInput(folder, "longer-than-the-working-copy.txt", 20000, std::string(10050, 'a'));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
    return 2;
  }
  const fs::path corpus = argv[1];
  writePadrDat(corpus / "padr_dat");
  writeGatewayEncoding(corpus / "gateway_encoding");
  writeKontaktyDat(corpus / "kontakty_dat");
  writeRvolbyDat(corpus / "rvolby_dat");
  return 0;
}
