#include "ui/drawer/HistoryDrawerView.h"

#include "core/AppSettings.h"
#include "core/HistoryStore.h"
#include "ui/animation/ReplaceTransition.h"
#include "ui/animation/WidgetTransition.h"
#include "ui/animation/WidthMotion.h"
#include "ui/components/GlassButton.h"
#include "ui/components/Symbols.h"
#include "ui/components/Theme.h"
#include "ui/composer/ComposerStyle.h"
#include "ui/drawer/DrawerCountsLabel.h"
#include "ui/drawer/DrawerMotion.h"
#include "ui/drawer/DrawerRow.h"
#include "ui/drawer/HistoryDrawerModel.h"
#include "ui/drawer/HistoryList.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QSet>
#include <QTimeZone>
#include <QVBoxLayout>

#include <algorithm>

namespace nolvea {

namespace {

// The drawer's glass card along the left edge.
class DrawerCard : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath card;
        card.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 28, 28);
        p.fillPath(card, QColor(24, 22, 32, 235));
        p.setPen(QPen(ComposerStyle::ink(0.12), 1));
        p.drawPath(card);
    }
};

// The search field's capsule.
class Capsule : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        QPainterPath capsule;
        capsule.addRoundedRect(r, r.height() / 2, r.height() / 2);
        p.fillPath(capsule, ComposerStyle::ink(0.06));
        p.setPen(QPen(ComposerStyle::ink(0.08), 1));
        p.drawPath(capsule);
    }
};

} // namespace

HistoryDrawerView::HistoryDrawerView(HistoryDrawerModel& model, HistoryStore& history,
                                     AppSettings& settings, std::function<void()> close,
                                     QWidget* parent)
    : QWidget(parent)
    , m_model(model)
    , m_history(history)
    , m_settings(settings)
    , m_closeDrawer(std::move(close)) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    m_card = new DrawerCard;
    m_card->setAccessibleName(QStringLiteral("Histórico"));
    outer->addWidget(m_card);
    auto* column = new QVBoxLayout(m_card);
    column->setContentsMargins(18, 18, 18, 18);
    column->setSpacing(14);

    // Header.
    auto* header = new QHBoxLayout;
    header->setSpacing(10);
    auto* titles = new QVBoxLayout;
    titles->setSpacing(2);
    titles->addWidget(
        ComposerStyle::label(QStringLiteral("Histórico"), 22, QFont::Bold, ComposerStyle::ink()));
    m_counts = new DrawerCountsLabel;
    m_counts->setFont(ComposerStyle::font(11));
    QPalette countsInk = m_counts->palette();
    countsInk.setColor(QPalette::WindowText, ComposerStyle::ink(0.6));
    m_counts->setPalette(countsInk);
    titles->addWidget(m_counts);
    header->addLayout(titles, 1);
    m_clear = new GlassButton({.symbol = QStringLiteral("trash")});
    m_clear->setToolTip(QStringLiteral("Limpar histórico"));
    connect(m_clear, &QAbstractButton::clicked, this, &HistoryDrawerView::pressClear);
    // The trash and the question cross-fade into each other.
    const SpringSpec confirm = DrawerMotion::spring(DrawerMotion::Change::confirm);
    m_clearChange = new ReplaceTransition(m_clear, confirm, DrawerMotion::crossFade);
    // The capsule grows and shrinks with the same spring; the old label fades in its middle.
    m_clearWidth = new WidthMotion(m_clear, confirm);
    m_clearWidth->setCompanion([this] { return m_clearChange->leaving(); });
    header->addWidget(m_clear, 0, Qt::AlignTop);
    m_close = new GlassButton({.symbol = QStringLiteral("xmark")});
    m_close->setToolTip(QStringLiteral("Fechar"));
    m_close->setAccessibleName(QStringLiteral("Fechar"));
    connect(m_close, &QAbstractButton::clicked, this, [this] { m_closeDrawer(); });
    header->addWidget(m_close, 0, Qt::AlignTop);
    column->addLayout(header);

    // Search.
    auto* search = new Capsule;
    auto* searchLine = new QHBoxLayout(search);
    searchLine->setContentsMargins(12, 8, 12, 8);
    searchLine->setSpacing(8);
    auto* glass = new QLabel;
    glass->setPixmap(Symbols::pixmap(QStringLiteral("magnifyingglass"), 12, ComposerStyle::ink(0.6),
                                     devicePixelRatioF()));
    searchLine->addWidget(glass);
    m_search = new QLineEdit;
    ComposerStyle::plainField(m_search, 13);
    m_search->setPlaceholderText(QStringLiteral("Buscar no histórico"));
    m_search->setAccessibleName(QStringLiteral("Buscar no histórico"));
    m_search->installEventFilter(this);
    searchLine->addWidget(m_search, 1);
    m_searchClear = new GlassButton({.symbol = QStringLiteral("xmark.circle.fill")});
    m_searchClear->setAccessibleName(QStringLiteral("Limpar busca"));
    connect(m_searchClear, &QAbstractButton::clicked, this, [this] { m_model.setQuery({}); });
    m_searchClearMotion = new WidgetTransition(m_searchClear, DrawerMotion::fade, false);
    m_searchClear->hide();
    searchLine->addWidget(m_searchClear);
    column->addWidget(search);
    connect(m_search, &QLineEdit::textEdited, &m_model, &HistoryDrawerModel::setQuery);

    // The list, or the empty state in its place.
    m_scroll = new QScrollArea;
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setStyleSheet(QStringLiteral("QScrollArea { background: transparent; }"));
    m_list = new QWidget;
    m_list->setAutoFillBackground(false);
    m_listLayout = new QVBoxLayout(m_list);
    m_listLayout->setContentsMargins(0, 0, 0, 8);
    m_listLayout->setSpacing(2);
    m_scroll->setWidget(m_list);
    m_list->setAutoFillBackground(false); // the scroll area turned it on
    m_scroll->viewport()->setAutoFillBackground(false);
    column->addWidget(m_scroll, 1);

    m_empty = new QWidget;
    auto* empty = new QVBoxLayout(m_empty);
    empty->setSpacing(10);
    empty->addStretch(1);
    m_emptySymbol = new QLabel;
    m_emptySymbol->setAlignment(Qt::AlignCenter);
    empty->addWidget(m_emptySymbol);
    m_emptyTitle = ComposerStyle::label({}, 14, QFont::DemiBold, ComposerStyle::ink());
    m_emptyTitle->setAlignment(Qt::AlignCenter);
    empty->addWidget(m_emptyTitle);
    m_emptyHint = ComposerStyle::label({}, 12, QFont::Normal, ComposerStyle::ink(0.6));
    m_emptyHint->setAlignment(Qt::AlignCenter);
    m_emptyHint->setWordWrap(true);
    empty->addWidget(m_emptyHint);
    empty->addStretch(1);
    column->addWidget(m_empty, 1);

    connect(&m_history, &HistoryStore::entriesChanged, this, &HistoryDrawerView::rebuild);
    connect(&m_model, &HistoryDrawerModel::queryChanged, this, &HistoryDrawerView::rebuild);
    connect(&m_model, &HistoryDrawerModel::expandedIDChanged, this,
            &HistoryDrawerView::refreshExpanded);
    connect(&m_model, &HistoryDrawerModel::isOpenChanged, this, &HistoryDrawerView::openChanged);
    connect(&m_settings, &AppSettings::hotkeyChanged, this, &HistoryDrawerView::rebuild);
    // Off to the left, past the panel's edge, it is out of sight.
    m_cardMotion = new WidgetTransition(
        m_card, [this](double p) { return DrawerMotion::card(p, m_card->x() + m_card->width()); },
        m_model.isOpen());
    m_card->setVisible(m_model.isOpen());
    rebuild();
}

HistoryDrawerView::~HistoryDrawerView() = default;

QList<DrawerRow*> HistoryDrawerView::rows() const {
    QList<DrawerRow*> out;
    for (int i = 0; i < m_listLayout->count(); ++i)
        if (auto* row = qobject_cast<DrawerRow*>(m_listLayout->itemAt(i)->widget()))
            out.append(row);
    return out;
}

QStringList HistoryDrawerView::groupTitles() const {
    QStringList out;
    for (QLabel* l : m_groupLabels)
        out.append(l->text());
    return out;
}

void HistoryDrawerView::refreshHeader() {
    const int count = int(m_history.entries().size());
    m_counts->setCounts(HistoryList::counts(count, m_history.totalWords()));
    m_clear->setVisible(count > 0);
    GlassButton::Look look = m_clear->look();
    look.symbol = m_confirmingClear ? QString() : QStringLiteral("trash");
    look.title = m_confirmingClear               ? QStringLiteral("Apagar tudo?")
                 : Symbols::isKnown(look.symbol) ? QString()
                                                 : QStringLiteral("Limpar");
    look.ink = m_confirmingClear ? std::optional<QColor>(Theme::failure()) : std::nullopt;
    if (look.symbol != m_clear->look().symbol || look.title != m_clear->look().title) {
        m_clearWidth->change([&] {
            m_clearChange->aboutToChange();
            m_clear->setLook(look);
        });
    }
    m_clear->setAccessibleName(m_confirmingClear ? QStringLiteral("Apagar tudo?")
                                                 : QStringLiteral("Limpar histórico"));
}

void HistoryDrawerView::pressClear() {
    if (!m_confirmingClear) {
        m_confirmingClear = true;
        // Each first press gets its own full window.
        m_clearTimer = Clock::shared().schedule(kClearWindow, false, [this] {
            m_confirmingClear = false;
            refreshHeader();
        });
        refreshHeader();
        return;
    }
    if (m_clearTimer) m_clearTimer->stop();
    m_confirmingClear = false;
    m_history.clear();
    refreshHeader();
}

void HistoryDrawerView::rebuild() {
    refreshHeader();
    if (m_search->text() != m_model.query()) m_search->setText(m_model.query());
    const bool clearable = !m_model.query().isEmpty();
    if (clearable != m_searchClearMotion->isAppearing()) {
        const SpringSpec spring = DrawerMotion::spring(DrawerMotion::Change::query);
        if (clearable) {
            m_searchClear->show();
            m_searchClearMotion->appear(spring);
        } else {
            m_searchClearMotion->disappear(spring, [this] { m_searchClear->hide(); });
        }
    }

    const auto groups = HistoryList::groups(
        HistoryList::filtered(m_history.entries(), m_model.query()), Clock::shared().now(),
        QTimeZone::systemTimeZone(), HistoryList::locale());
    while (QLayoutItem* item = m_listLayout->takeAt(0))
        delete item;
    // Hidden at once: out of the layout, a title would stay drawn where it stood until the
    // event loop deletes it.
    for (QLabel* l : m_groupLabels) {
        l->hide();
        l->deleteLater();
    }
    m_groupLabels.clear();

    QHash<QUuid, DrawerRow*> kept;
    for (const HistoryList::Group& g : groups) {
        QLabel* title = ComposerStyle::label(g.title, 11, QFont::DemiBold, ComposerStyle::ink(0.6));
        title->setContentsMargins(8, m_groupLabels.isEmpty() ? 0 : 14, 0, 4);
        m_groupLabels.append(title);
        m_listLayout->addWidget(title);
        for (const HistoryEntry& e : g.entries) {
            DrawerRow* row = m_rows.take(e.id);
            if (!row) {
                const QUuid id = e.id;
                row = new DrawerRow(e, {.toggle = [this, id] { m_model.toggle(id); },
                                        .remove = [this, e] { m_history.remove(e); }});
                // A row that comes with the list comes as it is.
                row->setExpanded(m_model.expandedID() == e.id, false);
            }
            kept.insert(e.id, row);
            m_listLayout->addWidget(row);
            row->show();
        }
    }
    m_listLayout->addStretch(1);
    // Rows filtered out go at once; deleted ones fade where they stood while the others close
    // up. One being clicked now goes after its click.
    QSet<QUuid> stored;
    for (const HistoryEntry& e : m_history.entries())
        stored.insert(e.id);
    for (DrawerRow* gone : std::as_const(m_rows)) {
        if (stored.contains(gone->entry().id) || !gone->isVisible()) {
            gone->hide();
            gone->deleteLater();
            continue;
        }
        leave(gone);
    }
    m_rows = std::move(kept);

    const bool empty = groups.isEmpty();
    m_scroll->setVisible(!empty);
    m_empty->setVisible(empty);
    const auto state = HistoryList::emptyState(m_model.query(), m_settings.hotkey());
    m_emptySymbol->setPixmap(
        Symbols::pixmap(state.symbol, 30, ComposerStyle::ink(0.6), devicePixelRatioF()));
    m_emptyTitle->setText(state.title);
    m_emptyHint->setText(state.hint);
}

void HistoryDrawerView::leave(DrawerRow* row) {
    row->setAttribute(Qt::WA_TransparentForMouseEvents);
    row->lower();
    m_leaving.append(row);
    auto* motion = new WidgetTransition(row, DrawerMotion::fade);
    motion->disappear(DrawerMotion::spring(DrawerMotion::Change::remove), [this, row] {
        m_leaving.removeAll(row);
        row->hide();
        row->deleteLater();
    });
}

void HistoryDrawerView::openChanged() {
    if (m_model.isOpen()) {
        m_card->show();
        m_cardMotion->appear(DrawerMotion::spring(DrawerMotion::Change::open));
    } else {
        m_cardMotion->disappear(DrawerMotion::spring(DrawerMotion::Change::close),
                                [this] { m_card->hide(); });
    }
}

void HistoryDrawerView::refreshExpanded() {
    for (DrawerRow* row : std::as_const(m_rows))
        row->setExpanded(m_model.expandedID() == row->entry().id);
}

bool HistoryDrawerView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_search && e->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
        m_closeDrawer();
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

} // namespace nolvea
