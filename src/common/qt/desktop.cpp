#include "common/qt/desktop.h"

#include <QProcess>
#include <QUrl>
#include <map>

#include "common/qt/log.h"
#include "common/qt/message_box.h"

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

// xdg-open's own ways of saying that nothing could open the address; any other end is a browser
// it waited for, which ended as browsers do.
constexpr int kNoOpener = 3;
constexpr int kOpeningFailed = 4;

void tellCannotOpen(const QUrl& url, const QString& reason) {
  qCWarning(movarekLog).noquote() << reason;
  showError(QStringLiteral("Adresu se nepodařilo otevřít: v počítači chybí program, který by "
                             "ji otevřel.\nOtevřete ji prosím sami (adresu můžete z této zprávy "
                             "zkopírovat):\n\n%1")
                  .arg(url.toDisplayString()));
}

}  // namespace

void rememberUsersVariable(const char* name) {
  userValues().try_emplace(name, UserValue{qEnvironmentVariableIsSet(name), qgetenv(name)});
}

void setEngineVariable(const char* name, const QByteArray& value) {
  rememberUsersVariable(name);
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
  // Without a parent: a browser it starts and waits for outlives the program.
  auto* opener = new QProcess;
  opener->setProgram(QStringLiteral("xdg-open"));
  opener->setArguments({url.toString(QUrl::FullyEncoded)});
  opener->setProcessEnvironment(userEnvironment());
  opener->setStandardOutputFile(QProcess::nullDevice());
  opener->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  QObject::connect(opener, &QProcess::errorOccurred, opener,
                   [opener, url](QProcess::ProcessError error) {
                     if (error != QProcess::FailedToStart) return;
                     tellCannotOpen(url, "cannot start xdg-open: " + opener->errorString());
                     opener->deleteLater();
                   });
  QObject::connect(opener, &QProcess::finished, opener,
                   [opener, url](int exitCode, QProcess::ExitStatus status) {
                     if (status == QProcess::NormalExit &&
                         (exitCode == kNoOpener || exitCode == kOpeningFailed)) {
                       tellCannotOpen(url, QStringLiteral("xdg-open ended with %1").arg(exitCode));
                     }
                     opener->deleteLater();
                   });
  opener->start();
}

}  // namespace movarek
