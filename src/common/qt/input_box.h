#pragma once
// The application's input box: a Czech question with a text field, OK and "Storno". Every text
// the program asks for goes through here, so that tests can read the question and type the
// answer.
#include <QString>
#include <functional>
#include <optional>

namespace movarek {

struct InputRequest {
  QString caption;
  QString label;
  QString text;  // what the field holds at first
  bool multiLine = false;
};

// The text typed; nothing when the user cancelled.
using InputHandler = std::function<std::optional<QString>(const InputRequest&)>;

std::optional<QString> askForText(const InputRequest& request);

// Replaces the real box (an empty handler puts it back).
void setInputHandler(InputHandler handler);

}  // namespace movarek
