#pragma once
// The time as the program reads it, for whatever waits for one (planned messages, their
// retries, every ClockDeadline) and for the times its records keep: tests stand in for it with
// a time of their own and move it on, so that they never wait for it.
#include <QObject>
#include <cstdint>
#include <functional>

namespace movarek {

class ProgramClock : public QObject {
  Q_OBJECT

 public:
  static ProgramClock& instance();

  // Seconds since 1970, UTC.
  std::int64_t now() const;

  // A test's own time (an empty one puts the system's back); `moved` is then emitted whenever the
  // test says its time has moved on.
  void standIn(std::function<std::int64_t()> now);
  bool stoodIn() const { return static_cast<bool>(standIn_); }
  void movedOn() { emit moved(); }

 signals:
  void moved();

 private:
  std::function<std::int64_t()> standIn_;
};

}  // namespace movarek
