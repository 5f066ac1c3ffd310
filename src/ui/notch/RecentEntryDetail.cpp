#include "ui/notch/RecentEntryDetail.h"

#include "support/Clock.h"
#include "ui/components/GlassButton.h"
#include "ui/components/MarkdownText.h"
#include "ui/notch/NotchStyle.h"
#include "ui/notch/RecentEntries.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace nolvea {

RecentEntryDetail::RecentEntryDetail(HistoryEntry entry, QWidget* parent)
    : QWidget(parent)
    , m_entry(std::move(entry))
    , m_back(new GlassButton({.title = QStringLiteral("Recentes"),
                              .symbol = QStringLiteral("chevron.left"),
                              .symbolFirst = true})) {
    setAccessibleName(RecentEntries::title(m_entry));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);

    auto* header = new QHBoxLayout;
    header->setSpacing(8);
    m_back->setAccessibleName(QStringLiteral("Voltar aos recentes"));
    connect(m_back, &QAbstractButton::clicked, this, &RecentEntryDetail::back);
    header->addWidget(m_back);
    header->addStretch(1);
    header->addWidget(NotchStyle::label(RecentEntries::subtitle(m_entry, Clock::shared().now()), 10,
                                        QFont::Normal, 0.4));
    column->addLayout(header);

    auto* body = new QWidget;
    auto* lines = new QVBoxLayout(body);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(8);
    if (!m_entry.transcript.isEmpty()) {
        QLabel* asked = NotchStyle::label(m_entry.transcript, 12, QFont::Normal, 0.55);
        asked->setWordWrap(true);
        asked->setTextInteractionFlags(Qt::TextSelectableByMouse);
        lines->addWidget(asked);
    }
    if (!m_entry.output.isEmpty()) {
        auto* answer = new MarkdownText(m_entry.output);
        QPalette pal = answer->palette();
        pal.setColor(QPalette::WindowText, Qt::white);
        answer->setPalette(pal);
        lines->addWidget(answer);
    }
    if (RecentEntries::detailScrolls(m_entry)) {
        auto* scroll = new QScrollArea;
        scroll->setAccessibleName(QStringLiteral("Conversa inteira"));
        scroll->setWidget(body);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setFixedHeight(RecentEntries::kDetailScrollHeight);
        scroll->setStyleSheet(QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget "
                                             "{ background: transparent; }"));
        column->addWidget(scroll);
    } else {
        column->addWidget(body);
    }
}

} // namespace nolvea
