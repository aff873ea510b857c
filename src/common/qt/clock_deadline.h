#pragma once
// A wait of the program's own that ends once, when its seconds have passed: a real timer
// measures them, unless a test stood in for the program's clock when the wait began; then only
// the clock's moves end it, so that the test never waits for it.
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <optional>

namespace movarek {

class ClockDeadline : public QObject {
  Q_OBJECT

 public:
  explicit ClockDeadline(std::int64_t seconds, QObject* parent = nullptr);

  // Counts the whole wait afresh from now.
  void start();
  void stop();
  bool isActive() const { return real_.isActive() || due_.has_value(); }

 signals:
  void timeout();

 private:
  void checkClock();
  void end();

  std::int64_t seconds_;
  QTimer real_;
  std::optional<std::int64_t> due_;  // by the clock a test stands in for
};

}  // namespace movarek
