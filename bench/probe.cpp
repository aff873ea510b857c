#include "probe.h"

#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>
#include <QWidget>
#include <chrono>
#include <map>
#include <vector>

namespace bench {
namespace {

QString readProcFile(int pid, const char* name) {
  QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromLatin1(file.readAll());
}

int parentOf(int pid) {
  // The command name in parentheses may hold spaces: the parent follows its closing one.
  const QString stat = readProcFile(pid, "stat");
  const int nameEnd = stat.lastIndexOf(QLatin1Char(')'));
  if (nameEnd < 0) return -1;
  const auto fields = stat.mid(nameEnd + 2).split(QLatin1Char(' '));
  return fields.size() > 1 ? fields[1].toInt() : -1;
}

std::vector<int> processTree(int root) {
  std::multimap<int, int> children;
  for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
    bool isPid = false;
    const int pid = entry.toInt(&isPid);
    if (isPid) children.emplace(parentOf(pid), pid);
  }
  std::vector<int> tree{root};
  for (std::size_t i = 0; i < tree.size(); ++i) {
    const auto [first, last] = children.equal_range(tree[i]);
    for (auto it = first; it != last; ++it) tree.push_back(it->second);
  }
  return tree;
}

long kilobytesOf(const QString& text, const char* field) {
  const QRegularExpression line(QStringLiteral("^%1:\\s+(\\d+) kB").arg(QLatin1String(field)),
                                QRegularExpression::MultilineOption);
  return line.match(text).captured(1).toLong();
}

}  // namespace

double nowMs() {
  using namespace std::chrono;
  return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count() / 1000.0;
}

double processorMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& time) { return time.tv_sec * 1000.0 + time.tv_usec / 1000.0; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

PaintProbe::PaintProbe(QWidget& window, std::function<void(double)> painted)
    : QObject(&window), window_(window), painted_(std::move(painted)) {
  qApp->installEventFilter(this);
}

bool PaintProbe::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == &window_) {
    const double paintedAt = nowMs();
    qApp->removeEventFilter(this);
    deleteLater();
    painted_(paintedAt);
  }
  return false;
}

TreeMemory processTreeMemory() {
  TreeMemory memory;
  for (int pid : processTree(static_cast<int>(QCoreApplication::applicationPid()))) {
    memory.peakResidentKb += kilobytesOf(readProcFile(pid, "status"), "VmHWM");
    memory.proportionalKb += kilobytesOf(readProcFile(pid, "smaps_rollup"), "Pss");
    ++memory.processes;
  }
  return memory;
}

ResultFile::ResultFile(QString path) : path_(std::move(path)) {}

void ResultFile::write(const std::string& key, double value) const {
  QFile file(path_);
  if (!file.open(QIODevice::Append | QIODevice::Text)) return;
  QTextStream(&file) << QString::fromStdString(key) << ' ' << QString::number(value, 'f', 3)
                     << '\n';
}

void ResultFile::writeFirstPaint(double paintedAtMs) const {
  write("first_paint_ms", paintedAtMs);
  write("first_paint_cpu_ms", processorMs());
}

void ResultFile::write(const TreeMemory& memory, const std::string& prefix) const {
  write(prefix + "peak_rss_kb", memory.peakResidentKb);
  write(prefix + "pss_kb", memory.proportionalKb);
  write(prefix + "processes", memory.processes);
}

}  // namespace bench
