#include "common/data_file.h"

#include <cerrno>

#include "common/diagnostics.h"
#include "common/program_folder.h"
#include "common/safe_file.h"

namespace movarek {

std::string saveFailureMessage(std::string_view bareName, std::string_view folder,
                               std::string_view consequence) {
  std::string text = "Soubor ";
  text += bareName;
  text +=
      folder == programFolder() ? " nelze uložit do složky programu " : " nelze uložit do složky ";
  text += folder;
  text += ".\n";
  text += consequence;
  return text;
}

DataFile::DataFile(std::string bareName, UserNotice notice, std::string_view consequence)
    : bareName_(std::move(bareName)), notice_(std::move(notice)), consequence_(consequence) {}

std::optional<std::string> DataFile::read(std::size_t limit) const {
  return readFileStart(dataFile(bareName_), limit);
}

bool DataFile::write(std::string_view bytes) {
  if (makeDataFolder() && replaceFile(dataFile(bareName_), bytes)) return true;
  logFault("cannot store " + dataFile(bareName_) + ": " + systemReason(errno));
  if (!failureTold_ && notice_) {
    failureTold_ = true;
    notice_(saveFailureMessage(bareName_, dataFolder(), consequence_), std::string(kErrorCaption));
  }
  return false;
}

}  // namespace movarek
