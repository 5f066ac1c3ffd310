#include "ui/components/BrandFont.h"

#include "BuildInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

namespace nolvea {

namespace {

// What this process registered, set at start before any screen reads it.
struct Registered {
    bool available = false;
    QList<int> ids;
};

Registered& registered() {
    static Registered state;
    return state;
}

bool semiBoldPresent() {
    return QFontDatabase::families().contains(BrandFont::kFamily) &&
           QFontDatabase::styles(BrandFont::kFamily).contains("SemiBold");
}

} // namespace

bool BrandFont::isAvailable() {
    return registered().available;
}

QStringList BrandFont::folders() {
    QStringList out;
    if (QCoreApplication::instance())
        out << QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/nolvea/fonts");
    out << QDir::cleanPath(QString::fromUtf8(buildinfo::kInstallPrefix) + "/share/nolvea/fonts");
    out.removeDuplicates();
    return out;
}

void BrandFont::registerFonts() {
    if (isAvailable()) return;
    registerFrom(folders());
}

void BrandFont::registerFrom(const QStringList& folders) {
    Registered& state = registered();
    if (state.available) return;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        if (!dir.exists()) continue;
        const QStringList entries = dir.entryList(QDir::Files, QDir::Unsorted);
        QStringList fonts;
        for (const QString& e : entries) {
            const QString ext = QFileInfo(e).suffix().toLower();
            if (ext == "otf" || ext == "ttf") fonts << dir.filePath(e);
        }
        if (fonts.isEmpty()) continue;
        for (const QString& f : fonts)
            if (const int id = QFontDatabase::addApplicationFont(f); id >= 0) state.ids << id;
        state.available = semiBoldPresent();
        if (state.available) return;
    }
}

void BrandFont::forget() {
    Registered& state = registered();
    for (const int id : std::as_const(state.ids))
        QFontDatabase::removeApplicationFont(id);
    state = {};
}

void BrandFont::setPixels(QFont& font, double pixels) {
    double dpi = 96;
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        if (auto* screen = app->primaryScreen()) dpi = screen->logicalDotsPerInchY();
    font.setPointSizeF(pixels * 72.0 / dpi);
}

QFont BrandFont::font(Face face, double pixels, QFont::Weight fallbackWeight) {
    QFont f;
    if (isAvailable()) {
        f = QFont(kFamily);
        switch (face) {
        case Face::semiBold:
            f.setStyleName("SemiBold");
            f.setWeight(QFont::DemiBold);
            break;
        case Face::regular:
            f.setStyleName("Regular");
            f.setWeight(QFont::Normal);
            break;
        case Face::extraBold:
            f.setStyleName("ExtraBold");
            f.setWeight(QFont::ExtraBold);
            break;
        }
    } else {
        f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        f.setWeight(fallbackWeight);
    }
    setPixels(f, pixels);
    return f;
}

} // namespace nolvea
