#include "ui/components/SettingRow.h"

#include "ui/components/SettingsText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace nolvea {

SettingRow::SettingRow(const QString& title, std::optional<QString> detail, QWidget* trailing,
                       QWidget* parent)
    : QWidget(parent)
    , m_trailing(trailing) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    m_title = SettingsText::label(title, SettingsText::Style::rowTitle, this);
    m_detail = SettingsText::label({}, SettingsText::Style::rowDetail, this);
    texts->addWidget(m_title);
    texts->addWidget(m_detail);
    row->addLayout(texts, 1);
    row->addSpacing(16);
    if (trailing) {
        trailing->setParent(this);
        if (trailing->accessibleName().isEmpty()) trailing->setAccessibleName(title);
        row->addWidget(trailing, 0, Qt::AlignVCenter | Qt::AlignRight);
    }
    setDetail(detail);
}

QString SettingRow::title() const {
    return m_title->text();
}

void SettingRow::setTitle(const QString& title) {
    m_title->setText(title);
}

std::optional<QString> SettingRow::detail() const {
    if (m_detail->isHidden()) return std::nullopt;
    return m_detail->text();
}

void SettingRow::setDetail(const std::optional<QString>& detail) {
    m_detail->setText(detail.value_or(QString()));
    m_detail->setVisible(detail.has_value());
    if (m_trailing) m_trailing->setAccessibleDescription(detail.value_or(QString()));
}

} // namespace nolvea
