#include "rtf/rtf_file.h"

#include <string>

#include "common/program_folder.h"
#include "common/safe_file.h"

namespace movarek {
namespace {

// Far beyond any help document; a huge foreign file is read only this far.
constexpr std::size_t kRtfFileLimit = 16 * 1024 * 1024;

}  // namespace

EFOpenError::EFOpenError(std::string_view fileName)
    : std::runtime_error("Cannot open file " + std::string(fileName)) {}

RtfDocument loadRtfFile(std::string_view bareName) {
  // An installed program finds its document among the shared files beside its own folder.
  auto bytes = readFileStart(programFile(bareName), kRtfFileLimit);
  if (!bytes)
    bytes =
        readFileStart(programFile("../share/sms-movarek/" + std::string(bareName)), kRtfFileLimit);
  if (!bytes) throw EFOpenError(bareName);
  return parseRtf(*bytes);
}

}  // namespace movarek
