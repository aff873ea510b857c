#include "send/sent_record_columns.h"

#include <functional>
#include <type_traits>

#include "common/database.h"
#include "send/sent_delivery.h"

namespace movarek {
namespace {

// The request is kept only while the message is still to go: the history needs it no more.
std::string_view keptRequest(const SentRecord& record) {
  return isPlan(record.state) ? std::string_view(record.request) : std::string_view();
}

// One column of a record: how the store writes it, reads it, and makes it anew when a message
// still to go begins its send.
struct Column {
  std::string_view name;
  void (*bind)(Statement& statement, int parameter, const SentRecord& record);
  void (*read)(const Statement& row, int column, SentRecord& record);
  bool replanned = false;      // written again when a message is replanned or its send ends
  std::string_view renewed{};  // what a send begun writes in its place; empty: it is kept
  std::string listed{};        // what a listed record holds of it; empty: all of it
};

template <auto field>
void bindField(Statement& statement, int parameter, const SentRecord& record) {
  statement.bind(parameter, record.*field);
}

template <auto field>
void readField(const Statement& row, int column, SentRecord& record) {
  if constexpr (std::is_same_v<std::remove_cvref_t<decltype(record.*field)>, std::string>) {
    record.*field = row.text(column);
  } else {
    record.*field = row.integer(column);
  }
}

template <auto field>
Column plain(std::string_view name) {
  return {name, &bindField<field>, &readField<field>};
}

template <auto field>
Column replanned(std::string_view name, std::string_view renewed) {
  return {name, &bindField<field>, &readField<field>, true, renewed};
}

// A record whose report's reference is known awaits its report until one says otherwise.
void bindDelivery(Statement& statement, int parameter, const SentRecord& record) {
  if (record.delivery) {
    statement.bind(parameter, deliveryCode(*record.delivery));
  } else if (record.reportReference) {
    statement.bind(parameter, deliveryCode(Delivery::Awaiting));
  } else {
    statement.bindNull(parameter);
  }
}

void bindReference(Statement& statement, int parameter, const SentRecord& record) {
  statement.bind(parameter, std::optional<std::int64_t>(record.reportReference));
}

void readReference(const Statement& row, int column, SentRecord& record) {
  record.reportReference =
      row.isNull(column) ? std::nullopt : std::optional(static_cast<unsigned>(row.integer(column)));
}

// Every column but the id, in the order the store writes them. A send begun is written anew as
// being sent at ?2.
const Column kColumns[] = {
    {"sent_at", &bindField<&SentRecord::sentAt>, &readField<&SentRecord::sentAt>, false, "?2"},
    {"page",
     [](Statement& statement, int parameter, const SentRecord& record) {
       statement.bind(parameter, pageCode(record.page));
     },
     [](const Statement& row, int column, SentRecord& record) {
       record.page = pageOfCode(row.text(column));
     }},
    plain<&SentRecord::addressees>("addressees"),
    plain<&SentRecord::oskarPrefix>("oskar_prefix"),
    plain<&SentRecord::senderPrefix>("sender_prefix"),
    plain<&SentRecord::sender>("sender"),
    {"text",
     &bindField<&SentRecord::text>,
     &readField<&SentRecord::text>,
     false,
     {},
     "substr(text, 1, " + std::to_string(SentMessages::kListedTextLength) + ")"},
    {"state",
     [](Statement& statement, int parameter, const SentRecord& record) {
       statement.bind(parameter, stateCode(record.state));
     },
     [](const Statement& row, int column, SentRecord& record) {
       record.state = stateOfCode(row.text(column)).value_or(SentState::Sending);
     },
     true, "'sending'"},
    replanned<&SentRecord::reason>("reason", "''"),
    replanned<&SentRecord::dueAt>("due_at", {}),
    replanned<&SentRecord::giveUpAt>("give_up_at", {}),
    {"request",
     [](Statement& statement, int parameter, const SentRecord& record) {
       statement.bindBytes(parameter, keptRequest(record));
     },
     &readField<&SentRecord::request>, true, "x''", "x''"},
    plain<&SentRecord::route>("route"),
    // A send begun anew has no report yet.
    {"report_reference", &bindReference, &readReference, true, "NULL"},
    {"delivery", &bindDelivery,
     [](const Statement& row, int column, SentRecord& record) {
       record.delivery = deliveryOfCode(row.text(column));
     },
     true, "NULL"},
    replanned<&SentRecord::deliveryReason>("delivery_reason", "''"),
};

// The columns' names, or what `each` makes of each column, joined by commas.
std::string joined(const std::function<std::string(const Column&, int position)>& each) {
  std::string list;
  int position = 0;
  for (const Column& column : kColumns) {
    const std::string item = each(column, ++position);
    if (item.empty()) continue;
    list += (list.empty() ? "" : ", ") + item;
  }
  return list;
}

const std::string& writtenColumns() {
  static const std::string names =
      joined([](const Column& column, int) { return std::string(column.name); });
  return names;
}

}  // namespace

std::string readColumns(bool whole) {
  return "id, " + joined([whole](const Column& column, int) {
           return std::string(whole || column.listed.empty() ? column.name : column.listed);
         });
}

SentRecord recordAt(const Statement& row) {
  SentRecord record;
  record.id = row.integer(0);
  int at = 0;
  for (const Column& column : kColumns) column.read(row, ++at, record);
  return record;
}

const std::string& insertSql() {
  static const std::string sql =
      "INSERT INTO sent_message (" + writtenColumns() + ") VALUES (" +
      joined([](const Column&, int position) { return "?" + std::to_string(position); }) + ")";
  return sql;
}

Statement& bindInserted(Statement& statement, const SentRecord& record) {
  int position = 0;
  for (const Column& column : kColumns) column.bind(statement, ++position, record);
  return statement;
}

// The id at ?1, each column at its place after it.
const std::string& replanSql() {
  static const std::string sql =
      "UPDATE sent_message SET " + joined([](const Column& column, int position) {
        return column.replanned ? std::string(column.name) + " = ?" + std::to_string(position + 1)
                                : std::string();
      }) +
      " WHERE id = ?1";
  return sql;
}

Statement& bindReplanned(Statement& statement, const SentRecord& record) {
  statement.bind(1, record.id);
  int position = 1;
  for (const Column& column : kColumns) {
    ++position;
    if (column.replanned) column.bind(statement, position, record);
  }
  return statement;
}

std::string renewSql(std::string_view condition) {
  return "INSERT INTO sent_message (" + writtenColumns() + ") SELECT " +
         joined([](const Column& column, int) {
           return std::string(column.renewed.empty() ? column.name : column.renewed);
         }) +
         " FROM sent_message WHERE " + std::string(condition);
}

}  // namespace movarek
