#pragma once
// This computer and its local network as the machine itself sees them: the ranges no public
// server lives in, and every network of the machine's own interfaces, read from the system at
// each question.
#include <QHostAddress>

namespace movarek {

bool onLocalNetwork(const QHostAddress& address);

}  // namespace movarek
