#pragma once

#include <QByteArray>
#include <qcoro/qcorotask.h>

// Pictures of the screen for the model to look at.
namespace nolvea::ScreenCapture {

// A PNG of the screen under the mouse pointer, pointer drawn in, without this program's own
// windows, its longer side at most `maxDimension` pixels (never enlarged). Throws
// `ScreenCaptureError` with the reason when there is no screen, no image or no X11 session. On
// the main thread.
QCoro::Task<QByteArray> pngUnderMouse(double maxDimension);

} // namespace nolvea::ScreenCapture
