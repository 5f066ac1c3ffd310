#include "ui/settings/AgentToolsCard.h"

#include "ui/components/Brand.h"
#include "ui/components/SettingsCard.h"
#include "ui/components/SettingsText.h"
#include "ui/components/Symbols.h"
#include "ui/settings/AgentToolsModel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace nolvea {

namespace {

class ToolIcon : public QWidget {
public:
    explicit ToolIcon(const QString& symbol)
        : m_symbol(symbol) {
        setFixedSize(30, 30);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Brand::withOpacity(Brand::roxo(), 0.1));
        p.drawEllipse(rect());
        const QPixmap icon = Symbols::pixmap(m_symbol, 13, Brand::roxo(), devicePixelRatioF());
        if (!icon.isNull()) p.drawPixmap(QRect(8, 8, 14, 14), icon);
    }

private:
    QString m_symbol;
};

QWidget* toolRow(const AgentTool& tool) {
    auto* row = new QWidget;
    row->setAccessibleName(tool.name);
    row->setAccessibleDescription(tool.description);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(12);
    h->addWidget(new ToolIcon(tool.symbol), 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    auto* head = new QHBoxLayout;
    head->setSpacing(6);
    head->addWidget(SettingsText::label(
        tool.name, SettingsText::systemFont(12, QFont::DemiBold, true), Brand::tinta()));
    const QString badge = AgentToolsModel::badge(tool);
    if (!badge.isEmpty()) {
        auto* b = SettingsText::label(badge, SettingsText::systemFont(10, QFont::Medium),
                                      Brand::tinta2());
        b->setWordWrap(false);
        b->setStyleSheet(QStringLiteral("background:%1;border-radius:8px;padding:2px 6px;")
                             .arg(Brand::withOpacity(Brand::tinta(), 0.06).name(QColor::HexArgb)));
        b->setAccessibleName(badge);
        head->addWidget(b);
    }
    head->addStretch(1);
    texts->addLayout(head);
    texts->addWidget(
        SettingsText::label(tool.description, SettingsText::systemFont(11), Brand::suave()));
    h->addLayout(texts, 1);
    return row;
}

} // namespace

AgentToolsCard::AgentToolsCard(QWidget* parent)
    : QWidget(parent) {
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(22);
    for (const auto& group : AgentToolsModel::groups(AgentToolsModel::currentTools())) {
        auto* card = new SettingsCard(group.name);
        for (size_t i = 0; i < group.tools.size(); ++i) {
            card->add(toolRow(group.tools[i]));
            if (i + 1 < group.tools.size()) card->addDivider();
        }
        stack->addWidget(card);
    }
}

} // namespace nolvea
