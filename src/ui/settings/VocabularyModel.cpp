#include "ui/settings/VocabularyModel.h"

#include <algorithm>

namespace nolvea::VocabularyModel {

namespace {
bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c.category() == QChar::Separator_Space;
}
} // namespace

QString trimmed(const QString& typed) {
    qsizetype start = 0;
    qsizetype end = typed.size();
    while (start < end && isBlank(typed[start]))
        ++start;
    while (end > start && isBlank(typed[end - 1]))
        --end;
    return typed.mid(start, end - start);
}

std::optional<QStringList> adding(const QStringList& list, const QString& typed) {
    const QString term = trimmed(typed);
    if (term.isEmpty() || list.contains(term, Qt::CaseSensitive)) return std::nullopt;
    QStringList out = list;
    out.append(term);
    return out;
}

QStringList removing(const QStringList& list, const QString& word) {
    QStringList out;
    for (const QString& w : list)
        if (w != word) out.append(w);
    return out;
}

MotionPose chipPose(double progress) {
    return {.opacity = std::clamp(progress, 0.0, 1.0), .scale = std::max(progress, 0.0)};
}

} // namespace nolvea::VocabularyModel
