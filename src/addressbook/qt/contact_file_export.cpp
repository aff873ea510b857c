#include "addressbook/qt/contact_file_export.h"

#include <QFileInfo>
#include <QWidget>
#include <map>
#include <memory>

#include "addressbook/contact_groups.h"
#include "addressbook/contact_store.h"
#include "addressbook/qt/contact_files.h"
#include "addressbook/qt/user_notice.h"
#include "common/cp1250.h"
#include "common/qt/file_choice.h"
#include "common/qt/message_box.h"
#include "common/qt/program_database.h"
#include "common/safe_file.h"

namespace movarek {

ContactFileExport::ContactFileExport(QWidget& dialog, const ContactStore& contacts,
                                     ProgramDatabase& database)
    : QObject(&dialog), dialog_(dialog), contacts_(contacts), database_(database) {}

void ContactFileExport::chooseAndExport() {
  const QString path = chooseFile(
      &dialog_, {FileChoice::Save, QStringLiteral("Exportovat kontakty"), contactFileFilters()});
  if (path.isEmpty()) return;
  const auto format = contactFormatTold(path);
  if (!format) return;
  using GroupMap = std::map<std::string, std::vector<std::string>>;
  auto groups = std::make_shared<GroupMap>();
  database_.read(
      this,
      [groups](Database& database) {
        auto read = ContactGroups(database).groupsByAddress();
        if (read) *groups = std::move(*read);
        return read.has_value();
      },
      [this, path, format = *format, groups](const JobEnd& end) {
        if (!database_.doneElseTold(end, QStringLiteral("Kontakty nelze exportovat"))) return;
        const auto contacts = contacts_.book().contacts();
        const GroupsOf groupsOf = [&](const ContactTexts& contact) {
          const auto found = groups->find(cp1250ToUtf8(contact.address));
          return found == groups->end() ? std::vector<std::string>{} : found->second;
        };
        if (!replaceFile(path.toStdString(), format == ContactFormat::VCard
                                                 ? vCardsOf(contacts, groupsOf)
                                                 : csvOf(contacts, groupsOf))) {
          tellAddressBookError(
              QStringLiteral("Soubor %1 nelze uložit.").arg(QFileInfo(path).fileName()));
          return;
        }
        showMessage(QStringLiteral("Uloženo kontaktů: %1.").arg(contacts.size()),
                    QStringLiteral("Export kontaktů"));
      });
}

}  // namespace movarek
