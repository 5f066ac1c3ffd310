#pragma once

#include <QAbstractButton>

namespace nolvea {

// One recent result: its kind's symbol, up to two lines of the output and a copy mark. The
// whole row is the button.
class RecentRow : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr int kMaxLines = 2;

    RecentRow(const QString& symbol, const QString& output, QWidget* parent = nullptr);

    QString output() const { return m_output; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    // The text's lines in a column `width` wide, the last one cut with an ellipsis.
    QStringList lines(int width) const;
    int textWidth(int width) const;

    QString m_symbol;
    QString m_output;
    bool m_hover = false;
};

} // namespace nolvea
