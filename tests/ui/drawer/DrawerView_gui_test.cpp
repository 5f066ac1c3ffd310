// The drawer's card with a real history store: search, rows that expand, copy, delete,
// clear-all's second press, and the empty states.
#include "core/AppSettings.h"
#include "core/HistoryStore.h"
#include "support/fakes/ManualClock.h"
#include "ui/animation/FrameClock.h"
#include "ui/animation/MotionEffect.h"
#include "ui/animation/ReplaceTransition.h"
#include "ui/animation/RevealBox.h"
#include "ui/animation/WidthMotion.h"
#include "ui/components/GlassButton.h"
#include "ui/components/MarkdownText.h"
#include "ui/components/Theme.h"
#include "ui/drawer/DrawerCountsLabel.h"
#include "ui/drawer/DrawerRow.h"
#include "ui/drawer/HistoryConversationView.h"
#include "ui/drawer/HistoryDrawerModel.h"
#include "ui/drawer/HistoryDrawerView.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace nolvea;
using Kind = HistoryEntry::Kind;

namespace {

HistoryEntry entry(Kind kind, const char* app, const char* said, const char* output,
                   QDateTime when) {
    HistoryEntry e = HistoryEntry::make(kind, QString::fromUtf8(app), QString::fromUtf8(said),
                                        QString::fromUtf8(output));
    e.date = when;
    return e;
}

class DrawerView : public ::testing::Test {
protected:
    DrawerView() {
        Clock::install(&clock);
        AppSettings::shared().setHotkey(HotkeyChoice::fn);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        clock.setNow(now);
        history.add(entry(Kind::dictation, "Kate", "", "Relatório enviado", now.addDays(-3)));
        history.add(entry(Kind::dictation, "Firefox", "bom dia equipe", "Bom dia, equipe!",
                          now.addDays(-1)));
        history.add(entry(Kind::agent, "", "que horas são em Lisboa",
                          "São **14h** em Lisboa. Veja [o mapa](https://example.com/mapa).", now));
        model.setOpen(true);
        view = std::make_unique<HistoryDrawerView>(model, history, AppSettings::shared(),
                                                   [this] { ++closes; });
        view->resize(400, 900);
        view->show();
    }
    ~DrawerView() override {
        view.reset();
        Clock::install(nullptr);
    }

    void screenshot(const QString& name) {
        QCoreApplication::processEvents();
        const QString dir = QStringLiteral(NOLVEA_BINARY_DIR "/screenshots");
        QDir().mkpath(dir);
        QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
        QLinearGradient desk(0, 0, 400, 900);
        desk.setColorAt(0, QColor(0x3a, 0x4a, 0x6a));
        desk.setColorAt(1, QColor(0x8a, 0x6a, 0x9a));
        QPainter p(&image);
        p.fillRect(image.rect(), desk);
        view->render(&p, {}, {}, QWidget::DrawChildren);
        p.end();
        image.save(dir + QStringLiteral("/drawer-") + name + QStringLiteral(".png"));
    }
    void run(int ms) {
        for (int t = 0; t < ms; t += FrameClock::kIntervalMs)
            clock.advance(std::chrono::milliseconds(FrameClock::kIntervalMs));
        QCoreApplication::processEvents();
    }
    QStringList previews() const {
        QStringList out;
        for (DrawerRow* r : view->rows())
            out.append(r->preview()->text());
        return out;
    }

    ManualClock clock;
    QTemporaryDir dir;
    HistoryStore history{dir.path() + QStringLiteral("/history.json")};
    HistoryDrawerModel model;
    std::unique_ptr<HistoryDrawerView> view;
    int closes = 0;
};

} // namespace

TEST_F(DrawerView, ListsTheHistoryByDayAndSearchesIt) {
    EXPECT_EQ(view->counts()->text(), QStringLiteral("3 registros · 8 palavras ditadas"));
    EXPECT_EQ(view->groupTitles().mid(0, 2), QStringList({"Hoje", "Ontem"}));
    EXPECT_EQ(view->groupTitles().size(), 3);
    EXPECT_EQ(previews(),
              QStringList({"que horas são em Lisboa", "Bom dia, equipe!", "Relatório enviado"}));
    EXPECT_FALSE(view->searchClearButton()->isVisible());
    screenshot(QStringLiteral("lista"));

    QTest::keyClicks(view->searchField(), QStringLiteral("firefox"));
    EXPECT_EQ(model.query(), QStringLiteral("firefox"));
    EXPECT_EQ(previews(), QStringList({"Bom dia, equipe!"}));
    EXPECT_EQ(view->counts()->text(), QStringLiteral("3 registros · 8 palavras ditadas"));
    EXPECT_TRUE(view->searchClearButton()->isVisible());

    QTest::keyClicks(view->searchField(), QStringLiteral("zzz"));
    EXPECT_TRUE(view->emptyState()->isVisible());
    EXPECT_EQ(view->emptyTitle()->text(), QStringLiteral("Nenhum resultado"));
    EXPECT_EQ(view->emptyHint()->text(), QStringLiteral("Tente outra busca."));

    QTest::mouseClick(view->searchClearButton(), Qt::LeftButton);
    EXPECT_EQ(view->searchField()->text(), QString());
    EXPECT_EQ(view->rows().size(), 3);

    // Escape in the search field closes the drawer and keeps the text.
    QTest::keyClicks(view->searchField(), QStringLiteral("bom"));
    QTest::keyClick(view->searchField(), Qt::Key_Escape);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(model.query(), QStringLiteral("bom"));
}

TEST_F(DrawerView, ARowExpandsIntoItsConversationWithCopyAndDelete) {
    DrawerRow* agent = view->rows()[0];
    DrawerRow* dictation = view->rows()[1];
    QTest::mouseClick(agent->header(), Qt::LeftButton, {}, {300, 10});
    EXPECT_EQ(model.expandedID(), agent->entry().id);
    EXPECT_TRUE(agent->isExpanded());
    EXPECT_FALSE(agent->preview()->isVisible());
    ASSERT_NE(agent->conversation(), nullptr);
    ASSERT_NE(agent->conversation()->request(), nullptr);
    EXPECT_EQ(agent->conversation()->request()->text(), QStringLiteral("que horas são em Lisboa"));
    EXPECT_EQ(agent->conversation()->answer()->plainText(),
              QStringLiteral("São 14h em Lisboa. Veja o mapa."));
    screenshot(QStringLiteral("conversa"));

    // Another row folds the first; a dictation that says what it typed shows no bubble.
    QTest::mouseClick(dictation->header(), Qt::LeftButton, {}, {300, 10});
    EXPECT_FALSE(agent->isExpanded());
    EXPECT_TRUE(dictation->isExpanded());
    ASSERT_NE(dictation->conversation(), nullptr);
    EXPECT_NE(dictation->conversation()->request(), nullptr); // "bom dia equipe" adds to it

    GlassButton* copy = dictation->copyButton();
    run(1000); // the conversation has unfolded
    const int copyWidth = copy->width();
    QTest::mouseClick(copy, Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Bom dia, equipe!"));
    EXPECT_EQ(copy->look().title, QStringLiteral("Copiado"));
    // "Copiar" fades out as "Copiado" fades in, and the capsule widens with them.
    ASSERT_TRUE(dictation->copyChange()->isRunning());
    ASSERT_NE(dictation->copyChange()->leaving(), nullptr);
    ASSERT_TRUE(dictation->copyWidth()->isRunning());
    EXPECT_EQ(copy->width(), copyWidth) << "it starts from the old label's width";
    run(51);
    EXPECT_GT(copy->width(), copyWidth);
    EXPECT_LT(copy->width(), copy->sizeHint().width());
    screenshot(QStringLiteral("copiar-trocando"));
    run(1000);
    EXPECT_FALSE(dictation->copyWidth()->isRunning());
    EXPECT_EQ(copy->width(), copy->sizeHint().width());
    // The row keeps "Copiado" while it exists, through a search that keeps it.
    model.setQuery(QStringLiteral("bom"));
    ASSERT_EQ(view->rows().size(), 1);
    EXPECT_EQ(view->rows()[0], dictation);
    EXPECT_EQ(dictation->copyButton()->look().title, QStringLiteral("Copiado"));
    model.setQuery({});

    QTest::mouseClick(dictation->deleteButton(), Qt::LeftButton);
    EXPECT_EQ(history.entries().size(), 2);
    EXPECT_EQ(previews(), QStringList({"que horas são em Lisboa", "Relatório enviado"}));
    EXPECT_EQ(view->counts()->text(), QStringLiteral("2 registros · 5 palavras ditadas"));

    // Clicking the expanded row folds it.
    QTest::mouseClick(view->rows()[0]->header(), Qt::LeftButton, {}, {300, 10});
    QTest::mouseClick(view->rows()[0]->header(), Qt::LeftButton, {}, {300, 10});
    EXPECT_EQ(model.expandedID(), std::nullopt);
}

TEST_F(DrawerView, ClearingAllTakesASecondPressWithinThreeSeconds) {
    GlassButton* clear = view->clearButton();
    QTest::mouseClick(clear, Qt::LeftButton);
    EXPECT_TRUE(view->isConfirmingClear());
    EXPECT_EQ(clear->look().title, QStringLiteral("Apagar tudo?"));
    EXPECT_EQ(clear->look().ink, Theme::failure()) << "the question is written in red";
    clock.advance(std::chrono::milliseconds(3000));
    EXPECT_FALSE(view->isConfirmingClear());
    EXPECT_EQ(clear->look().ink, std::nullopt);
    EXPECT_EQ(history.entries().size(), 3);

    // A first press gets its full three seconds even after an earlier one.
    QTest::mouseClick(clear, Qt::LeftButton);
    clock.advance(std::chrono::milliseconds(2000));
    QTest::mouseClick(clear, Qt::LeftButton);
    EXPECT_TRUE(history.entries().isEmpty());
    EXPECT_FALSE(clear->isVisible());
    EXPECT_TRUE(view->emptyState()->isVisible());
    EXPECT_EQ(view->emptyTitle()->text(), QStringLiteral("Nada por aqui ainda"));
    EXPECT_EQ(view->emptyHint()->text(), QStringLiteral("Segure Fn / 🌐 e fale em qualquer app."));
    EXPECT_EQ(view->counts()->text(), QStringLiteral("0 registros · 0 palavras ditadas"));
    screenshot(QStringLiteral("vazio"));

    model.setOpen(false);
    run(1000);
    EXPECT_FALSE(view->card()->isVisible());
}

TEST_F(DrawerView, TheCardSlidesInFromTheEdgeAndRowsUnfoldTheirConversation) {
    FrameClock::shared().setReduceMotion(false);
    QWidget* card = view->card();
    const auto offset = [&] {
        auto* effect = qobject_cast<MotionEffect*>(card->graphicsEffect());
        return effect ? effect->pose().offset.x() : 0.0;
    };
    model.setOpen(false);
    run(1000);
    ASSERT_FALSE(card->isVisible());

    model.setOpen(true);
    EXPECT_TRUE(card->isVisible());
    EXPECT_EQ(offset(), -(card->x() + card->width())) << "behind the screen's edge at first";
    run(68);
    const double early = offset();
    EXPECT_LT(early, 0);
    run(68);
    EXPECT_GT(offset(), early) << "on its way in";
    screenshot(QStringLiteral("entrando"));
    run(2000);
    EXPECT_EQ(card->graphicsEffect(), nullptr) << "in place";

    // Closing slides it back out and then takes it away.
    model.setOpen(false);
    run(100);
    EXPECT_TRUE(card->isVisible());
    EXPECT_LT(offset(), 0);
    run(1500);
    EXPECT_FALSE(card->isVisible());
    model.setOpen(true);
    run(2000);

    // A row's conversation comes down from under its header and the chevron turns.
    DrawerRow* row = view->rows()[0];
    const int folded = row->height();
    QTest::mouseClick(row->header(), Qt::LeftButton, {}, {300, 10});
    ASSERT_NE(row->detail(), nullptr);
    EXPECT_EQ(row->detail()->fraction(), 0);
    run(120);
    const double part = row->detail()->fraction();
    EXPECT_GT(part, 0);
    EXPECT_LT(part, 1);
    EXPECT_GT(row->chevronAngle(), 0);
    EXPECT_LT(row->chevronAngle(), 90);
    run(2000);
    EXPECT_EQ(row->detail()->fraction(), 1);
    EXPECT_EQ(row->chevronAngle(), 90);
    EXPECT_EQ(row->fill(), 0.06);
    EXPECT_GT(row->height(), folded + 40);
    screenshot(QStringLiteral("conversa-aberta"));

    // Folding takes it back up and away; the copy and delete go with it at once.
    QTest::mouseClick(row->header(), Qt::LeftButton, {}, {300, 10});
    EXPECT_EQ(row->conversation(), nullptr);
    ASSERT_NE(row->detail(), nullptr);
    run(120);
    ASSERT_NE(row->detail(), nullptr);
    EXPECT_LT(row->detail()->fraction(), 1);
    run(2000);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(row->detail(), nullptr);
    EXPECT_EQ(row->chevronAngle(), 0);

    // A deleted entry's row fades where it stood, taking no clicks, and then goes.
    QTest::mouseClick(row->header(), Qt::LeftButton, {}, {300, 10});
    run(2000);
    QTest::mouseClick(row->deleteButton(), Qt::LeftButton);
    EXPECT_EQ(view->rows().size(), 2);
    ASSERT_EQ(view->leavingRows(), QList<DrawerRow*>{row});
    EXPECT_TRUE(row->testAttribute(Qt::WA_TransparentForMouseEvents));
    run(100);
    auto* fading = qobject_cast<MotionEffect*>(row->graphicsEffect());
    ASSERT_NE(fading, nullptr);
    EXPECT_LT(fading->pose().opacity, 1);
    run(2000);
    EXPECT_TRUE(view->leavingRows().isEmpty());
    row = view->rows()[0];

    // With reduced motion everything lands at once.
    FrameClock::shared().setReduceMotion(true);
    QTest::mouseClick(row->header(), Qt::LeftButton, {}, {300, 10});
    EXPECT_EQ(row->detail()->fraction(), 1);
    EXPECT_EQ(row->chevronAngle(), 90);
    model.setOpen(false);
    EXPECT_FALSE(card->isVisible());
    FrameClock::shared().setReduceMotion(false);
}

TEST_F(DrawerView, TheCountsRollTheirDigitsAndClearAllCrossFadesItsLabel) {
    FrameClock::shared().setReduceMotion(false);
    run(2000);
    DrawerCountsLabel* counts = view->counts();
    EXPECT_FALSE(counts->isRolling());

    // Deleting an entry rolls the changed digits down; the label says the new text at once.
    const QStringList titlesBefore = view->groupTitles();
    // A copy: removing replaces the list being walked.
    for (const HistoryEntry& e : QList<HistoryEntry>(history.entries()))
        if (e.output == u"Bom dia, equipe!") history.remove(e);
    EXPECT_EQ(counts->text(), QStringLiteral("2 registros · 5 palavras ditadas"));
    // Its day's title went with it, at once: no old title is left drawn over the new list.
    ASSERT_LT(view->groupTitles().size(), titlesBefore.size());
    for (const QLabel* l : view->findChildren<QLabel*>())
        if (l->isVisible() && titlesBefore.contains(l->text()))
            EXPECT_TRUE(view->groupTitles().contains(l->text())) << l->text().toStdString();
    ASSERT_TRUE(counts->isRolling());
    using R = DrawerCountMotion::Role;
    QStringList entering;
    for (const DrawerCountMotion::Piece& p : counts->pieces())
        if (p.role == R::entering) entering.append(p.text);
    EXPECT_EQ(entering, QStringList({"2", "5"}));
    run(100);
    EXPECT_GT(counts->progress(), 0);
    EXPECT_LT(counts->progress(), 1);
    screenshot(QStringLiteral("contagem-rolando"));
    run(2000);
    EXPECT_FALSE(counts->isRolling());
    EXPECT_TRUE(counts->pieces().isEmpty());

    // The first press fades the trash out as the question fades in, and back after 3 s.
    // The capsule widens from the round trash to the question with the same spring, the
    // trash fading in its middle.
    GlassButton* clear = view->clearButton();
    const int round = clear->width();
    QTest::mouseClick(clear, Qt::LeftButton);
    ASSERT_TRUE(view->clearChange().isRunning());
    ASSERT_NE(view->clearChange().leaving(), nullptr) << "the trash's picture on its way out";
    ASSERT_TRUE(view->clearWidth().isRunning());
    run(68);
    const double part = view->clearChange().progress();
    EXPECT_GT(part, 0);
    EXPECT_LT(part, 1);
    const int question = clear->sizeHint().width();
    EXPECT_GT(clear->width(), round);
    EXPECT_LT(clear->width(), question);
    QWidget* trash = view->clearChange().leaving();
    EXPECT_NEAR(trash->geometry().center().x(), clear->geometry().center().x(), 1);
    screenshot(QStringLiteral("limpar-trocando"));
    run(1000);
    EXPECT_FALSE(view->clearChange().isRunning());
    EXPECT_EQ(view->clearChange().leaving(), nullptr);
    EXPECT_FALSE(view->clearWidth().isRunning());
    EXPECT_EQ(clear->width(), question);
    EXPECT_EQ(clear->look().title, QStringLiteral("Apagar tudo?"));
    clock.advance(std::chrono::milliseconds(2000));
    QCoreApplication::processEvents();
    EXPECT_EQ(clear->look().title, QString());
    EXPECT_TRUE(view->clearChange().isRunning()) << "the question fades back into the trash";
    EXPECT_TRUE(view->clearWidth().isRunning()) << "and the capsule narrows back";
    run(68);
    EXPECT_LT(clear->width(), question);
    EXPECT_GT(clear->width(), round);
    screenshot(QStringLiteral("limpar-voltando"));
    run(1000);
    EXPECT_EQ(clear->width(), round);

    // Under reduced motion both change at once.
    FrameClock::shared().setReduceMotion(true);
    QTest::mouseClick(clear, Qt::LeftButton);
    EXPECT_FALSE(view->clearChange().isRunning());
    EXPECT_FALSE(view->clearWidth().isRunning());
    QCoreApplication::processEvents();
    EXPECT_EQ(clear->width(), question);
    history.remove(history.entries().front());
    EXPECT_FALSE(counts->isRolling());
    EXPECT_TRUE(counts->text().startsWith(QStringLiteral("1 registros")));
    FrameClock::shared().setReduceMotion(false);
}

// Opens what the conversation's links point at, and counts it.
class LinkCatcher : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl& url) { opened.append(url); }
};

TEST_F(DrawerView, ALinkInAConversationOpensOnceAndOnlyForTheWebOrMail) {
    LinkCatcher catcher;
    for (const char* scheme : {"https", "http", "mailto", "file", "javascript"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "open");
    DrawerRow* agent = view->rows()[0];
    QTest::mouseClick(agent->header(), Qt::LeftButton, {}, {300, 10});
    MarkdownText* answer = agent->conversation()->answer();
    Q_EMIT answer->linkActivated(QStringLiteral("https://example.com/mapa"));
    Q_EMIT answer->linkActivated(QStringLiteral("file:///etc/passwd"));
    Q_EMIT answer->linkActivated(QStringLiteral("javascript:alert(1)"));
    for (const char* scheme : {"https", "http", "mailto", "file", "javascript"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    EXPECT_EQ(catcher.opened, QList<QUrl>{QUrl(QStringLiteral("https://example.com/mapa"))});
}

#include "DrawerView_gui_test.moc"
