#pragma once

#include "support/CancelToken.h"

#include <QStringList>
#include <qcoro/qcorotask.h>

#include <chrono>

// Runs one program as a child process, without a shell, and hands back its output.
namespace nolvea::Shell {

// How long a program stopped by the time limit gets to end before it is killed.
inline constexpr std::chrono::milliseconds killGrace{2000};

// Starts `executable` with `arguments` exactly as given, in a process group of its own, and
// waits for it without blocking the calling thread's event loop. Both pipes are read while it
// runs. After `timeout` seconds the group gets SIGTERM, and SIGKILL `killGrace` later.
// Returns standard output trimmed at both ends. Throws `ToolError::failed` with standard error
// (or "Falhou (N).") for a status other than 0 or a death by signal N, `ProcessStartError`
// when it cannot be started, and `Cancelled` (after stopping the group) when `cancel` fires.
// Timers go through `Clock::shared()`.
QCoro::Task<QString> run(QString executable, QStringList arguments, double timeout,
                         CancelToken cancel = {});

} // namespace nolvea::Shell
