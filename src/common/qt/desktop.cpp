#include "common/qt/desktop.h"

#include <QProcess>
#include <QUrl>
#include <map>

#include "common/qt/log.h"

namespace movarek {
namespace {

struct UserValue {
  bool set = false;
  QByteArray value;
};

std::map<QByteArray, UserValue>& userValues() {
  static std::map<QByteArray, UserValue> values;
  return values;
}

}  // namespace

void setEngineVariable(const char* name, const QByteArray& value) {
  userValues().try_emplace(name, UserValue{qEnvironmentVariableIsSet(name), qgetenv(name)});
  qputenv(name, value);
}

QProcessEnvironment userEnvironment() {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const auto& [name, user] : userValues()) {
    const QString key = QString::fromLocal8Bit(name);
    if (user.set) {
      environment.insert(key, QString::fromLocal8Bit(user.value));
    } else {
      environment.remove(key);
    }
  }
  return environment;
}

void openOnDesktop(const QUrl& url) {
  QProcess opener;
  opener.setProgram(QStringLiteral("xdg-open"));
  opener.setArguments({url.toString(QUrl::FullyEncoded)});
  opener.setProcessEnvironment(userEnvironment());
  if (!opener.startDetached()) {
    qCWarning(movarekLog) << "cannot start xdg-open:" << opener.errorString();
  }
}

}  // namespace movarek
