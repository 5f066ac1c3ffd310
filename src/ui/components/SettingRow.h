#pragma once

#include <QString>
#include <QWidget>

#include <optional>

class QLabel;
class QHBoxLayout;

namespace nolvea {

// One line of a settings card: the label and an optional explanation on the left, the
// control pushed to the right edge and centred on the row's height. A control without an
// accessible name of its own takes the row's title, so a screen reader names it.
class SettingRow : public QWidget {
    Q_OBJECT

public:
    SettingRow(const QString& title, std::optional<QString> detail, QWidget* trailing,
               QWidget* parent = nullptr);

    QString title() const;
    std::optional<QString> detail() const;
    void setDetail(const std::optional<QString>& detail);
    void setTitle(const QString& title);
    QWidget* trailing() const { return m_trailing; }
    QLabel* detailLabel() const { return m_detail; }

private:
    QLabel* m_title;
    QLabel* m_detail;
    QWidget* m_trailing;
};

} // namespace nolvea
