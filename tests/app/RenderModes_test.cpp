// The drawing modes run as the real program on the offscreen platform: the files they write,
// their pixel sizes, a few pixels of the right views, the user's files left alone, and every
// file they could not write named.
#include "DevRun.h"

#include "core/HistoryStore.h"
#include "support/TestEnvironment.h"
#include "ui/preview/DMGBackground.h"
#include "ui/preview/PreviewScenes.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace nolvea;
using test::runNolvea;

namespace {

QProcessEnvironment offscreen() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    return env;
}

// Every file below `folder` with a digest of its bytes.
QMap<QString, QByteArray> contents(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            files.insert(path.mid(folder.size()),
                         QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256));
    }
    return files;
}

// A file size limit of zero: no byte can be written, whoever runs the program (even root).
const QStringList kNoBytes{"sh", "-c", "trap '' XFSZ; ulimit -f 0; exec \"$@\"", "sh"};

// The pill's flat glass: a grey well below the pale aurora.
bool glass(QRgb px) {
    return qRed(px) > 90 && qRed(px) < 160 && std::abs(qRed(px) - qBlue(px)) < 10 &&
           qAlpha(px) == 255;
}

bool dark(QRgb px) {
    return qRed(px) < 40 && qGreen(px) < 40 && qBlue(px) < 40 && qAlpha(px) == 255;
}

} // namespace

// A home with settings and a history: the previews read them and change neither.
TEST(RenderPreviews, WritesTheThirtyFivePicturesAndLeavesTheHomeAlone) {
    test::configureSetting(QStringLiteral("userName"), QStringLiteral("Camila"));
    HistoryStore& history = HistoryStore::shared();
    history.add(HistoryEntry::make(HistoryEntry::Kind::dictation, "Kate", "bom dia", "Bom dia!"));
    history.add(HistoryEntry::make(HistoryEntry::Kind::agent, "", "que horas são", "São 14h."));
    history.flush();
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    const auto configBefore = contents(config);
    const auto dataBefore = contents(data);
    ASSERT_FALSE(configBefore.isEmpty());
    ASSERT_FALSE(dataBefore.isEmpty());

    QTemporaryDir out;
    const QString folder = out.path() + "/novo/previas"; // its parents made on the way
    const test::DevRun run = runNolvea({"--render-previews", folder}, offscreen());
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_EQ(run.lines, QStringList{"Prévias salvas em " + folder});

    const QList<PreviewScenes::Picture> pictures = PreviewScenes::pictures();
    ASSERT_EQ(pictures.size(), 35);
    QStringList written = QDir(folder).entryList(QDir::Files, QDir::Name);
    QStringList expected;
    for (const auto& p : pictures)
        expected << p.name;
    expected.sort();
    EXPECT_EQ(written, expected);
    for (const auto& p : pictures) {
        const QImage image(folder + '/' + p.name);
        EXPECT_EQ(image.size(), p.points * 2) << p.name.toStdString();
    }

    EXPECT_EQ(contents(config), configBefore);
    EXPECT_EQ(contents(data), dataBefore);

    // The pill: its grey glass low in the middle of the picture, the aurora above it.
    const QImage pill = QImage(folder + "/5-sucesso.png").convertToFormat(QImage::Format_ARGB32);
    const int pillY = (300 - 14 - 20) * 2;
    EXPECT_TRUE(glass(pill.pixel(640, pillY))) << std::hex << pill.pixel(640, pillY);
    EXPECT_FALSE(glass(pill.pixel(640, 200))) << std::hex << pill.pixel(640, 200);
    EXPECT_FALSE(glass(pill.pixel(40, pillY))) << std::hex << pill.pixel(40, pillY);
    // The island: black below the 32-point hardware notch, where only the island reaches.
    const QImage island =
        QImage(folder + "/notch-1-parado.png").convertToFormat(QImage::Format_ARGB32);
    EXPECT_TRUE(dark(island.pixel(760, 35 * 2))) << std::hex << island.pixel(760, 70);
    EXPECT_FALSE(dark(island.pixel(760, 200 * 2)));
    EXPECT_FALSE(dark(island.pixel(100, 35 * 2))); // the menu bar beside it
    // The tray window: its column on the window's dark backing, where the backdrop is pale.
    const QImage menu = QImage(folder + "/menu.png").convertToFormat(QImage::Format_ARGB32);
    EXPECT_TRUE(dark(menu.pixel(6, 460))) << std::hex << menu.pixel(6, 460);
    // The logo strip: a black block in the middle, transparent at the ends.
    const QImage logo = QImage(folder + "/logo-estados.png").convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(logo.pixel(1, 1)), 0);
    EXPECT_TRUE(dark(logo.pixel(760, 10)));
}

TEST(RenderPreviews, AnUnwritableFolderFailsAndNamesEveryPicture) {
    QTemporaryDir out;
    const test::DevRun run =
        runNolvea({"--render-previews", out.path()}, offscreen(), {}, kNoBytes);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.lines, QStringList{"Prévias salvas em " + out.path()});
    for (const auto& p : PreviewScenes::pictures())
        EXPECT_TRUE(
            run.errors.contains("Não deu para gravar " + p.name + " em " + out.path() + "."))
            << p.name.toStdString();
}

TEST(RenderDMGBackground, WritesBothScalesAndNamesWhatItCouldNotWrite) {
    QTemporaryDir out;
    const QString folder = out.path() + "/a/b";
    test::DevRun run = runNolvea({"--render-dmg-background", folder}, offscreen());
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_TRUE(run.lines.isEmpty());
    EXPECT_EQ(QImage(folder + "/fundo.png").size(), QSize(660, 470));
    EXPECT_EQ(QImage(folder + "/fundo@2x.png").size(), QSize(1320, 940));

    // Into the same folder again, with no byte writable: the old files stay, both are named.
    run = runNolvea({"--render-dmg-background", folder}, offscreen(), {}, kNoBytes);
    EXPECT_EQ(run.status, 1);
    for (const auto& f : DMGBackground::files())
        EXPECT_TRUE(run.errors.contains("Não deu para gravar " + f.name + " em " + folder + "."))
            << run.errors.toStdString();
    EXPECT_EQ(QImage(folder + "/fundo.png").size(), QSize(660, 470));

    run = runNolvea({"--render-dmg-background", "/dev/null/fundo"}, offscreen());
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.errors.contains("Não deu para gravar fundo.png em /dev/null/fundo."));
    EXPECT_TRUE(run.errors.contains("Não deu para gravar fundo@2x.png em /dev/null/fundo."));
}
