#pragma once
// A note on the desktop (org.freedesktop.Notifications), for what the user should hear of while
// the program's window is not in front.
#include <QString>
#include <functional>

class QObject;

namespace movarek {

// Shows "SMS Movarek" with `body`; `unheard` runs (on this thread, within a few seconds) when no
// notification service answered, so that the caller can say it another way.
void notifyOnDesktop(const QString& body, QObject* context, std::function<void()> unheard);

}  // namespace movarek
