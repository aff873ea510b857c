#include "send/qt/template_menus.h"

#include <QMenu>
#include <algorithm>

#include "common/qt/memo.h"
#include "common/qt/message_box.h"
#include "common/qt/modal.h"
#include "common/qt/program_database.h"
#include "send/message_templates.h"
#include "send/qt/templates_dialog.h"

namespace movarek {

TemplateMenus::TemplateMenus(ProgramDatabase& database, QWidget& window)
    : QObject(&window), database_(database), window_(window) {}

void TemplateMenus::readTemplates() {
  readStoredTemplates(database_, this,
                      [this](const std::vector<MessageTemplate>& all) { templates_ = all; });
}

void TemplateMenus::serve(TMemo& memo, std::function<void()> planLater) {
  memo.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&memo, &QWidget::customContextMenuRequested, this,
          [this, &memo, planLater = std::move(planLater)](const QPoint& at) {
            showContextMenu(memo, at, planLater);
          });
}

void TemplateMenus::showContextMenu(TMemo& memo, const QPoint& at,
                                    const std::function<void()>& planLater) {
  QMenu* menu = memo.createStandardContextMenu(at);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->addSeparator();
  menu->addAction(QStringLiteral("Odeslat později…"), this, planLater)
      ->setEnabled(!database_.off());
  menu->addSeparator();
  // Without the database there is nowhere to keep them.
  menu->addAction(QStringLiteral("Uložit text jako šablonu"), this,
                  [this, &memo] { storeText(memo); })
      ->setEnabled(!database_.off());
  menu->addMenu(insertMenu(memo, menu));
  menu->addAction(QStringLiteral("Šablony…"), this, &TemplateMenus::openDialog)
      ->setEnabled(!database_.off());
  menu->popup(memo.viewport()->mapToGlobal(at));
}

QMenu* TemplateMenus::insertMenu(TMemo& memo, QWidget* parent) {
  auto* menu = new QMenu(QStringLiteral("Vložit šablonu"), parent);
  for (const auto& kept : templates_) {
    const QString text = QString::fromStdString(kept.text);
    menu->addAction(QString::fromStdString(templateCaption(kept.text)), &memo, [&memo, text] {
      memo.insertFitting(text);
      memo.setFocus();
    });
  }
  if (templates_.empty()) menu->addAction(QStringLiteral("(žádné šablony)"))->setEnabled(false);
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
    showError(QStringLiteral("Není zadán text zprávy!"));
    return;
  }
  const std::string kept = text.toStdString();
  const bool held = std::ranges::any_of(
      templates_, [&](const MessageTemplate& stored) { return stored.text == kept; });
  if (held && showMessage(QStringLiteral("Tento text už je uložený jako šablona. Uložit ho znovu?"),
                          QStringLiteral("Šablony"),
                          MessageButtons::YesNoDefaultNo) != MessageAnswer::Yes) {
    return;
  }
  database_.change(
      this, [kept](Database& stored) { return MessageTemplates(stored).add(kept); },
      [this](const JobEnd& end) {
        database_.doneElseTold(end, QStringLiteral("Šablonu nelze uložit"));
        readTemplates();
      });
}

void TemplateMenus::openDialog() {
  if (!dialog_) {
    dialog_ = new TemplatesDialog(database_, &window_);
    connect(dialog_, &TemplatesDialog::changed, this, &TemplateMenus::readTemplates);
  }
  dialog_->FormActivate();
  showModal(*dialog_);
}

}  // namespace movarek
