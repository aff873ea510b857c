#pragma once
// Characters the gateway's code page cannot carry travel as "?": the user is asked first.
#include <QStringList>

namespace movarek {

// True when the fields a send carries hold only what the code page has, or the user agreed to
// send the rest as "?" (No is the default: the text stays as it is).
bool agreedToLoseCharacters(const QStringList& fields);

}  // namespace movarek
