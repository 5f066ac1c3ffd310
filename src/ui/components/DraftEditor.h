#pragma once

#include <QWidget>

#include <functional>

class QPlainTextEdit;

namespace nolvea {

class GlassButton;

// The editor of an action's editable value: several lines, where Return inserts a line
// break; the send button or Ctrl+Return sends.
class DraftEditor : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMinHeight = 64;
    static constexpr int kMaxHeight = 150;

    DraftEditor(QString text, std::function<void()> onSend, QWidget* parent = nullptr);

    QString text() const;
    // Replaces the text unless it already reads so (the caret stays where it is).
    void setText(const QString& text);
    QPlainTextEdit* editor() const { return m_editor; }
    GlassButton* sendButton() const { return m_send; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

Q_SIGNALS:
    void textEdited(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    QPlainTextEdit* m_editor;
    GlassButton* m_send;
    std::function<void()> m_onSend;
};

} // namespace nolvea
