#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace nolvea::VocabularyModel {

// `typed` without the blanks and tabs around it (line breaks are kept).
QString trimmed(const QString& typed);
// The list with the typed term at its end; nothing when the term is empty or already there
// (compared exactly, letter case included).
std::optional<QStringList> adding(const QStringList& list, const QString& typed);
// The list without any entry equal to `word`, the others in their order.
QStringList removing(const QStringList& list, const QString& word);

} // namespace nolvea::VocabularyModel
