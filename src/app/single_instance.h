#pragma once
// One running copy per data folder: two copies would each keep their own address book and
// overwrite each other's files. A second start brings the running copy's window to the front
// and ends.
#include <QLocalServer>
#include <QObject>
#include <functional>

namespace movarek {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // Claims the data folder for this copy, unless another copy of this user has it. The claim
  // goes with the process: a copy that crashed or was killed leaves nothing that holds the next.
  explicit SingleInstance(const std::string& dataFolder, QObject* parent = nullptr);

  bool claimed() const { return claimed_; }

  // Asks the copy that has the folder to bring its window to the front; false when it did not
  // answer.
  bool raiseRunningCopy() const;

  // What this copy does when a later start asks it to come to the front.
  void onRaise(std::function<void()> raise) { raise_ = std::move(raise); }

 private:
  void answer(QLocalSocket* asking);

  QString name_;
  QLocalServer server_;
  std::function<void()> raise_;
  bool claimed_ = false;
};

// The name both copies use for the folder.
QString instanceName(const std::string& dataFolder);

}  // namespace movarek
