#pragma once

#include <QLabel>

namespace nolvea {

// A one-line plain-text label that cuts its text with an ellipsis to fit its width; a screen
// reader still hears the whole text.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void setFullText(const QString& text);
    QString fullText() const { return m_full; }

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void refit();

    QString m_full;
};

} // namespace nolvea
