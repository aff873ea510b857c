#pragma once
// "Exportovat…" in the history: the records a search finds, written as CSV to a file the user
// chooses, streamed from the database's thread as they are read, so that a long history is
// never held whole; how many were stored, or why the file could not be, is told.
#include <functional>
#include <string>

class QWidget;

namespace movarek {

class ProgramDatabase;

// `held` tells that another program holds the database: the export waits until it is free.
void exportSentMessages(ProgramDatabase& database, QWidget* window, const std::string& search,
                        const std::function<void()>& held);

}  // namespace movarek
