#include "platform/linux/HomeFileSearch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QQueue>
#include <QRegularExpression>

namespace nolvea {

namespace {

bool containsAll(const QString& text, const QStringList& terms) {
    for (const QString& t : terms)
        if (!text.contains(t, Qt::CaseInsensitive)) return false;
    return true;
}

bool contentMatches(const QFileInfo& info, const QStringList& terms) {
    if (info.size() > HomeFileSearch::maxContentBytes) return false;
    static const QMimeDatabase mimes;
    const QMimeType type = mimes.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    if (!type.inherits(QStringLiteral("text/plain"))) return false;
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly)) return false;
    return containsAll(QString::fromUtf8(file.readAll()), terms);
}

} // namespace

FileSearch::Result HomeFileSearch::search(const Query& query) {
    Result result;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList terms = query.text.split(blanks, Qt::SkipEmptyParts);
    if (terms.isEmpty() || query.limit <= 0) return result;

    QQueue<QString> folders;
    folders.enqueue(query.root);
    while (!folders.isEmpty()) {
        const QDir dir(folders.dequeue());
        // Without QDir::Hidden, names beginning with "." are left out: hidden items are
        // neither returned nor entered.
        const auto entries = dir.entryInfoList(
            QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name | QDir::IgnoreCase);
        for (const QFileInfo& info : entries) {
            if (query.deadline.hasExpired()) {
                result.timedOut = true;
                return result;
            }
            const bool folder = info.isDir();
            if (folder && info.fileName() == QLatin1String("Library")) continue;
            const bool match =
                containsAll(info.fileName(), terms) ||
                (!query.nameOnly && !folder && info.isFile() && contentMatches(info, terms));
            if (match) {
                result.paths << info.absoluteFilePath();
                if (result.paths.size() >= query.limit) return result;
            }
            // Links to folders are not followed: they may loop or leave the home folder.
            if (folder && !info.isSymLink()) folders.enqueue(info.absoluteFilePath());
        }
    }
    return result;
}

} // namespace nolvea
