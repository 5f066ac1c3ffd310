#pragma once

#include <QString>

// Installs every Linux layer in the platform registry: the desktop services of the X11
// session, the voice pipeline and the rest (opening files and programs, file search, the
// user's name, mail, the file dialog, the desktop keyring, the panels' windowing). Needs a
// QApplication; main thread, once at start. `speechModels` is the application's own folder of
// speech models.
namespace nolvea::LinuxPlatform {

void install(const QString& speechModels);

} // namespace nolvea::LinuxPlatform
