#pragma once

#include "ai/JSONValue.h"

#include <QUrl>
#include <qcoro/qcorotask.h>

// What the file, application and web tools do with their arguments.
namespace nolvea::FileTools {

inline constexpr int kSearchLimit = 15;
inline constexpr int kSearchSeconds = 8;

// Up to 15 paths below the home folder, one a line, or "Nada encontrado.".
QCoro::Task<QString> searchFiles(JSONValue arguments);
// Opens (or, with "reveal", shows) an existing file or folder; never a program.
QString openFile(const JSONValue& arguments);
QString openApp(const JSONValue& arguments);
// Opens http, https and mailto addresses only.
QString openURL(const JSONValue& arguments);
QString webSearch(const JSONValue& arguments);

// The results page for `query`, every character but the unreserved ones percent-encoded.
QUrl searchURL(const QString& query);

} // namespace nolvea::FileTools
