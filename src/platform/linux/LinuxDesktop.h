#pragma once

namespace nolvea::LinuxDesktop {

// Installs the desktop services of an X11 session in the platform registry: the key listener,
// key posting, the clipboard, the front window, accessibility, screen capture and the
// permission probe. Needs a QApplication. In a session without X11 they are installed all the
// same and fail their callers with a clear error.
void install();

} // namespace nolvea::LinuxDesktop
