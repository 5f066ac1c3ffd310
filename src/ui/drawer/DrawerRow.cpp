#include "ui/drawer/DrawerRow.h"

#include "ui/components/GlassButton.h"
#include "ui/components/Symbols.h"
#include "ui/composer/ComposerStyle.h"
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
    m_chevron = new QLabel;
    m_chevron->setFixedSize(10, 18);
    line->addWidget(m_chevron, 0, Qt::AlignTop);
    column->addWidget(m_header);
    setAccessibleName(HistoryList::preview(m_entry));
    m_header->setAccessibleName(HistoryList::preview(m_entry).simplified());
    m_header->setAccessibleDescription(m_meta->text());
    refresh();
}

void DrawerRow::setExpanded(bool expanded) {
    if (expanded == m_expanded) return;
    m_expanded = expanded;
    refresh();
}

void DrawerRow::refresh() {
    m_preview->setVisible(!m_expanded);
    m_meta->setFont(
        ComposerStyle::font(m_expanded ? 12 : 11, m_expanded ? QFont::DemiBold : QFont::Normal));
    m_meta->setContentsMargins(0, m_expanded ? 6 : 0, 0, 0);
    const bool chevron = m_hovering || m_expanded;
    QPixmap arrow = Symbols::pixmap(m_expanded ? QStringLiteral("chevron.down")
                                               : QStringLiteral("chevron.right"),
                                    10, ComposerStyle::ink(0.6), devicePixelRatioF());
    m_chevron->setPixmap(chevron ? arrow : QPixmap());

    if (m_expanded && !m_detail) {
        m_detail = new QWidget;
        auto* column = new QVBoxLayout(m_detail);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(12);
        m_conversation = new HistoryConversationView(m_entry);
        column->addWidget(m_conversation);
        auto* bar = new QHBoxLayout;
        bar->setSpacing(8);
        m_copy = new GlassButton({.title = QStringLiteral("Copiar"),
                                  .symbol = QStringLiteral("doc.on.doc"),
                                  .symbolFirst = true});
        m_copy->setAccessibleName(QStringLiteral("Copiar"));
        connect(m_copy, &QAbstractButton::clicked, this, [this] {
            QGuiApplication::clipboard()->setText(m_entry.output);
            m_copied = true;
            refresh();
        });
        bar->addWidget(m_copy);
        bar->addStretch(1);
        // Without a trash symbol in the icon theme, the word says it.
        m_delete = new GlassButton({.title = Symbols::isKnown(QStringLiteral("trash"))
                                                 ? QString()
                                                 : QStringLiteral("Apagar"),
                                    .symbol = QStringLiteral("trash")});
        m_delete->setAccessibleName(QStringLiteral("Apagar"));
        m_delete->setToolTip(QStringLiteral("Apagar"));
        connect(m_delete, &QAbstractButton::clicked, this, [this] { m_actions.remove(); });
        bar->addWidget(m_delete);
        column->addLayout(bar);
        layout()->addWidget(m_detail);
        m_detail->show();
    } else if (!m_expanded && m_detail) {
        m_detail->hide();
        m_detail->deleteLater();
        m_detail = nullptr;
        m_conversation = nullptr;
        m_copy = nullptr;
        m_delete = nullptr;
    }
    if (m_copy) {
        GlassButton::Look look = m_copy->look();
        look.title = m_copied ? QStringLiteral("Copiado") : QStringLiteral("Copiar");
        m_copy->setLook(look);
        m_copy->setAccessibleName(look.title);
    }
    update();
}

void DrawerRow::enterEvent(QEnterEvent*) {
    m_hovering = true;
    refresh();
}

void DrawerRow::leaveEvent(QEvent*) {
    m_hovering = false;
    refresh();
}

void DrawerRow::paintEvent(QPaintEvent*) {
    const double fill = m_expanded ? 0.06 : m_hovering ? 0.045 : 0;
    if (fill == 0) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath r;
    r.addRoundedRect(QRectF(rect()), 14, 14);
    p.fillPath(r, ComposerStyle::ink(fill));
}

} // namespace nolvea
