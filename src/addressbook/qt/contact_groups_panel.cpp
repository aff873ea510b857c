#include "addressbook/qt/contact_groups_panel.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <memory>

#include "addressbook/contact_store.h"
#include "addressbook/qt/user_notice.h"
#include "common/cp1250.h"
#include "common/qt/accessibility.h"
#include "common/qt/input_box.h"
#include "common/qt/message_box.h"
#include "common/qt/placed_controls.h"
#include "common/qt/program_database.h"

namespace movarek {
namespace {

const QString kGroupsCaption = QStringLiteral("Skupiny");
// The buttons line up with the dialog's fields and buttons above them.
constexpr int kButtonsX = 256;
constexpr int kButtonsWidth = 324;

}  // namespace

ContactGroupsPanel::ContactGroupsPanel(QWidget& dialog, QListWidget& contactList,
                                       const ContactStore& contacts, ProgramDatabase& database,
                                       MarkedAddresses marked)
    : QObject(&dialog),
      contactList_(contactList),
      contacts_(contacts),
      database_(database),
      marked_(std::move(marked)) {
  build(dialog);
  connectControls();
}

void ContactGroupsPanel::build(QWidget& dialog) {
  placedSeparator(&dialog, QRect(8, 310, 572, 2));
  QLabel* label = placedLabel(&dialog, QStringLiteral("Skupiny:"), QRect(8, 318, 60, 16));
  listSkupiny = new QListWidget(&dialog);
  listSkupiny->setGeometry(70, 316, 175, 48);
  nameByLabel(*label, *listSkupiny, kGroupsCaption);
  btnUlozitSkupinu = placedButton(&dialog, QStringLiteral("Uložit označené jako skupinu…"),
                                  QRect(kButtonsX, 316, kButtonsWidth, 23));
  btnPrejmenovatSkupinu =
      placedButton(&dialog, QStringLiteral("Přejmenovat skupinu…"), QRect(kButtonsX, 341, 160, 23));
  btnSmazatSkupinu =
      placedButton(&dialog, QStringLiteral("Smazat skupinu"), QRect(kButtonsX + 164, 341, 160, 23));
}

void ContactGroupsPanel::connectControls() {
  // A click marks the members; Enter (the list's filter) also takes them.
  connect(listSkupiny, &QListWidget::itemClicked, this, [this] { markGroup(); });
  listSkupiny->installEventFilter(this);
  connect(btnUlozitSkupinu, &QPushButton::clicked, this, &ContactGroupsPanel::saveMarkedAsGroup);
  connect(btnPrejmenovatSkupinu, &QPushButton::clicked, this, &ContactGroupsPanel::renameGroup);
  connect(btnSmazatSkupinu, &QPushButton::clicked, this, &ContactGroupsPanel::deleteGroup);
  connect(&database_, &ProgramDatabase::wentOff, this, &ContactGroupsPanel::enableControls);
}

bool ContactGroupsPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == listSkupiny && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      markGroup([this] { emit groupTaken(); });
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

void ContactGroupsPanel::enableControls() {
  for (QWidget* control : std::initializer_list<QWidget*>{
           listSkupiny, btnUlozitSkupinu, btnPrejmenovatSkupinu, btnSmazatSkupinu}) {
    control->setEnabled(!database_.off());
  }
}

void ContactGroupsPanel::listGroups(const QString& selected) {
  enableControls();
  database_.fetch<std::vector<ContactGroup>>(
      this, [](Database& database) { return ContactGroups(database).all(); },
      [this, selected](std::vector<ContactGroup> listed) {
        groups_ = std::move(listed);
        listSkupiny->clear();
        for (const ContactGroup& group : groups_) {
          auto* item = new QListWidgetItem(QString::fromStdString(group.name), listSkupiny);
          item->setData(Qt::UserRole, QVariant::fromValue(group.id));
          if (item->text() == selected) listSkupiny->setCurrentItem(item);
        }
      });
}

std::int64_t ContactGroupsPanel::selectedGroup() const {
  const QListWidgetItem* item = listSkupiny->currentItem();
  return item ? item->data(Qt::UserRole).toLongLong() : 0;
}

void ContactGroupsPanel::follow(const std::optional<GroupChanges>& changes,
                                const std::function<void(int unmade)>& then) {
  if (!changes || changes->empty()) return;
  auto unmade = std::make_shared<int>(0);
  database_.change(
      this,
      [changes = *changes, unmade](Database& database) {
        const auto applied = ContactGroups(database).apply(changes);
        if (applied) *unmade = *applied;
        return applied.has_value();
      },
      [this, unmade, then](const JobEnd& end) {
        database_.doneElseTold(end, QStringLiteral("Skupiny kontaktů nelze upravit"));
        listGroups();
        if (then) then(*unmade);
      });
}

std::optional<std::string> ContactGroupsPanel::askGroupName(const QString& caption,
                                                            const QString& name,
                                                            std::int64_t renamed) {
  const auto typed = askForText({caption, QStringLiteral("Název skupiny:"), name});
  if (!typed) return std::nullopt;
  const std::string trimmed = trimmedGroupName(typed->toStdString());
  if (trimmed.empty()) {
    tellAddressBookError(QStringLiteral("Není zadán název skupiny!"));
    return std::nullopt;
  }
  const bool taken = std::ranges::any_of(groups_, [&](const ContactGroup& group) {
    return group.id != renamed && groupNameKey(group.name) == groupNameKey(trimmed);
  });
  if (taken) {
    tellAddressBookError(
        QStringLiteral("Skupina %1 už existuje.").arg(QString::fromStdString(trimmed)));
    return std::nullopt;
  }
  return trimmed;
}

void ContactGroupsPanel::writeGroup(std::function<ContactGroups::Naming(ContactGroups&)> write,
                                    const std::string& name, const QString& failure) {
  auto naming = std::make_shared<ContactGroups::Naming>(ContactGroups::Naming::Failed);
  database_.change(
      this,
      [write = std::move(write), naming](Database& database) {
        ContactGroups groups(database);
        *naming = write(groups);
        return *naming != ContactGroups::Naming::Failed;
      },
      [this, naming, name, failure](const JobEnd& end) {
        const QString shown = QString::fromStdString(name);
        if (*naming == ContactGroups::Naming::Taken) {
          tellAddressBookError(QStringLiteral("Skupina %1 už existuje.").arg(shown));
        } else if (!end.done && end.fault) {
          database_.tellFailure(failure, *end.fault);
        }
        listGroups(shown);
      });
}

void ContactGroupsPanel::saveMarkedAsGroup() {
  std::vector<std::string> addresses;
  for (const auto& address : marked_()) {
    if (!address.empty()) addresses.push_back(cp1250ToUtf8(address));
  }
  if (addresses.empty()) {
    tellAddressBookError(QStringLiteral("Označte kontakty, které má skupina mít."));
    return;
  }
  const auto name = askGroupName(QStringLiteral("Nová skupina"), {}, 0);
  if (!name) return;
  writeGroup(
      [name = *name, addresses](ContactGroups& groups) { return groups.add(name, addresses); },
      *name, QStringLiteral("Skupinu nelze uložit"));
}

// Exactly the members still in the book are marked; those the book no longer holds are told.
void ContactGroupsPanel::markGroup(const std::function<void()>& then) {
  const auto id = selectedGroup();
  if (!id) return;
  database_.fetch<std::vector<std::string>>(
      this, [id](Database& database) { return ContactGroups(database).members(id); },
      [this, id, then](const std::vector<std::string>& members) {
        if (selectedGroup() != id) return;
        std::vector<bool> found(members.size(), false);
        for (int row = 0; row < contactList_.count(); ++row) {
          const std::string address = cp1250ToUtf8(contacts_.book().record(row).addressText());
          const auto member = std::find(members.begin(), members.end(), address);
          const bool marked = !address.empty() && member != members.end();
          if (marked) found[static_cast<std::size_t>(member - members.begin())] = true;
          contactList_.item(row)->setCheckState(marked ? Qt::Checked : Qt::Unchecked);
        }
        const auto missing = std::count(found.begin(), found.end(), false);
        if (missing > 0) {
          showMessage(QStringLiteral("Ve skupině %1 jsou kontakty, které v adresáři už nejsou: %2.")
                          .arg(listSkupiny->currentItem()->text())
                          .arg(missing),
                      kGroupsCaption);
        }
        if (then) then();
      });
}

void ContactGroupsPanel::renameGroup() {
  const auto id = selectedGroup();
  if (!id) return;
  const auto name =
      askGroupName(QStringLiteral("Přejmenovat skupinu"), listSkupiny->currentItem()->text(), id);
  if (!name) return;
  writeGroup([id, name = *name](ContactGroups& groups) { return groups.rename(id, name); }, *name,
             QStringLiteral("Skupinu nelze přejmenovat"));
}

// The contacts stay in the book.
void ContactGroupsPanel::deleteGroup() {
  const auto id = selectedGroup();
  if (!id) return;
  const auto answer =
      showMessage(QStringLiteral("Opravdu chcete skupinu %1 smazat? Kontakty v adresáři zůstanou.")
                      .arg(listSkupiny->currentItem()->text()),
                  kGroupsCaption, MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return;
  database_.change(
      this, [id](Database& database) { return ContactGroups(database).remove(id); },
      [this](const JobEnd& end) {
        database_.doneElseTold(end, QStringLiteral("Skupinu nelze smazat"));
        listGroups();
      });
}

}  // namespace movarek
