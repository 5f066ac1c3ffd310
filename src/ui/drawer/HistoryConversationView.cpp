#include "ui/drawer/HistoryConversationView.h"

#include "ui/components/Brand.h"
#include "ui/components/MarkdownText.h"
#include "ui/composer/ComposerStyle.h"
#include "ui/drawer/HistoryEntryIcon.h"
#include "ui/drawer/HistoryList.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace nolvea {

HistoryConversationView::HistoryConversationView(const HistoryEntry& entry, QWidget* parent)
    : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 2, 0, 2);
    column->setSpacing(12);
    if (HistoryList::showsRequest(entry)) {
        auto* row = new QHBoxLayout;
        row->addSpacing(40);
        row->addStretch(1);
        const bool dictation = entry.kind == HistoryEntry::Kind::dictation;
        m_request = ComposerStyle::label(entry.transcript, 12.5, QFont::Normal,
                                         ComposerStyle::ink(dictation ? 0.6 : 1));
        m_request->setWordWrap(true);
        m_request->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_request->setAccessibleName(entry.transcript);
        m_request->setContentsMargins(12, 8, 12, 8);
        m_request->setStyleSheet(
            QStringLiteral("QLabel { background: rgba(255,255,255,23); border-radius: 14px; }"));
        row->addWidget(m_request, 0, Qt::AlignRight);
        column->addLayout(row);
    }
    auto* answerRow = new QHBoxLayout;
    answerRow->setSpacing(10);
    answerRow->addWidget(new HistoryEntryIcon(entry.kind, 24), 0, Qt::AlignTop);
    m_answer = new MarkdownText(entry.output);
    m_answer->setFont(ComposerStyle::font(13.5));
    m_answer->setLinkColor(Brand::roxoClaro());
    QPalette pal = m_answer->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    m_answer->setPalette(pal);
    m_answer->setContentsMargins(0, 3, 0, 0);
    answerRow->addWidget(m_answer, 1);
    column->addLayout(answerRow);
}

} // namespace nolvea
