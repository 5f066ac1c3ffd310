#include "ui/components/Brand.h"
#include "ui/components/Symbols.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QSvgRenderer>
#include <gtest/gtest.h>

#include <map>

using namespace nolvea;

namespace {

QImage render(const QString& name, int side, const QColor& color) {
    return Symbols::pixmap(name, side, color).toImage().convertToFormat(QImage::Format_ARGB32);
}

// The box of the pixels that carry ink.
QRect inkBox(const QImage& img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) > 40) box |= QRect(x, y, 1, 1);
    return box;
}

// Every symbol name the sources ask for, with one place that asks for it. A name counts when
// it is a dotted symbol name anywhere ("envelope.fill"), when it is given where a symbol goes
// (`.symbol =`, `.glyph =`, a tool's `preview(`/`card(`, `Symbols::…(`, `…::symbol(`), or when a
// function named after symbols returns it. File names, hosts and bundle ids are not symbols.
std::map<QString, QString> namesInSources() {
    const QString name = QStringLiteral(R"re(([a-z][a-z0-9]*(?:\.[a-z0-9]+)*))re");
    const QRegularExpression dotted(QStringLiteral(R"re("([a-z][a-z0-9]*(?:\.[a-z0-9]+)+)")re"));
    const QRegularExpression placed(
        QStringLiteral(
            R"re((?:\b(?:symbol|glyph)\s*=\s*|\b(?:preview|card)\(\s*)re"
            R"re(|Symbols::\w+\(\s*|::symbol\(\s*)(?:QStringLiteral\(|QLatin1String\()?")re") +
        name + '"');
    const QRegularExpression symbolFunction(
        QStringLiteral(R"re(^[A-Za-z][^;]*\b\w*[sS]ymbol\w*\()re"));
    const QRegularExpression returned(QStringLiteral(R"re(return\s+(?:QStringLiteral\()?")re") +
                                      name + '"');
    const QSet<QString> notSymbolEndings{"json", "txt", "log", "conf", "wav", "raw", "pcm", "bin",
                                         "png",  "svg", "zip", "ttf",  "otf", "app", "x11", "sh",
                                         "md",   "xml", "ini", "pem",  "cpp", "h"};
    const QSet<QString> hostParts{"com", "org", "io", "net"};
    // Dotted words that are not symbols: an abbreviation, a D-Bus name, a screen-context key.
    const QSet<QString> notSymbols{"e.g", "nolvea.vornel", "slack.mail"};

    std::map<QString, QString> found;
    const QString root = QStringLiteral(NOLVEA_SOURCE_DIR "/src");
    QDirIterator it(root, {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(QLatin1String("/ui/components/Symbols.cpp"))) continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << path.toStdString();
            continue;
        }
        const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
        bool inSymbolFunction = false;
        for (int i = 0; i < lines.size(); ++i) {
            const QString& line = lines[i];
            if (!line.isEmpty() && line[0].isLetter())
                inSymbolFunction = symbolFunction.match(line).hasMatch();
            else if (line.startsWith('}'))
                inSymbolFunction = false;
            const QString where = path.mid(root.size() + 1) + ':' + QString::number(i + 1);
            auto add = [&](const QString& n) { found.emplace(n, where); };
            for (const auto& m : dotted.globalMatch(line)) {
                const QStringList parts = m.captured(1).split('.');
                bool host = false;
                for (const QString& part : parts)
                    host = host || hostParts.contains(part);
                if (!host && !notSymbolEndings.contains(parts.last()) &&
                    !notSymbols.contains(m.captured(1)))
                    add(m.captured(1));
            }
            for (const auto& m : placed.globalMatch(line))
                add(m.captured(1));
            if (inSymbolFunction)
                for (const auto& m : returned.globalMatch(line))
                    add(m.captured(1));
        }
    }
    return found;
}

TEST(Symbols, EveryNameTheSourcesAskForHasADrawing) {
    const auto found = namesInSources();
    // The reader sees each way of asking: a dotted name, a tool's card, a `.symbol =`, a
    // symbol function's return.
    for (const char* seen : {"envelope.fill", "magnifyingglass", "trash", "pencil", "globe"})
        EXPECT_TRUE(found.contains(QString::fromLatin1(seen))) << seen;
    for (const auto& [name, where] : found)
        EXPECT_TRUE(Symbols::isKnown(name))
            << name.toStdString() << " (" << where.toStdString() << ") has no drawing";
    // Names given inside tables of rows, which the reader cannot tell from other words.
    for (const char* name :
         {"accessibility", "cpu", "desktopcomputer", "externaldrive", "macwindow", "minus", "power",
          "lock.shield.fill", "lock.open.fill", "square.and.arrow.down", "arrow.down.circle",
          "chevron.down", "arrow.left", "arrow.right", "arrow.up.forward"})
        EXPECT_TRUE(Symbols::isKnown(name)) << name;
}

TEST(Symbols, EveryDrawingIsInkedInTheColourAskedAndFitsItsGrid) {
    const QStringList names = Symbols::names();
    ASSERT_GE(names.size(), 70);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(QSvgRenderer(Symbols::svg(name)).isValid());
        const QImage img = render(name, 48, Brand::roxo());
        ASSERT_EQ(img.size(), QSize(48, 48));
        int solid = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x)
                if (qAlpha(img.pixel(x, y)) == 255) {
                    ++solid;
                    EXPECT_EQ(QColor(img.pixel(x, y)).rgb(), Brand::roxo().rgb());
                }
        EXPECT_GT(solid, 20);
        // Nothing is cut by the edge, and every drawing uses most of the grid.
        const QRect box = inkBox(img);
        EXPECT_TRUE(QRect(0, 0, 48, 48).contains(box));
        EXPECT_GE(std::max(box.width(), box.height()), 28);
        EXPECT_FALSE(Symbols::icon(name).isNull());
    }
}

TEST(Symbols, FilledSymbolsKeepTheirCutOuts) {
    // (name, a point inside a detail that must stay clear, a point of the solid body), in
    // 24-unit grid coordinates.
    struct Case {
        const char* name;
        QPointF hole;
        QPointF body;
    };
    const Case cases[] = {
        {"checkmark.circle.fill", {10.8, 14.6}, {5, 12}},
        {"xmark.circle.fill", {12, 12}, {5, 12}},
        {"info.circle.fill", {12, 14}, {6, 12}},
        {"envelope.fill", {12, 12}, {12, 17}},
        {"gearshape.fill", {12, 12}, {12, 5.5}},
        {"lock.shield.fill", {12, 14}, {6, 8}},
        {"cpu.fill", {12, 12}, {7, 7}},
        {"doc.text.fill", {12, 12.8}, {7, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage img = render(c.name, 96, Qt::black);
        auto alphaAt = [&](QPointF p) { return qAlpha(img.pixel((p * 4).toPoint())); };
        EXPECT_LT(alphaAt(c.hole), 40);
        EXPECT_EQ(alphaAt(c.body), 255);
    }
}

TEST(Symbols, UnknownNamesDrawNothing) {
    EXPECT_FALSE(Symbols::isKnown("no.such.symbol"));
    EXPECT_TRUE(Symbols::svg("no.such.symbol").isEmpty());
    EXPECT_TRUE(Symbols::pixmap("no.such.symbol", 24, Qt::black).isNull());
    EXPECT_TRUE(Symbols::icon("no.such.symbol").isNull());
    EXPECT_TRUE(Symbols::pixmap("waveform", 0, Qt::black).isNull());
    // A half-transparent ink draws at that opacity.
    const QImage faint = render("stop.fill", 24, Brand::withOpacity(Qt::black, 0.5));
    EXPECT_NEAR(qAlpha(faint.pixel(12, 12)), 128, 3);
}

// Every drawing side by side, at the sizes the screens use, kept as a test artefact.
TEST(Symbols, ContactSheet) {
    const QStringList names = Symbols::names();
    const int columns = 6, cellW = 160, cellH = 78;
    const int rows = int((names.size() + columns - 1) / columns);
    QImage sheet(columns * cellW, rows * cellH, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Brand::chao());
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font = p.font();
    font.setPixelSize(10);
    p.setFont(font);
    for (int i = 0; i < names.size(); ++i) {
        const QPoint at((i % columns) * cellW, (i / columns) * cellH);
        p.drawPixmap(at + QPoint(10, 8), Symbols::pixmap(names[i], 36, Brand::tinta(), 2));
        p.drawPixmap(at + QPoint(58, 16), Symbols::pixmap(names[i], 20, Brand::roxo(), 2));
        p.drawPixmap(at + QPoint(90, 20), Symbols::pixmap(names[i], 12, Brand::tinta(), 2));
        p.setPen(Brand::suave());
        p.drawText(QRect(at + QPoint(6, 50), QSize(cellW - 8, 24)), Qt::AlignLeft, names[i]);
    }
    p.end();
    const QString dir = QStringLiteral(NOLVEA_BINARY_DIR "/screenshots");
    QDir().mkpath(dir);
    EXPECT_TRUE(sheet.save(dir + "/symbols.png"));
}

TEST(SymbolLayers, EachSubpathOfAOnePathDrawingIsALayer) {
    struct Case {
        const char* name;
        int layers;
    };
    const Case cases[] = {{"waveform", 5},
                          {"sparkles", 2},
                          {"exclamationmark.bubble", 3},
                          {"safari", 1},
                          {"no.such.symbol", 1}};
    for (const Case& c : cases)
        EXPECT_EQ(Symbols::layerCount(QString::fromLatin1(c.name)), c.layers) << c.name;
}

TEST(SymbolLayers, ALitLayerIsOpaqueAndTheOthersDimmed) {
    const QColor ink(Qt::black);
    const auto alphaAt = [](const QImage& img, int x, int y) { return qAlpha(img.pixel(x, y)); };
    const auto layered = [&](std::vector<double> opacity) {
        return Symbols::layeredPixmap("waveform", 48, ink, opacity)
            .toImage()
            .convertToFormat(QImage::Format_ARGB32);
    };
    // All layers full is the plain drawing.
    EXPECT_EQ(layered({1, 1, 1, 1, 1}), render("waveform", 48, ink));
    // The middle bar (x = 11 of 24) lit, the first (x = 3) dimmed.
    const QImage lit = layered({0.3, 0.3, 1, 0.3, 0.3});
    EXPECT_EQ(alphaAt(lit, 22, 24), 255);
    EXPECT_NEAR(alphaAt(lit, 6, 24), 0.3 * 255, 3);
}

} // namespace
