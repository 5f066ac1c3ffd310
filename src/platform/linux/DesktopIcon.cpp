#include "platform/linux/DesktopIcon.h"

#include "platform/linux/DesktopApplications.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace nolvea::DesktopIcon {

namespace {

const QStringList kSuffixes{QStringLiteral(".png"), QStringLiteral(".svg"), QStringLiteral(".xpm")};

QImage firstOf(const QString& stem) {
    for (const QString& suffix : kSuffixes) {
        const QImage image(stem + suffix);
        if (!image.isNull()) return image;
    }
    return {};
}

// The size folders of a theme ("48x48", "scalable"), largest first, scalable last.
QStringList sizeFolders(const QString& theme) {
    QStringList folders = QDir(theme).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    const auto side = [](const QString& folder) { return folder.section(u'x', 0, 0).toInt(); };
    std::stable_sort(folders.begin(), folders.end(),
                     [&](const QString& a, const QString& b) { return side(a) > side(b); });
    return folders;
}

} // namespace

QImage load(const QString& icon) {
    if (icon.isEmpty()) return {};
    if (QFileInfo(icon).isAbsolute()) return QImage(icon);
    // An Icon key is a name without suffix, but some entries carry one anyway.
    QString name = icon;
    for (const QString& suffix : kSuffixes)
        if (name.endsWith(suffix)) name.chop(suffix.size());
    QStringList dataFolders;
    for (const QString& folder : DesktopApplications::applicationFolders())
        dataFolders << QFileInfo(folder).path();
    for (const QString& data : dataFolders) {
        const QString theme = data + QStringLiteral("/icons/hicolor");
        for (const QString& size : sizeFolders(theme)) {
            const QImage image = firstOf(theme + u'/' + size + QStringLiteral("/apps/") + name);
            if (!image.isNull()) return image;
        }
    }
    for (const QString& data : dataFolders) {
        const QImage image = firstOf(data + QStringLiteral("/pixmaps/") + name);
        if (!image.isNull()) return image;
    }
    return {};
}

} // namespace nolvea::DesktopIcon
