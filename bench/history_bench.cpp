// How the windows cope with what years of use keep in movarek.db: the sent messages' window with
// 1,000,000 records, the contacts dialog with a full book of 1000 and 1000 groups of 1000 members,
// and Ctrl+T with 1000 templates, each measured the same way: from the key that opens it to its
// first paint, from each key or click in it to the window painted anew, and how much the
// program's memory grew while it was open; then "Smazat vše" of the whole history, with the
// longest time the window's thread was kept from its events meanwhile. Usage: history-bench
// FOLDER.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "addressbook/contact_store.h"
#include "addressbook/qt/contact_groups_panel.h"
#include "addressbook/qt/contacts_dialog.h"
#include "app/program_schema.h"
#include "app/qt/forms.h"
#include "app/qt/main_window.h"
#include "common/database.h"
#include "common/program_folder.h"
#include "common/qt/memo.h"
#include "common/qt/message_box.h"
#include "common/qt/modal.h"
#include "common/qt/program_database.h"
#include "common/qt/qt_text.h"
#include "probe.h"
#include "send/qt/sent_messages_window.h"
#include "send/sent_messages.h"

namespace {

constexpr int kRecords = 1000000;
constexpr int kContacts = 1000;
constexpr int kGroups = 1000;
constexpr int kTemplates = 1000;
constexpr int kRounds = 5;

const char* const kNames[] = {"Jana Nováková",   "Petr Dvořák",    "Jiří Černý",    "Eva Svobodová",
                              "Tomáš Procházka", "Lucie Kučerová", "Martin Veselý", "Žofie Malá"};
const char* const kWords[] = {"ahoj", "zítra", "přijdu", "večer", "díky",   "nákup", "schůzka",
                              "v",    "kolik", "hodin",  "máme",  "kočka",  "pozdě", "čekám",
                              "auto", "domů",  "škola",  "ráno",  "večeře", "jídlo"};

std::string recordText(int i) {
  std::string text;
  for (int word = 0; text.size() < 100 + static_cast<std::size_t>(i % 60); ++word) {
    text += kWords[(i * 7 + word * 13) % std::size(kWords)];
    text += ' ';
  }
  return text;
}

std::string contactAddress(int i) { return "kontakt" + std::to_string(i) + "@sms.cz"; }

double databaseMb() {
  return static_cast<double>(
             std::filesystem::file_size(movarek::dataFile(movarek::kDatabaseName))) /
         1e6;
}

// Written in two transactions: the history of years of sending; every contact in every group
// and the templates. The file's size after the history, which it is when there are no groups.
double fillDatabase() {
  movarek::Database database(movarek::dataFile(movarek::kDatabaseName), movarek::programSchema());
  database.setFaultHandler([](const movarek::DatabaseFault& fault) {
    std::fprintf(stderr, "history-bench: %s\n", fault.reason.c_str());
  });
  database.use([](sqlite3* connection) {
    movarek::Database::execute(connection, "BEGIN");
    movarek::Statement insert(connection,
                              "INSERT INTO sent_message (sent_at, page, addressees, text, state) "
                              "VALUES (?1, 'e-mail', ?2, ?3, 'sent')");
    for (int i = 0; i < kRecords; ++i) {
      const std::string name = kNames[i % std::size(kNames)];
      insert.bind(1, std::int64_t{1600000000} + std::int64_t{i} * 60)
          .bind(2, name + " <kontakt" + std::to_string(i % 700) + "@sms.cz>")
          .bind(3, recordText(i))
          .run();
    }
    movarek::Database::execute(connection, "COMMIT");
  });
  const double historyMb = databaseMb();
  database.use([](sqlite3* connection) {
    movarek::Database::execute(connection, "BEGIN");
    movarek::Statement group(
        connection, "INSERT INTO contact_group (id, name, name_key) VALUES (?1, ?2, lower(?2))");
    movarek::Statement member(connection,
                              "INSERT INTO group_member (group_id, address) VALUES (?1, ?2)");
    movarek::Statement kept(connection,
                            "INSERT INTO message_template (position, text) VALUES (?1, ?2)");
    for (int i = 1; i <= kGroups; ++i) {
      group.bind(1, i).bind(2, "Skupina " + std::to_string(i)).run();
      for (int contact = 0; contact < kContacts; ++contact) {
        member.bind(1, i).bind(2, contactAddress(contact)).run();
      }
      kept.bind(1, i).bind(2, recordText(i)).run();
    }
    movarek::Database::execute(connection, "COMMIT");
  });
  return historyMb;
}

void fillAddressBook() {
  movarek::ContactStore store({});
  std::vector<movarek::ContactTexts> contacts;
  for (int i = 0; i < kContacts; ++i) {
    contacts.push_back({movarek::toCp1250(QStringLiteral("Kontakt %1").arg(i, 4, 10, QChar('0'))),
                        "kontakt" + std::to_string(i) + "@sms.cz",
                        "777" + std::to_string(100000 + i)});
  }
  store.AddContacts(contacts);
}

long residentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

// Calls `act`, then waits for the next paint of `widget`'s window; the time of that paint.
double paintedAfter(QWidget& widget, const std::function<void()>& act) {
  double painted = 0;
  new bench::PaintProbe(*widget.window(), [&painted](double at) { painted = at; });
  act();
  while (painted == 0) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  return painted;
}

struct Figures {
  std::vector<double> openMs;
  std::vector<double> stepMs;
  std::vector<double> shownMs;  // until what was read is on the screen too
  long grewKb = 0;
};

// `painted` (a paint's time) or, where the window had to wait for what it reads, the paint that
// shows it.
double shownBy(QWidget& widget, double painted, const std::function<bool()>& ready) {
  if (!ready || ready()) return painted;
  while (!ready()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  // What came is on the screen by the next paint; one is asked for, should nothing have changed.
  return paintedAfter(widget, [&widget] { widget.window()->update(); });
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void print(const char* what, const Figures& figures) {
  std::printf(
      "%s: painted %.1f ms after its key (median of %d, worst %.1f); a step %.1f ms "
      "(median, worst %.1f); what was read shown %.1f ms after its key or step (median, worst "
      "%.1f); memory grew %.1f MB at most\n",
      what, median(figures.openMs), kRounds,
      *std::max_element(figures.openMs.begin(), figures.openMs.end()), median(figures.stepMs),
      *std::max_element(figures.stepMs.begin(), figures.stepMs.end()), median(figures.shownMs),
      *std::max_element(figures.shownMs.begin(), figures.shownMs.end()),
      static_cast<double>(figures.grewKb) / 1024.0);
}

std::vector<std::function<void()>> typing(QWidget& field, const std::vector<QKeySequence>& keys) {
  std::vector<std::function<void()>> steps;
  for (const QKeySequence& key : keys) {
    steps.push_back([&field, key] { QTest::keySequence(&field, key); });
  }
  return steps;
}

// Opens a window with `open` kRounds times, as the program does, and takes `steps` in it one at
// a time; `ready` tells when what the window reads has come. The modal loop is the benchmark's:
// the window is shown, measured and hidden.
Figures measure(const std::function<void()>& open, const std::vector<std::function<void()>>& steps,
                const std::function<bool()>& ready = {}) {
  Figures figures;
  const long before = residentKb();
  double pressed = 0;
  movarek::setModalHandler([&](QDialog& shown) {
    const double opened = paintedAfter(shown, [&] { shown.show(); });
    figures.openMs.push_back(opened - pressed);
    figures.shownMs.push_back(shownBy(shown, opened, ready) - pressed);
    for (const auto& step : steps) {
      const double taken = bench::nowMs();
      const double painted = paintedAfter(shown, step);
      figures.stepMs.push_back(painted - taken);
      figures.shownMs.push_back(shownBy(shown, painted, ready) - taken);
    }
    figures.grewKb = std::max(figures.grewKb, residentKb() - before);
    shown.hide();
    return int{QDialog::Rejected};
  });
  for (int round = 0; round < kRounds; ++round) {
    pressed = bench::nowMs();
    open();
  }
  return figures;
}

// From Ctrl+T in the message field to the templates' menu on the screen.
void printTemplatesPopUp(movarek::TfrmMain& window) {
  window.activateWindow();
  window.memoText->setFocus();
  std::vector<double> shownMs;
  for (int round = 0; round < kRounds; ++round) {
    const double pressed = bench::nowMs();
    window.Vlozitsablonu1->trigger();
    QWidget* menu = QApplication::activePopupWidget();
    if (!menu) return;
    shownMs.push_back(paintedAfter(*menu, [] {}) - pressed);
    menu->close();
  }
  std::printf(
      "Ctrl+T with %d templates: menu painted %.1f ms after the key (median of %d, worst "
      "%.1f)\n",
      kTemplates, median(shownMs), kRounds, *std::max_element(shownMs.begin(), shownMs.end()));
}

// "Smazat vše" of the whole history, and the longest the window's thread went without handling
// its events while the records were deleted on the database's thread.
void printDeleteAll(movarek::Forms& forms) {
  auto& history = forms.odeslane();
  double longestPauseMs = 0;
  double tookMs = 0;
  movarek::setMessageHandler(
      [](const movarek::MessageRequest&) { return movarek::MessageAnswer::Yes; });
  movarek::setModalHandler([&](QDialog& shown) {
    shown.show();
    if (!QTest::qWaitForWindowExposed(&shown)) return int{QDialog::Rejected};
    while (!forms.database().idle()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    const double pressed = bench::nowMs();
    double lastTick = pressed;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
      const double now = bench::nowMs();
      longestPauseMs = std::max(longestPauseMs, now - lastTick);
      lastTick = now;
    });
    ticks.start(5);
    history.btnSmazatVse->click();
    while (!forms.database().idle() || history.listZpravy->model()->rowCount() > 0) {
      QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    tookMs = bench::nowMs() - pressed;
    shown.hide();
    return int{QDialog::Rejected};
  });
  forms.main().Odeslanezpravy1->trigger();
  std::printf(
      "Smazat vše of %d records: done in %.1f s; the window's thread went %.1f ms at most "
      "without its events\n",
      kRecords, tookMs / 1000, longestPauseMs);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: history-bench FOLDER\n");
    return 2;
  }
  QApplication app(argc, argv);
  movarek::setProgramFolder(argv[1]);
  const double historyMb = fillDatabase();
  fillAddressBook();
  std::printf(
      "sent messages: %d records in a file of %.1f MB; with %d groups of %d members and "
      "%d templates, %.1f MB\n",
      kRecords, historyMb, kGroups, kContacts, kTemplates, databaseMb());

  movarek::Forms forms;
  forms.main().show();
  if (!QTest::qWaitForWindowExposed(&forms.main())) return 1;
  QTest::qWait(1000);

  auto& history = forms.odeslane();
  const std::vector<QKeySequence> search = {QKeySequence("n"), QKeySequence("o"),
                                            QKeySequence("v"), QKeySequence("a"),
                                            QKeySequence("x"), QKeySequence("q")};
  print("Odeslané zprávy, 1,000,000 records (Ctrl+H, then typing \"novaxq\")",
        measure([&] { forms.main().Odeslanezpravy1->trigger(); },
                typing(*history.editHledat, search), [&] { return forms.database().idle(); }));
  auto& contacts = forms.kontakty();
  const auto contactsRead = [&] { return forms.database().idle(); };
  print("Kontakty, 1000 contacts in 1000 groups (Ctrl+K, then Down six times)",
        measure([&] { forms.main().Kontakty1->trigger(); },
                typing(*contacts.listboxJmena,
                       std::vector<QKeySequence>(search.size(), QKeySequence(Qt::Key_Down))),
                contactsRead));
  std::vector<std::function<void()>> choosing;
  for (int row : {0, 500, 999}) {
    choosing.push_back([&contacts, row] {
      QListWidgetItem* group = contacts.panelSkupiny->listSkupiny->item(row);
      if (!group) return;
      contacts.panelSkupiny->listSkupiny->setCurrentItem(group);
      emit contacts.panelSkupiny->listSkupiny->itemClicked(group);
    });
  }
  print("Kontakty, a group of 1000 chosen (Ctrl+K, then three groups)",
        measure([&] { forms.main().Kontakty1->trigger(); }, choosing, contactsRead));
  printTemplatesPopUp(forms.main());
  printDeleteAll(forms);
  return historyMb < 400 ? 0 : 1;
}
