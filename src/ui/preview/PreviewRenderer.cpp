#include "ui/preview/PreviewRenderer.h"

#include "ai/AIStatus.h"
#include "core/AppSettings.h"
#include "core/AppState.h"
#include "core/HistoryStore.h"
#include "core/Permissions.h"
#include "ui/animation/FrameClock.h"
#include "ui/components/AuroraBackground.h"
#include "ui/components/BrandMark.h"
#include "ui/components/FlatGlass.h"
#include "ui/components/Theme.h"
#include "ui/drawer/HistoryDrawerModel.h"
#include "ui/drawer/HistoryDrawerView.h"
#include "ui/menubar/MenuBarStyle.h"
#include "ui/menubar/MenuBarView.h"
#include "ui/notch/NotchController.h"
#include "ui/notch/NotchView.h"
#include "ui/onboarding/OnboardingView.h"
#include "ui/overlay/PillView.h"
#include "ui/preview/PreviewScenes.h"
#include "ui/settings/SettingsView.h"
#include "updates/Updater.h"

#include <QCoreApplication>
#include <QDir>

#include <QHBoxLayout>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <algorithm>
#include <qcoro/qcorotimer.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <stdexcept>

namespace nolvea {

namespace {

using Kind = PreviewScenes::Kind;
using Picture = PreviewScenes::Picture;

// No button is pressed in a picture: a card that still reached for the controller fails.
VoiceController& noController() {
    throw std::logic_error("previews have no voice controller");
}

// A plain rectangle of one colour.
class Fill : public QWidget {
public:
    Fill(const QColor& color, QWidget* parent)
        : QWidget(parent)
        , m_color(color) {}

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), m_color); }

private:
    QColor m_color;
};

// The icon of an application of the desktop's theme, as the island shows a front app's.
QVariant themeIcon(const QString& app) {
    const QString name = app == QStringLiteral("notes") ? QStringLiteral("accessories-text-editor")
                                                        : QStringLiteral("internet-chat");
    const QIcon icon = QIcon::fromTheme(name);
    if (icon.isNull()) return {};
    return icon.pixmap(64, 64).toImage();
}

QWidget* aurora(QWidget* parent, QSize size) {
    auto* background = new AuroraBackground(Theme::dictation(), parent);
    background->setGeometry(QRect(QPoint(), size));
    return background;
}

// Lets the views take in their state: layouts, queued stage changes, replaced cards.
QCoro::Task<> settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        co_await QCoro::sleepFor(std::chrono::milliseconds(5));
    }
}

// One picture: `root` laid out at its size in points as if on screen, then drawn offscreen.
QCoro::Task<QImage> snapshot(QWidget& root, QSize points) {
    root.resize(points);
    root.setAttribute(Qt::WA_DontShowOnScreen);
    root.show();
    co_await settle();
    QImage image(points * PreviewScenes::kScale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(PreviewScenes::kScale);
    image.fill(Qt::transparent);
    root.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    root.hide();
    co_return image;
}

bool write(const QImage& image, const QString& path) {
    QSaveFile file(path);
    // The last bytes are written by the flush, whose failure the commit would not see.
    return !image.isNull() && file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") &&
           file.flush() && file.commit();
}

std::unique_ptr<QWidget> flatRoot() {
    auto root = std::make_unique<QWidget>();
    FlatGlass::set(root.get(), true);
    return root;
}

std::unique_ptr<QWidget> logoStrip() {
    auto root = std::make_unique<QWidget>();
    auto* block = new Fill(Qt::black, root.get());
    auto* row = new QHBoxLayout(block);
    row->setContentsMargins(28, 28, 28, 28);
    row->setSpacing(28);
    const QList<float> history = PreviewScenes::logoHistory();
    auto mark = [&](auto change) {
        BrandMarkInputs in;
        change(in);
        auto* m = new BrandMark(in, block);
        m->setFixedSize(int(64 * BrandMarkModel::kAspect), 64);
        row->addWidget(m, 0, Qt::AlignVCenter);
        return m;
    };
    mark([](BrandMarkInputs&) {});
    mark([&](BrandMarkInputs& in) {
        in.level = 0.8;
        in.levels = history;
    });
    mark([](BrandMarkInputs& in) { in.morphOverride = 0.35; });
    mark([](BrandMarkInputs& in) { in.morphOverride = 0.7; });
    mark([](BrandMarkInputs& in) {
        in.level = 0.6;
        in.ball = true;
    });
    mark([](BrandMarkInputs& in) {
        in.ball = true;
        in.busy = true;
    });
    mark([](BrandMarkInputs& in) {
        in.ball = true;
        in.animated = true;
        in.busy = true;
    })->setFixedSize(32, 24);
    const QSize size = row->sizeHint().expandedTo(QSize(0, 64 + 56));
    block->setGeometry(QRect(QPoint((760 - size.width()) / 2, (120 - size.height()) / 2), size));
    return root;
}

} // namespace

QCoro::Task<QStringList> PreviewRenderer::render(QString folder) {
    QDir().mkpath(folder);
    const QDir dir(folder);
    QStringList failed;
    // Still pictures: springs at their targets, nothing in motion.
    FrameClock& frames = FrameClock::shared();
    const bool reduced = frames.reduceMotion();
    frames.setReduceMotion(true);

    const QList<Picture> pictures = PreviewScenes::pictures();
    qsizetype next = 0;
    auto save = [&](QWidget& root) -> QCoro::Task<> {
        const Picture& picture = pictures[next++];
        const QImage image = co_await snapshot(root, picture.points);
        if (!write(image, dir.filePath(picture.name))) failed << picture.name;
    };

    for (const PreviewScenes::PillScene& scene :
         PreviewScenes::pill(QDateTime::currentDateTimeUtc())) {
        AppState state;
        scene.configure(state);
        auto root = flatRoot();
        aurora(root.get(), {640, 300});
        (new PillView(state, noController, root.get()))->setGeometry(0, 0, 640, 300);
        co_await save(*root);
    }

    for (int raw = 0; raw <= 6; ++raw) {
        auto root = flatRoot();
        (new OnboardingView(
             raw, [] {}, root.get()))
            ->setGeometry(0, 0, 780, 660);
        co_await save(*root);
    }

    {
        auto root = logoStrip();
        co_await save(*root);
    }

    HistoryStore& history = HistoryStore::shared();
    for (const PreviewScenes::NotchScene& scene :
         PreviewScenes::notch(history.entries(), themeIcon)) {
        AppState state;
        NotchController notch(state, noController);
        if (notch.model().geometry() != PreviewScenes::notchGeometry())
            notch.model().setGeometry(PreviewScenes::notchGeometry());
        scene.configure(state, notch.model());
        auto root = flatRoot();
        aurora(root.get(), {760, 520});
        (new Fill(QColor::fromRgbF(1, 1, 1, 0.35), root.get()))->setGeometry(0, 0, 760, 38);
        (new Fill(Qt::black, root.get()))->setGeometry((760 - 220) / 2, 0, 220, 32);
        auto* view = new NotchView(state, notch, root.get());
        view->setGeometry(0, 0, 760, 520);
        view->refresh(); // laid out again at its full width

        co_await save(*root);
    }

    {
        HistoryDrawerModel model;
        model.setOpen(true);
        model.setExpandedID(PreviewScenes::firstAgentEntry(history.entries(), false));
        auto root = flatRoot();
        aurora(root.get(), {700, 760});
        (new HistoryDrawerView(
             model, history, AppSettings::shared(), [] {}, root.get()))
            ->setGeometry(0, 0, 400, 760);
        co_await save(*root);
    }

    for (const SettingsSection section : {SettingsSection::general, SettingsSection::ai,
                                          SettingsSection::vocabulary, SettingsSection::about}) {
        auto root = flatRoot();
        QWidget* pane = SettingsView::previewSection(section);
        pane->setParent(root.get());
        // At its own height, as in the window's scroll area, cut off by the picture's edge:
        // squeezed into the picture, its rows would crush their texts.
        const int natural =
            pane->hasHeightForWidth() ? pane->heightForWidth(620) : pane->sizeHint().height();
        pane->setGeometry(0, 0, 620, std::max(760, natural));
        co_await save(*root);
    }

    {
        AppState state;
        auto root = flatRoot();
        aurora(root.get(), {340, 460});
        MenuBarActions actions{[] {}, [] {}, [] {}, [] {}};
        auto* menu = new MenuBarView({state, AppSettings::shared(), Permissions::shared(),
                                      AIStatus::shared(), history, Updater::shared()},
                                     std::move(actions), root.get());
        menu->setPalette(MenuBarStyle::palette(menu->palette()));
        const QSize size = menu->sizeHint().boundedTo(QSize(340, 460));
        const QRect frame(QPoint((340 - size.width()) / 2, (460 - size.height()) / 2), size);
        // The column is drawn on its window's own backing, as the tray shows it: its light
        // texts are unreadable straight over the pale backdrop.
        auto* backing = new Fill(MenuBarStyle::background(), root.get());
        backing->setGeometry(frame);
        menu->raise();
        menu->setGeometry(frame);
        co_await save(*root);
    }

    frames.setReduceMotion(reduced);
    co_return failed;
}

} // namespace nolvea
