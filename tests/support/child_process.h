#pragma once
// A process a test starts ends with the test's own process, however that ends: a crash or a
// timeout of the test leaves no simulator or program behind.
#include <sys/prctl.h>

#include <QProcess>
#include <csignal>

namespace movarek::testing {

inline void endWithTheTest(QProcess& process) {
  process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

}  // namespace movarek::testing
