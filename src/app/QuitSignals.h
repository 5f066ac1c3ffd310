#pragma once

class QCoreApplication;

// Ends the application's event loop on SIGINT, SIGTERM and SIGHUP (Ctrl+C, the session's
// logout), so the exit sequence runs and no child process is left behind.
namespace nolvea::QuitSignals {

void install(QCoreApplication& app);

} // namespace nolvea::QuitSignals
