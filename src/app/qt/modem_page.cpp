#include "app/qt/modem_page.h"

#include <QButtonGroup>
#include <QDBusConnection>
#include <QFrame>
#include <QStackedWidget>

#include "app/qt/addressed_page.h"
#include "app/qt/main_window_layout.h"
#include "common/qt/accessibility.h"
#include "common/qt/designed_look.h"
#include "common/qt/memo.h"
#include "common/qt/picture_page.h"
#include "common/qt/qt_text.h"
#include "flat/qt/flat_edit.h"
#include "send/modem_counter.h"
#include "send/page_names.h"
#include "send/qt/modem_manager.h"
#include "send/qt/send_flow.h"

namespace movarek {

using namespace main_window;

namespace {

// Ten parts of the 7-bit alphabet, and more, so that a longer text is refused with its count
// rather than cut.
constexpr int kModemMemoLimit = 2000;

QString counterHint(const ModemCount& count) {
  if (count.encoding == ModemEncoding::Gsm7) return kCounterHint;
  return kCounterHint + QStringLiteral(
                            ". Znak „%1“ nemá místo v abecedě GSM, proto modem pošle celý text v "
                            "kódování UCS-2: jedna zpráva pojme 70 znaků.")
                            .arg(qtFromUtf8(count.forcedUcs2By));
}

}  // namespace

ModemPage::ModemPage(const Window& window, QObject* parent)
    : QObject(parent), window_(window), modems_(new ModemManager(this)) {
  btnModem = new ChoiceButton(qtFromUtf8(pageNames(Page::Modem).tab), QAccessible::PageTab,
                              &window_.tabBar);
  btnModem->setFocusPolicy(Qt::TabFocus);
  btnModem->setFont(window_.tabs.first()->font());
  window_.tabs.first()->group()->addButton(btnModem);
  QWidget::setTabOrder(window_.tabs.last(), btnModem);
  btnModem->hide();
  window_.book.addWidget(buildPage());
  connect(btnModem, &QPushButton::clicked, this, &ModemPage::chosen);
  connect(modems_, &ModemManager::modemsChanged, this, &ModemPage::modemsChanged);
  connect(&window_.book, &QStackedWidget::currentChanged, this, &ModemPage::pageChanged);
  connect(memoTextModem, &TMemo::textChanged, this, &ModemPage::recount);
}

QWidget* ModemPage::buildPage() {
  const AddressedPage built =
      addressedPage(Page::Modem, QStringLiteral("Číslo"), kModemMemoLimit, 353);
  editCislo = built.address;
  btnPoslatModem = built.send;
  memoTextModem = built.memo;
  return built.page;
}

void ModemPage::serve(const SendFlow& flow) {
  flow_ = &flow;
  // A send's end is told by the guard's change: the page may go then.
  connect(&flow, &SendFlow::closeGuardChanged, this, &ModemPage::modemsChanged);
}

void ModemPage::start() { modems_->start(QDBusConnection::systemBus()); }

bool ModemPage::available() const { return !btnModem->isHidden(); }

void ModemPage::modemsChanged() {
  const bool sending = flow_ && flow_->busy(Page::Modem);
  if (!modems_->modems().isEmpty() || sending) return showTab(true);
  showTab(false);
}

void ModemPage::showTab(bool shown) {
  if (shown == available()) return;
  btnModem->setVisible(shown);
  layOutTabs();
  if (!shown && window_.book.currentIndex() == int(Page::Modem)) emit wentAway();
}

// The bar keeps its width: the tabs share it, the last one taking what the division leaves.
void ModemPage::layOutTabs() {
  QList<QPushButton*> tabs = window_.tabs;
  if (available()) tabs << btnModem;
  const int width = window_.tabBar.width() / int(tabs.size());
  for (int i = 0; i < tabs.size(); ++i) {
    const bool last = i == tabs.size() - 1;
    tabs[i]->setGeometry(i * width, 0, last ? window_.tabBar.width() - i * width : width,
                         kPageBarHeight);
  }
}

void ModemPage::recount() {
  if (window_.book.currentIndex() != int(Page::Modem)) return;
  const ModemCount count = countForModem(memoTextModem->toPlainText().toStdString());
  window_.counter.setText(QStringLiteral("%1 / %2").arg(count.characters).arg(count.parts));
  const QString hint = counterHint(count);
  window_.counter.setToolTip(hint);
  window_.counter.setAccessibleDescription(hint);
}

// The other pages' counters say nothing of UCS-2.
void ModemPage::pageChanged(int index) {
  if (index == int(Page::Modem)) return recount();
  window_.counter.setToolTip(kCounterHint);
  window_.counter.setAccessibleDescription(kCounterHint);
}

}  // namespace movarek
