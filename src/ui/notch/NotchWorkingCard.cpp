#include "ui/notch/NotchWorkingCard.h"

#include "core/AppState.h"
#include "ui/animation/FrameClock.h"
#include "ui/animation/FrameDriver.h"
#include "ui/animation/ReplaceTransition.h"
#include "ui/animation/StillPicture.h"
#include "ui/animation/TransitionEffect.h"
#include "ui/animation/Transitions.h"
#include "ui/animation/WidthMotion.h"
#include "ui/components/Brand.h"
#include "ui/components/Symbols.h"
#include "ui/components/Theme.h"
#include "ui/notch/NotchMotion.h"
#include "ui/notch/NotchStyle.h"
#include "ui/notch/NotchTexts.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace nolvea {

namespace {

// The capsule behind the progress text.
class Capsule : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(QPen(Brand::withOpacity(Qt::white, 0.1), 1));
        p.setBrush(Brand::withOpacity(Qt::white, 0.08));
        p.drawRoundedRect(r, r.height() / 2, r.height() / 2);
    }
};

QPixmap iconOf(const QVariant& icon, int side) {
    if (icon.canConvert<QImage>() && !icon.value<QImage>().isNull())
        return QPixmap::fromImage(icon.value<QImage>()).scaled(side, side);
    if (icon.canConvert<QIcon>()) return icon.value<QIcon>().pixmap(side, side);
    return {};
}

} // namespace

NotchWorkingCard::NotchWorkingCard(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_line(new MorphingLabel)
    , m_capsule(new Capsule)
    , m_glyph(new QLabel)
    , m_progress(NotchStyle::label({}, 12, QFont::Medium))
    , m_driver(new FrameDriver(this, [this](double dt) { return step(dt); })) {
    setAccessibleName(QStringLiteral("Trabalhando"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    NotchStyle::style(m_line, 14, QFont::Normal, 0.92);
    m_line->setWordWrap(true);
    m_line->setAccessibleName(QStringLiteral("O que você disse"));
    // At most four lines.
    m_line->setMaximumHeight(m_line->fontMetrics().lineSpacing() * 4 + 2);
    column->addWidget(m_line);

    auto* row = new QHBoxLayout(m_capsule);
    row->setContentsMargins(10, 6, 10, 6);
    row->setSpacing(7);
    row->addWidget(m_glyph);
    QPalette pal = m_progress->palette();
    pal.setColor(QPalette::WindowText, Theme::agent().colors[1]);
    m_progress->setPalette(pal);
    m_progress->setAccessibleName(QStringLiteral("Progresso"));
    row->addWidget(m_progress);
    column->addWidget(m_capsule, 0, Qt::AlignLeft);
    m_progressSwap = new ReplaceTransition(m_progress, Theme::snappy(), &Transitions::blurReplace);
    m_progressWidth = new WidthMotion(m_progress, Theme::snappy());
    m_glyphSwap = new ReplaceTransition(m_glyph, Theme::snappy(), &Transitions::blurReplace);
    m_capsule->setGraphicsEffect(new TransitionEffect);
    m_capsule->setVisible(state.stage() == AppState::Stage::processing);

    for (auto signal :
         {&AppState::liveTextChanged, &AppState::stageChanged, &AppState::statusTextChanged,
          &AppState::toolSymbolChanged, &AppState::targetAppIconChanged})
        connect(&state, signal, this, &NotchWorkingCard::refresh);
    refresh();
}

void NotchWorkingCard::refresh() {
    // Words heard so far morph into the next ones.
    m_line->morphTo(NotchTexts::workingLine(m_state.liveText()));
    showCapsule(m_state.stage() == AppState::Stage::processing);
    const QString progress = NotchTexts::progressLine(m_state.statusText());
    if (progress != m_progress->text()) {
        // The capsule grows or shrinks to the new text with the quick spring.
        m_progressWidth->change([&] {
            m_progressSwap->aboutToChange();
            m_progress->setText(progress);
        });
    }
    const QPixmap icon = iconOf(m_state.targetAppIcon(), 14);
    const auto symbol = NotchTexts::progressSymbol(m_state.toolSymbol(), !icon.isNull());
    // A new tool's symbol replaces the old one.
    if (symbol.value_or(QString()) != m_shownSymbol) {
        m_glyphSwap->aboutToChange();
        m_shownSymbol = symbol.value_or(QString());
    }
    m_glyph->setPixmap(symbol ? NotchStyle::symbol(*symbol, 13, Theme::agent().colors[1]) : icon);
}

} // namespace nolvea

namespace nolvea {

void NotchWorkingCard::showCapsule(bool shown) {
    if (shown == !m_capsule->isHidden()) return;
    const bool animated = isVisible() && !FrameClock::shared().reduceMotion();
    if (shown) {
        m_capsule->show();
        m_capsuleIn.jump(animated ? 0 : 1);
        if (animated) m_capsuleIn.retarget(1, NotchMotion::capsuleSpring());
    } else if (animated && parentWidget()) {
        // The card closes up at once; a picture of the capsule blurs away where it was, over
        // the card, from however far it had come in.
        delete m_capsuleLeaving;
        m_capsule->graphicsEffect()->setEnabled(false);
        const qreal ratio = devicePixelRatioF();
        QPixmap picture(m_capsule->size() * ratio);
        picture.setDevicePixelRatio(ratio);
        picture.fill(Qt::transparent);
        m_capsule->render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
        m_capsule->graphicsEffect()->setEnabled(true);
        auto* leaving = new StillPicture(picture, parentWidget());
        leaving->setGeometry(QRect(m_capsule->mapTo(parentWidget(), QPoint()), m_capsule->size()));
        leaving->setGraphicsEffect(new TransitionEffect);
        leaving->show();
        m_capsuleLeaving = leaving;
        m_capsuleOut.jump(std::clamp(m_capsuleIn.value(), 0.0, 1.0));
        m_capsuleOut.retarget(0, NotchMotion::capsuleSpring());
        m_capsuleIn.jump(1);
        m_capsule->hide();
    } else {
        m_capsuleIn.jump(1);
        m_capsule->hide();
    }
    applyCapsule();
    if (animated) m_driver->kick();
}

bool NotchWorkingCard::step(double dt) {
    bool moving = m_capsuleIn.advance(dt);
    moving = m_capsuleOut.advance(dt) || moving;
    applyCapsule();
    return moving;
}

void NotchWorkingCard::applyCapsule() {
    static_cast<TransitionEffect*>(m_capsule->graphicsEffect())
        ->setLook(NotchMotion::capsule(m_capsuleIn.value()));
    if (!m_capsuleLeaving) return;
    if (m_capsuleOut.isSettled()) {
        delete m_capsuleLeaving;
        return;
    }
    static_cast<TransitionEffect*>(m_capsuleLeaving->graphicsEffect())
        ->setLook(NotchMotion::capsule(m_capsuleOut.value()));
}

NotchWorkingCard::~NotchWorkingCard() {
    // The picture lives beside the card: it goes with it.
    delete m_capsuleLeaving;
}

void NotchWorkingCard::hideEvent(QHideEvent* e) {
    delete m_capsuleLeaving;
    QWidget::hideEvent(e);
}

} // namespace nolvea
