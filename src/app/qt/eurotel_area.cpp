#include "app/qt/eurotel_area.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "send/send_failure.h"
#include "webview/qt/web_browser.h"

namespace movarek {
namespace {

constexpr qint64 kSecondEndWithinMs = 60 * 1000;
constexpr int kReloadWidth = 120;
constexpr int kReloadHeight = 25;
constexpr int kReloadBottomMargin = 12;

const QString kLoading = QStringLiteral("Stránka se načítá, prosím vyčkejte...");

}  // namespace

EurotelArea::EurotelArea(QLabel& notice, TCppWebBrowser& view)
    : QObject(&notice), notice_(notice), view_(view), reload_(new QPushButton(&notice)) {
  notice_.setWordWrap(true);
  reload_->setText(QStringLiteral("Načíst znovu"));
  reload_->setGeometry((notice_.width() - kReloadWidth) / 2,
                       notice_.height() - kReloadHeight - kReloadBottomMargin, kReloadWidth,
                       kReloadHeight);
  reload_->hide();
  connect(reload_, &QPushButton::clicked, this, &EurotelArea::reload);
  connect(&view_, &TCppWebBrowser::RendererEnded, this, &EurotelArea::rendererEnded);
  connect(&view_, &TCppWebBrowser::EngineMissing, this, &EurotelArea::engineMissing);
}

// The window keeps its size, so the panel does too: filling it once is filling it for good.
void EurotelArea::pageComplete() {
  reload_->hide();
  view_.setGeometry(notice_.rect());
}

void EurotelArea::rendererEnded() {
  if (sinceRendererEnded_.isValid() && sinceRendererEnded_.elapsed() < kSecondEndWithinMs) {
    showNotice(QStringLiteral("Stránka Eurotel přestala fungovat."), true);
    return;
  }
  sinceRendererEnded_.start();
  reload();
}

void EurotelArea::engineMissing() {
  showNotice(QStringLiteral("Stránku nelze zobrazit: ") +
                 QString::fromUtf8(kMissingEngine.data(), qsizetype(kMissingEngine.size())),
             false);
}

void EurotelArea::reload() {
  showNotice(kLoading, false);
  view_.Reload();
}

void EurotelArea::showNotice(const QString& text, bool canReload) {
  const bool hadFocus = view_.isAncestorOf(QApplication::focusWidget());
  view_.setGeometry(0, 0, 0, notice_.height());
  notice_.setText(text);
  reload_->setVisible(canReload);
  if (canReload && hadFocus) reload_->setFocus();
}

}  // namespace movarek
