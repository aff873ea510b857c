#pragma once
// Message templates: texts the user keeps to put into a message again, in the order the user
// gives them, kept in the program's database as typed (UTF-8).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace movarek {

class Database;

struct MessageTemplate {
  std::int64_t id = 0;
  std::string text;
};

class MessageTemplates {
 public:
  explicit MessageTemplates(Database& database);

  // Every template, in the user's order; nothing when they cannot be read.
  std::optional<std::vector<MessageTemplate>> all();
  bool add(std::string_view text);
  bool change(std::int64_t id, std::string_view text);
  bool remove(std::int64_t id);
  // Swaps the template with its neighbour above (-1) or below (+1); false at either end.
  bool move(std::int64_t id, int by);

 private:
  Database& database_;
};

// How a template is named in a menu: its first line, shortened to `longest` characters.
std::string templateCaption(std::string_view text, std::size_t longest = 40);

}  // namespace movarek
