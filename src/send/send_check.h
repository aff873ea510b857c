#pragma once
// The two sends as plain functions: the checks in their order, and the gateway URL that a
// send which passes them loads. Field texts come in as code page 1250; refusal texts go out
// as UTF-8, ready for the screen.
#include <string>
#include <string_view>

namespace movarek {

// Where the keyboard focus goes after a refused send.
enum class SendFocus {
  Unchanged,
  EmailAddress,
  EmailMessage,
  OskarNumber,
  OskarMessage,
  OskarPrefix,
  ModemNumber,
  ModemMessage
};

// The fields as a send that passed its checks carries them (code page 1250): what the sent
// messages keep of it. The Oskar prefix is the one sent ("608"), not the list's item.
struct SentFields {
  std::string addressees;
  std::string message;
  std::string oskarPrefix;
  std::string senderPrefix;
  std::string sender;
};

struct SendCheck {
  std::string url;  // the request to load; empty when the send is refused
  std::string message;
  std::string caption;
  SendFocus focus = SendFocus::Unchanged;
  SentFields sent = {};

  // A refusal always says why; a send by the modem passes with no URL.
  bool refused() const { return !message.empty(); }
};

// The "SMS E-mail" page: `addresses` as typed in the address field, `message` the memo's
// text with CR LF between lines.
// A field whose encoded form is longer than one request carries is refused: nothing is sent,
// and nothing goes out cut.
SendCheck checkEmailSend(std::string_view addresses, std::string_view message);

// Why such a list or message was refused, `length` being its encoded length in bytes.
std::string addressListTooLongMessage(std::size_t length);
std::string messageTooLongMessage(std::size_t length);

// No entry selected in the prefix list.
inline constexpr int kNoPrefix = -1;

struct OskarFields {
  std::string_view number;
  std::string_view message;
  int prefixIndex = kNoPrefix;  // 0..3 as listed, anything else when none is selected
  std::string_view sender;
  std::string_view senderPrefix;
};

SendCheck checkOskarSend(const OskarFields& fields);

// The question both sends ask once the request is on its way.
inline constexpr std::string_view kSentQuestion =
    "Zpráva byla úspěšně odeslána na SMS centrum Vertanix.\nChcete vymazat text odeslané zprávy?";
inline constexpr std::string_view kSentCaption = "Zpráva odeslána";

}  // namespace movarek
