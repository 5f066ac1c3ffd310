#pragma once

#include "system/ScreenContext.h"

#include <chrono>

// Takes the snapshot of what the person is looking at: the application in front (its name,
// class and process) and, when the desktop's accessibility layer is on, its window title, the
// selected text and the text before the caret of the focused field. Synchronous, on the
// caller's thread; never fails: what cannot be read stays empty.
namespace nolvea::ScreenContextReader {

// The most the accessibility part of a snapshot may take.
inline constexpr std::chrono::milliseconds accessibilityBudget{250};

ScreenContext capture();

} // namespace nolvea::ScreenContextReader
