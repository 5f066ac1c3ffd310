#pragma once

#include "agent/AgentTool.h"

#include <QUrl>

// Finding and opening files, applications and web addresses.
namespace nolvea::FileTools {

inline constexpr int kSearchLimit = 15;
inline constexpr int kSearchSeconds = 8;

// Up to 15 paths below the home folder, one a line, or "Nada encontrado.".
const AgentTool& searchFiles();
// Opens (or, with "reveal", shows) an existing file or folder; never a program.
const AgentTool& openFile();
const AgentTool& openApp();
// Opens http, https and mailto addresses only.
const AgentTool& openURL();
const AgentTool& webSearch();

// The results page for `query`, every character but the unreserved ones percent-encoded.
QUrl searchURL(const QString& query);

} // namespace nolvea::FileTools
