// How long importing a large contacts export takes, and how much memory it holds: a vCard file
// of 100 MB as a phone writes it, 2000 cards each with a photo folded at 75 columns.
// Usage: import-bench FOLDER (the file is written there and removed again).
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "exchange/contact_import.h"

namespace {

constexpr int kCards = 2000;
constexpr std::size_t kPhotoBytes = 50 * 1024;  // 100 MB of photos in all

void writeExport(const std::string& path) {
  std::ofstream file(path, std::ios::binary);
  const std::string photoLine(74, 'Q');
  for (int i = 0; i < kCards; ++i) {
    file << "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Kontakt;" << i << "\r\nFN:Kontakt " << i
         << "\r\nTEL;CELL:+420 777 " << 100000 + i << "\r\nEMAIL:kontakt" << i
         << "@sms.cz\r\nPHOTO;ENCODING=BASE64;TYPE=JPEG:";
    for (std::size_t written = 0; written < kPhotoBytes; written += photoLine.size()) {
      file << "\r\n " << photoLine;
    }
    file << "\r\n\r\nEND:VCARD\r\n";
  }
}

double peakMegabytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: import-bench FOLDER\n");
    return 2;
  }
  const std::string path = std::string(argv[1]) + "/velky-export.vcf";
  writeExport(path);
  const double fileMb = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
  const double before = peakMegabytes();
  const auto start = std::chrono::steady_clock::now();
  const auto cards = movarek::readContactFile(path, movarek::ContactFormat::VCard);
  const auto plan = movarek::planImport({}, 1000, cards ? *cards : std::vector<movarek::ContactCard>{},
                                        [](std::string_view number) { return std::string(number); });
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::filesystem::remove(path);
  std::printf("import of a %.0f MB vCard export with photos: %d cards read, %d added, %.0f ms, "
              "peak memory %.1f MB (%.1f MB before reading)\n",
              fileMb, cards ? static_cast<int>(cards->size()) : -1, plan.count.added, ms,
              peakMegabytes(), before);
  return cards && static_cast<int>(cards->size()) == kCards ? 0 : 1;
}
