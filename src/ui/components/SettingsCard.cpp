#include "ui/components/SettingsCard.h"

#include "ui/components/SettingsText.h"
#include "ui/components/SiteKit.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace nolvea {

namespace {

class Sheet : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        SiteKit::paintSheet(p, QRectF(rect()), 14, false);
    }
};

QLabel* indented(QLabel* label) {
    label->setContentsMargins(2, 0, 0, 0);
    return label;
}

} // namespace

SettingsCard::SettingsCard(std::optional<QString> title, std::optional<QString> footer,
                           QWidget* parent)
    : QWidget(parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(8);
    if (title) {
        m_title = indented(SettingsText::label(*title, SettingsText::Style::cardTitle, this));
        m_title->setAccessibleName(*title);
        outer->addWidget(m_title);
    }
    auto* sheet = new Sheet(this);
    m_content = new QVBoxLayout(sheet);
    m_content->setContentsMargins(16, 16, 16, 16);
    m_content->setSpacing(14);
    outer->addWidget(sheet);
    m_footer = indented(SettingsText::label({}, SettingsText::Style::cardFooter, this));
    outer->addWidget(m_footer);
    setFooter(footer);
}

void SettingsCard::add(QWidget* content) {
    m_content->addWidget(content);
}

void SettingsCard::addDivider() {
    m_content->addWidget(SettingsText::divider());
}

void SettingsCard::setFooter(const std::optional<QString>& footer) {
    m_footer->setText(footer.value_or(QString()));
    m_footer->setVisible(footer.has_value());
}

std::optional<QString> SettingsCard::footer() const {
    if (m_footer->isHidden()) return std::nullopt;
    return m_footer->text();
}

} // namespace nolvea
