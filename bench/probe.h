#pragma once
// What every benchmark program shares: one clock, the first paint of a window, the memory of
// the process with all its children, and the file the benchmark driver reads.
#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace bench {

// Milliseconds since the epoch, to the microsecond: the driver's and the simulator's clock.
double nowMs();

// Processor time this process has used so far, its every thread together: unlike the time on
// the clock, it hardly grows when other programs keep the machine busy.
double processorMs();

// Calls back once, at the next paint event of the window or of any widget in it.
class PaintProbe : public QObject {
 public:
  PaintProbe(QWidget& window, std::function<void(double paintedAtMs)> painted);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& window_;
  std::function<void(double)> painted_;
};

struct TreeMemory {
  long peakResidentKb = 0;  // the sum of every process's own peak
  long proportionalKb = 0;  // shared pages counted once overall, now
  int processes = 0;
};

// This process and all its descendants (the web engine's zygote, renderers, GPU process).
TreeMemory processTreeMemory();

// One "key value" line per measurement, appended as soon as it is known.
class ResultFile {
 public:
  explicit ResultFile(QString path);
  void write(const std::string& key, double value) const;
  // peak_rss_kb, pss_kb and processes, each key after `prefix`.
  void write(const TreeMemory& memory, const std::string& prefix = {}) const;
  // The time of a first paint, on the clock and in processor time.
  void writeFirstPaint(double paintedAtMs) const;

 private:
  QString path_;
};

}  // namespace bench
