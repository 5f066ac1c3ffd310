#include "ui/drawer/DrawerRow.h"

#include "ui/animation/FrameDriver.h"
#include "ui/animation/ReplaceTransition.h"
#include "ui/animation/RevealBox.h"
#include "ui/animation/WidgetTransition.h"
#include "ui/animation/WidthMotion.h"
#include "ui/components/GlassButton.h"
#include "ui/components/Symbols.h"
#include "ui/composer/ComposerStyle.h"
#include "ui/drawer/DrawerMotion.h"
#include "ui/drawer/HistoryConversationView.h"
#include "ui/drawer/HistoryEntryIcon.h"
#include "ui/drawer/HistoryList.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QTimeZone>
#include <QVBoxLayout>

namespace nolvea {

namespace {

// The row's header: all of it is one button, blank space included.
class RowHeader : public QWidget {
public:
    explicit RowHeader(std::function<void()> activate)
        : m_activate(std::move(activate)) {
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::TabFocus);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (rect().contains(e->position().toPoint())) m_activate();
    }
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Space || e->key() == Qt::Key_Return) {
            m_activate();
            return;
        }
        QWidget::keyPressEvent(e);
    }

private:
    std::function<void()> m_activate;
};

// The chevron, turned and faded by the row's springs.
class Chevron : public QWidget {
public:
    Chevron(const SpringValue& opacity, const SpringValue& turn)
        : m_opacity(opacity)
        , m_turn(turn) {
        setFixedSize(18, 18);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const double opacity = std::clamp(m_opacity.value(), 0.0, 1.0);
        if (opacity <= 0) return;
        const QPixmap arrow = Symbols::pixmap(QStringLiteral("chevron.right"), 10,
                                              ComposerStyle::ink(0.6), devicePixelRatioF());
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.setOpacity(opacity);
        // Its top sits 8 points down the header, turned about its own centre.
        p.translate(width() / 2.0, 8 + 5);
        p.rotate(DrawerMotion::chevronAngle(m_turn.value()));
        p.drawPixmap(QPointF(-5, -5), arrow);
    }

private:
    const SpringValue& m_opacity;
    const SpringValue& m_turn;
};

} // namespace

DrawerRow::DrawerRow(HistoryEntry entry, Actions actions, QWidget* parent)
    : QWidget(parent)
    , m_entry(std::move(entry))
    , m_actions(std::move(actions)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(12);

    m_header = new RowHeader([this] { m_actions.toggle(); });
    auto* line = new QHBoxLayout(m_header);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(10);
    line->addWidget(new HistoryEntryIcon(m_entry.kind, 28), 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    m_preview = ComposerStyle::label(HistoryList::preview(m_entry).simplified(), 13, QFont::Normal,
                                     ComposerStyle::ink());
    m_preview->setWordWrap(true);
    m_preview->setMaximumHeight(2 * m_preview->fontMetrics().lineSpacing());
    m_preview->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    texts->addWidget(m_preview);
    m_meta = ComposerStyle::label(
        HistoryList::meta(m_entry, QTimeZone::systemTimeZone(), HistoryList::locale()), 11,
        QFont::Normal, ComposerStyle::ink(0.6));
    texts->addWidget(m_meta);
    line->addLayout(texts, 1);
    line->addSpacing(4);
    m_chevron = new Chevron(m_chevronOpacity, m_chevronTurn);
    line->addWidget(m_chevron, 0, Qt::AlignTop);
    column->addWidget(m_header);
    setAccessibleName(HistoryList::preview(m_entry));
    m_header->setAccessibleName(HistoryList::preview(m_entry).simplified());
    m_header->setAccessibleDescription(m_meta->text());
    m_driver = new FrameDriver(this, [this](double dt) { return step(dt); });
    refresh();
}

RevealBox* DrawerRow::detail() const {
    return m_detail ? m_detail : m_folding.data();
}

double DrawerRow::chevronAngle() const {
    return DrawerMotion::chevronAngle(m_chevronTurn.value());
}

void DrawerRow::setExpanded(bool expanded, bool animated) {
    if (expanded == m_expanded) return;
    m_expanded = expanded;
    if (expanded)
        buildDetail(animated);
    else
        dropDetail(animated);
    refresh();
    if (animated) {
        animateDecorations();
    } else {
        m_fill.jump(DrawerMotion::rowFill(m_expanded, m_hovering));
        m_chevronOpacity.jump(m_hovering || m_expanded ? 1 : 0);
        m_chevronTurn.jump(m_expanded ? 1 : 0);
        update();
    }
}

void DrawerRow::buildDetail(bool animated) {
    auto* detail = new QWidget;
    auto* column = new QVBoxLayout(detail);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    m_conversation = new HistoryConversationView(m_entry);
    column->addWidget(m_conversation);
    auto* bar = new QHBoxLayout;
    bar->setSpacing(8);
    // Built again on each unfolding, it comes as the row left it.
    m_copy =
        new GlassButton({.title = m_copied ? QStringLiteral("Copiado") : QStringLiteral("Copiar"),
                         .symbol = QStringLiteral("doc.on.doc"),
                         .symbolFirst = true});
    m_copy->setAccessibleName(m_copy->look().title);
    const SpringSpec copied = DrawerMotion::spring(DrawerMotion::Change::copied);
    m_copyChange = new ReplaceTransition(m_copy, copied, DrawerMotion::crossFade);
    m_copyWidth = new WidthMotion(m_copy, copied);
    m_copyWidth->setCompanion([change = m_copyChange] { return change->leaving(); });
    connect(m_copy, &QAbstractButton::clicked, this, [this] {
        QGuiApplication::clipboard()->setText(m_entry.output);
        m_copied = true;
        refresh();
    });
    bar->addWidget(m_copy);
    bar->addStretch(1);
    // Without a trash symbol in the icon theme, the word says it.
    m_delete = new GlassButton(
        {.title = Symbols::isKnown(QStringLiteral("trash")) ? QString() : QStringLiteral("Apagar"),
         .symbol = QStringLiteral("trash")});
    m_delete->setAccessibleName(QStringLiteral("Apagar"));
    m_delete->setToolTip(QStringLiteral("Apagar"));
    connect(m_delete, &QAbstractButton::clicked, this, [this] { m_actions.remove(); });
    bar->addWidget(m_delete);
    column->addLayout(bar);

    // It comes down from under the header, fading in, and pushes the rows below along.
    m_detail = new RevealBox(detail);
    m_detailMotion = new WidgetTransition(m_detail, DrawerMotion::fade, !animated);
    RevealBox* box = m_detail;
    m_detailMotion->setOnProgress([box](double p) { box->setFraction(p); });
    layout()->addWidget(m_detail);
    m_detail->show();
    if (animated) m_detailMotion->appear(DrawerMotion::spring(DrawerMotion::Change::expand));
}

void DrawerRow::dropDetail(bool animated) {
    if (!m_detail) return;
    RevealBox* box = std::exchange(m_detail, nullptr);
    WidgetTransition* motion = std::exchange(m_detailMotion, nullptr);
    m_conversation = nullptr;
    m_copy = nullptr;
    m_copyChange = nullptr;
    m_copyWidth = nullptr;
    m_delete = nullptr;
    // A conversation still folding away goes at once; this one takes its place.
    if (m_folding) m_folding->deleteLater();
    m_folding = box;
    const auto gone = [box] {
        box->hide();
        box->deleteLater();
    };
    if (!animated) {
        gone();
        return;
    }
    // Nothing of a folding conversation takes clicks.
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    motion->disappear(DrawerMotion::spring(DrawerMotion::Change::collapse), gone);
}

void DrawerRow::refresh() {
    m_preview->setVisible(!m_expanded);
    m_meta->setFont(
        ComposerStyle::font(m_expanded ? 12 : 11, m_expanded ? QFont::DemiBold : QFont::Normal));
    m_meta->setContentsMargins(0, m_expanded ? 6 : 0, 0, 0);
    if (m_copy) {
        GlassButton::Look look = m_copy->look();
        look.title = m_copied ? QStringLiteral("Copiado") : QStringLiteral("Copiar");
        if (look.title != m_copy->look().title) {
            m_copyWidth->change([&] {
                m_copyChange->aboutToChange();
                m_copy->setLook(look);
            });
        }
        m_copy->setAccessibleName(look.title);
    }
    update();
}

void DrawerRow::animateDecorations() {
    const SpringSpec hover = DrawerMotion::spring(DrawerMotion::Change::hover);
    const SpringSpec fold = DrawerMotion::spring(m_expanded ? DrawerMotion::Change::expand
                                                            : DrawerMotion::Change::collapse);
    m_driver->animate(m_fill, DrawerMotion::rowFill(m_expanded, m_hovering), hover);
    m_driver->animate(m_chevronOpacity, m_hovering || m_expanded ? 1 : 0, hover);
    m_driver->animate(m_chevronTurn, m_expanded ? 1 : 0, fold);
    m_chevron->update();
}

bool DrawerRow::step(double dt) {
    bool moving = false;
    for (SpringValue* s : {&m_fill, &m_chevronOpacity, &m_chevronTurn})
        moving = s->advance(dt) || moving;
    m_chevron->update();
    return moving;
}

void DrawerRow::enterEvent(QEnterEvent*) {
    m_hovering = true;
    animateDecorations();
}

void DrawerRow::leaveEvent(QEvent*) {
    m_hovering = false;
    animateDecorations();
}

void DrawerRow::paintEvent(QPaintEvent*) {
    const double fill = m_fill.value();
    if (fill <= 0) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath r;
    r.addRoundedRect(QRectF(rect()), 14, 14);
    p.fillPath(r, ComposerStyle::ink(fill));
}

} // namespace nolvea
