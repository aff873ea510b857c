#pragma once
// The file dialog: every file the user picks goes through here, so that tests can pick it.
#include <QString>
#include <functional>

class QWidget;

namespace movarek {

enum class FileChoice { Open, Save };

struct FileRequest {
  FileChoice choice;
  QString caption;
  QString filters;  // "vCard (*.vcf);;CSV (*.csv)"
};

// The chosen file's path; empty when the user cancelled. A file to save without an extension
// gets the one of the filter chosen (the first one when a test picks the file); a file to save
// that exists already is replaced only when the user says so, asked with its whole name.
QString chooseFile(QWidget* parent, const FileRequest& request);

using FileHandler = std::function<QString(const FileRequest&)>;

// Replaces the real dialog (an empty handler puts it back).
void setFileHandler(FileHandler handler);

}  // namespace movarek
