#include "send/qt/templates_dialog.h"

#include <QListWidget>
#include <QPushButton>

#include "common/qt/input_box.h"
#include "common/qt/message_box.h"
#include "common/qt/placed_controls.h"
#include "send/message_templates.h"

namespace movarek {
namespace {

constexpr QSize kWindowSize(420, 260);
const QString kCaption = QStringLiteral("Šablony");

}  // namespace

TemplatesDialog::TemplatesDialog(MessageTemplates& templates, QWidget* parent)
    : QDialog(parent), templates_(templates) {
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
  listSablony->clear();
  for (const auto& kept : templates_.all()) {
    auto* item = new QListWidgetItem(QString::fromStdString(kept.text), listSablony);
    item->setData(Qt::UserRole, QVariant::fromValue(kept.id));
  }
  listSablony->setCurrentRow(std::min(selectedRow, listSablony->count() - 1));
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
    showMessage(QStringLiteral("Není zadán text šablony!"), QStringLiteral("Chyba"));
    return;
  }
  templates_.change(id, text->toStdString());
  relist(listSablony->currentRow());
}

void TemplatesDialog::moveSelected(int by) {
  const auto id = selectedId();
  if (id && templates_.move(id, by)) relist(listSablony->currentRow() + by);
}

void TemplatesDialog::removeSelected() {
  const auto id = selectedId();
  if (!id) return;
  if (showMessage(QStringLiteral("Opravdu chcete vybranou šablonu smazat?"), kCaption,
                  MessageButtons::YesNoDefaultNo) != MessageAnswer::Yes)
    return;
  templates_.remove(id);
  relist(listSablony->currentRow());
}

}  // namespace movarek
