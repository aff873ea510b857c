#pragma once
// One running copy per data folder: two copies would each keep their own address book and
// overwrite each other's files. A second start brings the running copy's window to the front
// and ends. Only copies of the same user ever talk to each other.
#include <QObject>
#include <functional>
#include <string>

#include "common/instance_endpoint.h"

namespace movarek {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // Claims the data folder for this copy, unless another copy of this user holds it. The claim
  // goes with the process: a copy that crashed or was killed leaves nothing that holds the next.
  explicit SingleInstance(const std::string& dataFolder, QObject* parent = nullptr);
  ~SingleInstance() override;

  // This copy may run: it holds the folder, or no private folder could tell (the program then
  // runs as it would without the rule).
  bool claimed() const { return !heldByAnother_; }
  // This copy alone writes the folder: what a write cut short left there is its to remove.
  bool holdsFolder() const { return holdsFolder_; }

  // Asks the copy that holds the folder to bring its window to the front; false when it did
  // not answer in time.
  bool raiseRunningCopy() const;

  // What this copy does when a later start asks it to come to the front.
  void onRaise(std::function<void()> raise) { raise_ = std::move(raise); }

 private:
  void listen();
  void acceptAsking();

  InstanceEndpoint endpoint_;
  int lock_ = -1;
  int listener_ = -1;
  bool holdsFolder_ = false;
  bool heldByAnother_ = false;
  std::function<void()> raise_;
};

}  // namespace movarek
