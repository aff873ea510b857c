#include "app/qt/template_menus.h"

#include <QMenu>

#include "app/qt/memo.h"
#include "common/qt/message_box.h"
#include "common/qt/modal.h"
#include "send/message_templates.h"
#include "send/qt/templates_dialog.h"

namespace movarek {

TemplateMenus::TemplateMenus(MessageTemplates& templates, QWidget& window)
    : QObject(&window), templates_(templates), window_(window) {}

void TemplateMenus::serve(TMemo& memo) {
  memo.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&memo, &QWidget::customContextMenuRequested, this,
          [this, &memo](const QPoint& at) { showContextMenu(memo, at); });
}

void TemplateMenus::showContextMenu(TMemo& memo, const QPoint& at) {
  QMenu* menu = memo.createStandardContextMenu(at);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->addSeparator();
  menu->addAction(QStringLiteral("Uložit text jako šablonu"), this,
                  [this, &memo] { storeText(memo); });
  menu->addMenu(insertMenu(memo, menu));
  menu->addAction(QStringLiteral("Šablony…"), this, &TemplateMenus::openDialog);
  menu->popup(memo.viewport()->mapToGlobal(at));
}

QMenu* TemplateMenus::insertMenu(TMemo& memo, QWidget* parent) {
  auto* menu = new QMenu(QStringLiteral("Vložit šablonu"), parent);
  const auto templates = templates_.all();
  for (const auto& kept : templates) {
    const QString text = QString::fromStdString(kept.text);
    menu->addAction(QString::fromStdString(templateCaption(kept.text)), &memo, [&memo, text] {
      memo.insertFitting(text);
      memo.setFocus();
    });
  }
  if (templates.empty()) menu->addAction(QStringLiteral("(žádné šablony)"))->setEnabled(false);
  return menu;
}

void TemplateMenus::popUpAtCursor(TMemo& memo) {
  QMenu* menu = insertMenu(memo, &memo);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  if (!menu->actions().isEmpty()) menu->setActiveAction(menu->actions().constFirst());
  menu->popup(memo.viewport()->mapToGlobal(memo.cursorRect().bottomLeft()));
}

void TemplateMenus::storeText(TMemo& memo) {
  const QString text = memo.text();
  if (text.isEmpty()) {
    showMessage(QStringLiteral("Není zadán text zprávy!"), QStringLiteral("Chyba"));
    return;
  }
  if (templates_.holds(text.toStdString()) &&
      showMessage(QStringLiteral("Tento text už je uložený jako šablona. Uložit ho znovu?"),
                  QStringLiteral("Šablony"),
                  MessageButtons::YesNoDefaultNo) != MessageAnswer::Yes) {
    return;
  }
  templates_.add(text.toStdString());
}

void TemplateMenus::openDialog() {
  if (!dialog_) dialog_ = new TemplatesDialog(templates_, &window_);
  dialog_->FormActivate();
  showModal(*dialog_);
}

}  // namespace movarek
