#include "agent/Shell.h"

#include "agent/ToolError.h"
#include "support/ChildProcess.h"

#include <cmath>

namespace nolvea::Shell {

QCoro::Task<QString> run(QString executable, QStringList arguments, double timeout,
                         CancelToken cancel) {
    cancel.check();
    ChildProcess::Setup setup;
    setup.program = executable;
    setup.arguments = arguments;
    setup.input = ChildProcess::Input::inherited;
    setup.timeLimit = Clock::Duration(qint64(std::llround(std::max(0.0, timeout) * 1000)));
    setup.stopGrace = killGrace;
    setup.cancel = cancel;

    const ChildProcess::Exit exit = co_await ChildProcess::run(std::move(setup));
    if (exit.cancelled) throw Cancelled();
    if (exit.status == 0 && !exit.signalled) co_return QString::fromUtf8(exit.out).trimmed();
    const QString err = QString::fromUtf8(exit.err);
    if (!err.isEmpty()) throw ToolError::failed(err);
    throw ToolError::failed(QStringLiteral("Falhou (%1).").arg(exit.status));
}

} // namespace nolvea::Shell
