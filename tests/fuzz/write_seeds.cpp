// Writes the seed inputs of the fuzz harnesses with the program's own writers, so that the
// search starts from files the program really writes. Run: fuzz_write_seeds tests/fuzz/corpus
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

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
  return 0;
}
