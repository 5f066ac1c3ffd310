#include "updates/SystemVersion.h"

#include "updates/Distribution.h"

#include <QFile>

namespace nolvea {

namespace {

QString unquote(QString value) {
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

} // namespace

std::optional<int> SystemVersion::debianMajor(const QString& osReleasePath) {
    QFile file(osReleasePath);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QString id;
    QString versionID;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        const qsizetype eq = line.indexOf(u'=');
        if (line.startsWith(u'#') || eq <= 0) continue;
        const QString key = line.left(eq);
        if (key == u"ID") id = unquote(line.mid(eq + 1));
        if (key == u"VERSION_ID") versionID = unquote(line.mid(eq + 1));
    }
    if (id != u"debian") return std::nullopt;
    const auto major = Distribution::parseInteger(versionID.section(u'.', 0, 0));
    if (!major || *major < 0 || *major > 100000) return std::nullopt;
    return int(*major);
}

std::pair<qint64, qint64> SystemVersion::minimum(const QString& text) {
    QList<qint64> numbers;
    for (const QString& piece : text.split(u'.', Qt::SkipEmptyParts))
        if (const auto n = Distribution::parseInteger(piece)) numbers.append(*n);
    return {numbers.value(0, 0), numbers.value(1, 0)};
}

bool SystemVersion::supports(const std::optional<QString>& minimumText,
                             const QString& osReleasePath) {
    if (!minimumText) return true;
    const auto system = debianMajor(osReleasePath);
    if (!system) return true;
    // The system counts as <major>.0.0: os-release names no point release.
    const auto [major, minor] = minimum(*minimumText);
    return std::pair<qint64, qint64>(*system, 0) >= std::pair(major, minor);
}

} // namespace nolvea
