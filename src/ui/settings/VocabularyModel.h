#pragma once

#include "ui/animation/MotionPose.h"

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
// A chip on its way in or out at `progress` (0 inserted or removed, 1 at rest): scaled from
// nothing about its centre while it fades.
MotionPose chipPose(double progress);

} // namespace nolvea::VocabularyModel
