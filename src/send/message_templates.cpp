#include "send/message_templates.h"

#include <sqlite3.h>

#include "common/database.h"

namespace movarek {

MessageTemplates::MessageTemplates(Database& database) : database_(database) {}

std::optional<std::vector<MessageTemplate>> MessageTemplates::all() {
  return database_.rows("SELECT id, text FROM message_template ORDER BY position, id",
                        [](const Statement& row) {
                          return MessageTemplate{row.integer(0), row.text(1)};
                        });
}

bool MessageTemplates::add(std::string_view text) {
  return database_.run(
      "INSERT INTO message_template (position, text) "
      "VALUES ((SELECT coalesce(max(position), 0) + 1 FROM message_template), ?1)",
      text);
}

bool MessageTemplates::change(std::int64_t id, std::string_view text) {
  return database_.run("UPDATE message_template SET text = ?2 WHERE id = ?1", id, text);
}

bool MessageTemplates::remove(std::int64_t id) {
  return database_.run("DELETE FROM message_template WHERE id = ?1", id);
}

bool MessageTemplates::move(std::int64_t id, int by) {
  const auto listed = all();
  if (!listed) return false;
  const auto& templates = *listed;
  std::size_t at = 0;
  while (at < templates.size() && templates[at].id != id) ++at;
  const auto other = static_cast<std::ptrdiff_t>(at) + by;
  if (at == templates.size() || other < 0 || other >= std::ssize(templates)) return false;
  return database_.use([&](sqlite3* connection) {
    Transaction moving(connection);
    Statement place(connection, "UPDATE message_template SET position = ?2 WHERE id = ?1");
    // Positions made anew in the list's order, the two swapped.
    for (std::ptrdiff_t i = 0; i < std::ssize(templates); ++i) {
      const auto index = i == static_cast<std::ptrdiff_t>(at) ? other
                         : i == other                         ? static_cast<std::ptrdiff_t>(at)
                                                              : i;
      place.bind(1, templates[static_cast<std::size_t>(index)].id).bind(2, i + 1).run();
    }
    moving.commit();
  });
}

std::string templateCaption(std::string_view text, std::size_t longest) {
  std::string_view line = text.substr(0, text.find('\n'));
  if (line.size() <= longest) return std::string(line);
  // Cut before a UTF-8 continuation byte never splits a character.
  std::size_t cut = longest;
  while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
  return std::string(line.substr(0, cut)) + "…";
}

}  // namespace movarek
