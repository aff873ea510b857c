#pragma once
// The contacts dialog's groups, below its list: choosing a group marks its members in the list;
// the marked contacts are saved as a group; a group is renamed or deleted. The groups are read
// and written on the database's thread.
#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "addressbook/contact_groups.h"

class QListWidget;
class QPushButton;

namespace movarek {

class ContactStore;
class ProgramDatabase;

class ContactGroupsPanel : public QObject {
  Q_OBJECT

 public:
  // The addresses marked in the dialog's list, in list order (code page 1250).
  using MarkedAddresses = std::function<std::vector<std::string>()>;

  // Places the panel's controls on `dialog`, whose `contactList` lists `contacts`; the groups
  // are kept in `database`.
  ContactGroupsPanel(QWidget& dialog, QListWidget& contactList, const ContactStore& contacts,
                     ProgramDatabase& database, MarkedAddresses marked);

  QListWidget* listSkupiny;
  QPushButton* btnUlozitSkupinu;
  QPushButton* btnPrejmenovatSkupinu;
  QPushButton* btnSmazatSkupinu;

  // Lists the groups as stored, `selected` (a name) selected.
  void listGroups(const QString& selected = {});
  // The groups follow a change of the book; `then` gets how many new groups were left unmade.
  void follow(const std::optional<GroupChanges>& changes,
              const std::function<void(int unmade)>& then = {});

 signals:
  // Enter on a group: once its members are marked, the dialog takes them as its OK does.
  void groupTaken();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void build(QWidget& dialog);
  void connectControls();
  // The controls, usable only while the database is on.
  void enableControls();
  std::int64_t selectedGroup() const;
  // A name typed for a group, once it is neither empty nor another group's; nothing when the
  // user cancelled.
  std::optional<std::string> askGroupName(const QString& caption, const QString& name,
                                          std::int64_t renamed);
  void saveMarkedAsGroup();
  // Marks the selected group's members, then runs `then`.
  void markGroup(const std::function<void()>& then = {});
  void renameGroup();
  void deleteGroup();
  // Writes a group named `name` (added, or renamed) and lists the groups with it selected.
  void writeGroup(std::function<ContactGroups::Naming(ContactGroups&)> write,
                  const std::string& name, const QString& failure);

  QListWidget& contactList_;
  const ContactStore& contacts_;
  ProgramDatabase& database_;
  MarkedAddresses marked_;
  std::vector<ContactGroup> groups_;  // as last listed
};

}  // namespace movarek
