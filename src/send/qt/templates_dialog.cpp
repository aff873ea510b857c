#include "send/qt/templates_dialog.h"

#include <QListWidget>
#include <QPushButton>

#include "common/qt/input_box.h"
#include "common/qt/message_box.h"
#include "common/qt/placed_controls.h"
#include "common/qt/program_database.h"
#include "send/message_templates.h"

namespace movarek {
namespace {

constexpr QSize kWindowSize(420, 260);
const QString kCaption = QStringLiteral("Šablony");

}  // namespace

void readStoredTemplates(ProgramDatabase& database, QObject* receiver,
                         std::function<void(const std::vector<MessageTemplate>&)> use) {
  database.fetch<std::vector<MessageTemplate>>(
      receiver, [](Database& stored) { return MessageTemplates(stored).all(); }, std::move(use));
}

TemplatesDialog::TemplatesDialog(ProgramDatabase& database, QWidget* parent)
    : QDialog(parent), database_(database) {
  setWindowTitle(kCaption);
  fixAndCentre(*this, kWindowSize);
  listSablony = new QListWidget(this);
  listSablony->setGeometry(8, 8, 300, 244);
  listSablony->setAccessibleName(kCaption);
  int top = 8;
  auto next = [&](const char* caption) {
    QPushButton* created = placedButton(this, QString::fromUtf8(caption), QRect(316, top, 96, 25));
    top += 31;
    return created;
  };
  btnUpravit = next("Upravit…");
  btnNahoru = next("Nahoru");
  btnDolu = next("Dolů");
  btnSmazat = next("Smazat");
  btnZavrit = placedButton(this, QStringLiteral("Zavřít"), QRect(316, 227, 96, 25));
  connect(listSablony, &QListWidget::itemActivated, this, &TemplatesDialog::changeSelected);
  connect(btnUpravit, &QPushButton::clicked, this, &TemplatesDialog::changeSelected);
  connect(btnNahoru, &QPushButton::clicked, this, [this] { moveSelected(-1); });
  connect(btnDolu, &QPushButton::clicked, this, [this] { moveSelected(1); });
  connect(btnSmazat, &QPushButton::clicked, this, &TemplatesDialog::removeSelected);
  connect(btnZavrit, &QPushButton::clicked, this, &QDialog::reject);
}

void TemplatesDialog::FormActivate() {
  relist(0);
  listSablony->setFocus();
}

void TemplatesDialog::relist(int selectedRow) {
  readStoredTemplates(
      database_, this, [this, selectedRow](const std::vector<MessageTemplate>& all) {
        listSablony->clear();
        for (const auto& kept : all) {
          auto* item = new QListWidgetItem(QString::fromStdString(kept.text), listSablony);
          item->setData(Qt::UserRole, QVariant::fromValue(kept.id));
        }
        listSablony->setCurrentRow(std::clamp(selectedRow, 0, listSablony->count() - 1));
      });
}

void TemplatesDialog::write(std::function<bool(MessageTemplates&)> change, const QString& failure,
                            int selectedRow) {
  database_.change(
      this,
      [change = std::move(change)](Database& stored) {
        MessageTemplates templates(stored);
        return change(templates);
      },
      [this, failure, selectedRow](const JobEnd& end) {
        database_.doneElseTold(end, failure);
        relist(selectedRow);
        emit changed();
      });
}

std::int64_t TemplatesDialog::selectedId() const {
  const QListWidgetItem* item = listSablony->currentItem();
  return item ? item->data(Qt::UserRole).toLongLong() : 0;
}

void TemplatesDialog::changeSelected() {
  const auto id = selectedId();
  if (!id) return;
  const auto text = askForText(
      {kCaption, QStringLiteral("Text šablony:"), listSablony->currentItem()->text(), true});
  if (!text) return;
  if (text->isEmpty()) {
    showError(QStringLiteral("Není zadán text šablony!"));
    return;
  }
  write([id, text = text->toStdString()](
            MessageTemplates& templates) { return templates.change(id, text); },
        QStringLiteral("Šablonu nelze změnit"), listSablony->currentRow());
}

// At either end of the list there is nowhere to move to: nothing happens.
void TemplatesDialog::moveSelected(int by) {
  const auto id = selectedId();
  const int to = listSablony->currentRow() + by;
  if (!id || to < 0 || to >= listSablony->count()) return;
  write([id, by](MessageTemplates& templates) { return templates.move(id, by); },
        QStringLiteral("Šablonu nelze přesunout"), to);
}

void TemplatesDialog::removeSelected() {
  const auto id = selectedId();
  if (!id) return;
  if (showMessage(QStringLiteral("Opravdu chcete vybranou šablonu smazat?"), kCaption,
                  MessageButtons::YesNoDefaultNo) != MessageAnswer::Yes)
    return;
  write([id](MessageTemplates& templates) { return templates.remove(id); },
        QStringLiteral("Šablonu nelze smazat"), listSablony->currentRow());
}

}  // namespace movarek
