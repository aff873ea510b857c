#include "send/qt/sent_messages_removal.h"

#include <algorithm>
#include <memory>

#include "common/qt/message_box.h"
#include "common/qt/program_database.h"
#include "send/sent_messages.h"

namespace movarek {
namespace {

// How many records one job deletes.
constexpr int kDeletedAtOnce = 1000;

}  // namespace

SentMessagesRemoval::SentMessagesRemoval(ProgramDatabase& database, QString caption,
                                         QObject* parent)
    : QObject(parent), database_(database), caption_(std::move(caption)) {}

bool SentMessagesRemoval::asked(const QString& question) {
  return showMessage(question, caption_, MessageButtons::YesNoDefaultNo) == MessageAnswer::Yes;
}

bool SentMessagesRemoval::removeChosen(const std::vector<Chosen>& chosen) {
  if (chosen.empty()) return false;
  const QString question =
      chosen.size() > 1
          ? QStringLiteral("Opravdu chcete smazat vybrané zprávy (%1)?").arg(chosen.size())
      : chosen.front().plan ? QStringLiteral("Opravdu chcete zrušit vybranou naplánovanou zprávu?")
                            : QStringLiteral("Opravdu chcete vybranou zprávu smazat?");
  if (!asked(question)) return false;
  auto kept = std::make_shared<int>(0);
  const std::size_t batch = kDeletedAtOnce;
  for (std::size_t first = 0; first < chosen.size(); first += batch) {
    std::vector<std::int64_t> records;
    std::vector<std::int64_t> plans;
    for (std::size_t i = first; i < std::min(chosen.size(), first + batch); ++i) {
      (chosen[i].plan ? plans : records).push_back(chosen[i].id);
    }
    removeBatch(std::move(records), std::move(plans), kept, first + batch >= chosen.size());
  }
  return true;
}

void SentMessagesRemoval::removeBatch(std::vector<std::int64_t> records,
                                      std::vector<std::int64_t> plans, std::shared_ptr<int> kept,
                                      bool last) {
  database_.change(
      this,
      [records = std::move(records), plans = std::move(plans), kept](Database& database) {
        SentMessages store(database);
        const auto removed = store.remove(records);
        const auto cancelled = removed ? store.cancel(plans) : std::nullopt;
        if (!cancelled) return false;
        *kept += static_cast<int>(records.size() + plans.size()) - *removed - *cancelled;
        return true;
      },
      [this, last, kept](const JobEnd& end) {
        if (toldFailure(end)) return;
        if (!last) return;
        tellKept(*kept);
        emit removed();
      });
}

bool SentMessagesRemoval::removeFound(const QString& search) {
  if (!asked(search.isEmpty()
                 ? QStringLiteral("Opravdu chcete smazat všechny odeslané zprávy?")
                 : QStringLiteral("Opravdu chcete smazat všechny zprávy, které hledání „%1“ najde?")
                       .arg(search))) {
    return false;
  }
  removeFoundFrom(search.toStdString());
  return true;
}

void SentMessagesRemoval::removeFoundFrom(const std::string& search) {
  auto deleted = std::make_shared<int>(0);
  auto underWay = std::make_shared<int>(0);
  database_.change(
      this,
      [search, deleted, underWay](Database& kept) {
        SentMessages store(kept);
        const auto count = store.removeFound(search, kDeletedAtOnce);
        if (!count) return false;
        *deleted = *count;
        if (*deleted == kDeletedAtOnce) return true;
        const auto sending = store.sendingFound(search);
        if (sending) *underWay = *sending;
        return sending.has_value();
      },
      [this, search, deleted, underWay](const JobEnd& end) {
        if (toldFailure(end)) return;
        if (*deleted == kDeletedAtOnce) return removeFoundFrom(search);
        tellKept(*underWay);
        emit removed();
      });
}

bool SentMessagesRemoval::toldFailure(const JobEnd& end) {
  if (end.done || !end.fault) return false;
  database_.tellFailure(QStringLiteral("Zprávy nelze smazat"), *end.fault);
  emit failed();
  return true;
}

void SentMessagesRemoval::tellKept(int kept) {
  if (kept == 0) return;
  showMessage(
      kept == 1
          ? QStringLiteral("Zprávu už nelze zrušit: program ji začal odesílat.")
          : QStringLiteral("Zprávy (%1) už nelze zrušit: program je začal odesílat.").arg(kept),
      caption_);
}

}  // namespace movarek
