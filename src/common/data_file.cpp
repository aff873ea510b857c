#include "addressbook/data_file.h"

#include "common/program_folder.h"
#include "common/safe_file.h"

namespace movarek {

std::string saveFailureMessage(std::string_view bareName, std::string_view folder) {
  std::string text = "Soubor ";
  text += bareName;
  text += " nelze uložit do složky programu ";
  text += folder;
  text += ".\nZměny platí jen do ukončení programu.";
  return text;
}

DataFile::DataFile(std::string bareName, UserNotice notice)
    : bareName_(std::move(bareName)), notice_(std::move(notice)) {}

std::optional<std::string> DataFile::read(std::size_t limit) const {
  return readFileStart(programFile(bareName_), limit);
}

void DataFile::write(std::string_view bytes) {
  if (replaceFile(programFile(bareName_), bytes) || failureTold_) return;
  failureTold_ = true;
  notice_(saveFailureMessage(bareName_, programFolder()), std::string(kErrorCaption));
}

}  // namespace movarek
