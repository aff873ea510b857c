#pragma once
// What the user is asked before a link of a guest page opens outside, so that it cannot pass
// for another: no character that is invisible or turns text round (those of the control,
// format and line and paragraph separator categories, shown as "\u{202E}"), the host in the
// ASCII form it is reached by on every line, and every addressee of a mail address on a line
// of its own.
#include <QString>
#include <QUrl>

namespace movarek {

// `host` is the link's host as it is reached.
QString linkQuestion(const QUrl& url, const QString& host);

// A mail address with only its addressees (to, cc, bcc), its subject and its text: nothing else
// it names (a file to attach, a header of its own) reaches the mail program.
QUrl mailPassedOn(const QUrl& url);

}  // namespace movarek
