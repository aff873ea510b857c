#include "send/qt/sent_messages_export.h"

#include <QFileInfo>
#include <QWidget>
#include <cerrno>
#include <memory>

#include "common/diagnostics.h"
#include "common/qt/file_choice.h"
#include "common/qt/message_box.h"
#include "common/qt/program_database.h"
#include "common/safe_file.h"
#include "send/sent_messages.h"

namespace movarek {
namespace {

struct Written {
  int count = 0;
  bool stored = true;
  int error = 0;
};

// The job on the database's thread: false when the records could not be read.
bool writeFound(Database& database, const std::string& search, const std::string& file,
                Written& written) {
  written = {};
  bool read = true;
  written.stored = replaceFileWith(file, [&](const ChunkWriter& write) {
    if (!write(sentCsvHeader())) return false;
    bool stored = true;
    read = SentMessages(database).forEach(search, [&](const SentRecord& record) {
      ++written.count;
      return stored = write(sentCsvLine(record));
    });
    return stored && read;
  });
  if (!written.stored) written.error = errno;
  return read;
}

void tellWritten(const QString& path, const Written& written) {
  if (!written.stored) {
    logFault("cannot store " + path.toStdString() + ": " + systemReason(written.error));
    showError(QStringLiteral("Soubor %1 nelze uložit.").arg(QFileInfo(path).fileName()));
    return;
  }
  showMessage(QStringLiteral("Uloženo zpráv: %1.").arg(written.count),
              QStringLiteral("Export zpráv"));
}

}  // namespace

void exportSentMessages(ProgramDatabase& database, QWidget* window, const std::string& search,
                        const std::function<void()>& held) {
  const QString path =
      chooseFile(window, {FileChoice::Save, QStringLiteral("Exportovat odeslané zprávy"),
                          QStringLiteral("CSV (*.csv)")});
  if (path.isEmpty()) return;
  auto written = std::make_shared<Written>();
  database.read(
      window,
      [search, file = path.toStdString(), written](Database& kept) {
        return writeFound(kept, search, file, *written);
      },
      [&database, path, written](const JobEnd& end) {
        if (database.doneElseTold(end, QStringLiteral("Zprávy nelze exportovat"))) {
          tellWritten(path, *written);
        }
      },
      held);
}

}  // namespace movarek
