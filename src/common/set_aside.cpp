#include "common/set_aside.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <random>

#include "common/diagnostics.h"
#include "common/program_folder.h"
#include "common/safe_file.h"

namespace movarek {
namespace {

constexpr std::string_view kFormat = "sms-movarek set aside 1";
// Far more than the outcomes of any run: a larger file is not this program's.
constexpr std::size_t kLargest = std::size_t{16} << 20;

std::int64_t newMark() {
  std::random_device random;
  return static_cast<std::int64_t>(((std::uint64_t{random()} << 32) | random()) >> 1);
}

}  // namespace

std::string setAsidePath(const std::string& databasePath) {
  return linkTarget(databasePath) + "-pending";
}

bool setAside(const std::string& databasePath, const std::vector<std::string>& entries) {
  const std::string path = setAsidePath(databasePath);
  std::vector<std::string> fields{std::string(kFormat), std::to_string(newMark())};
  if (const auto before = setAsideFor(databasePath)) {
    fields.insert(fields.end(), before->entries.begin(), before->entries.end());
  }
  fields.insert(fields.end(), entries.begin(), entries.end());
  if (!createFilePrivately(path) || !replaceFile(path, joinedFields(fields))) {
    logFault("cannot store " + path + ": " + systemReason(errno));
    return false;
  }
  return true;
}

std::optional<SetAside> setAsideFor(const std::string& databasePath) {
  const std::string path = setAsidePath(databasePath);
  if (!std::filesystem::exists(path)) return std::nullopt;
  const auto bytes = readFileStart(path, kLargest + 1);
  const auto fields = bytes && bytes->size() <= kLargest ? splitFields(*bytes) : std::nullopt;
  const auto mark = fields && fields->size() >= 2 ? numberField((*fields)[1]) : std::nullopt;
  if (!mark || (*fields)[0] != kFormat) {
    logFault("cannot read " + path + ": not as this program writes it");
    return std::nullopt;
  }
  return SetAside{*mark, {fields->begin() + 2, fields->end()}};
}

void removeSetAside(const std::string& databasePath) {
  std::error_code error;
  std::filesystem::remove(setAsidePath(databasePath), error);
}

// Each field as its length, a colon, its bytes and a line break: readable by eye, and never
// misread whatever the bytes.
std::string joinedFields(const std::vector<std::string>& fields) {
  std::string joined;
  for (const std::string& field : fields) {
    joined.append(std::to_string(field.size())).append(":").append(field).append("\n");
  }
  return joined;
}

std::optional<std::vector<std::string>> splitFields(std::string_view joined) {
  std::vector<std::string> fields;
  while (!joined.empty()) {
    std::size_t length = 0;
    const char* const last = joined.data() + joined.size();
    const auto [end, error] = std::from_chars(joined.data(), last, length);
    if (error != std::errc() || end == joined.data() || end == last || *end != ':') {
      return std::nullopt;
    }
    const auto start = static_cast<std::size_t>(end - joined.data()) + 1;
    if (joined.size() - start <= length || joined[start + length] != '\n') return std::nullopt;
    fields.emplace_back(joined.substr(start, length));
    joined.remove_prefix(start + length + 1);
  }
  return fields;
}

std::optional<std::int64_t> numberField(std::string_view field) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc() || end != field.data() + field.size()) return std::nullopt;
  return value;
}

}  // namespace movarek
