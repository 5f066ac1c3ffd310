#include "ui/components/DraftEditor.h"

#include "ui/components/Brand.h"
#include "ui/components/BrandFont.h"
#include "ui/components/GlassButton.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <algorithm>

namespace nolvea {

namespace {
constexpr int kPad = 8;
constexpr int kSendRoom = 34;
constexpr int kSendSide = 28;

bool isSendKey(const QKeyEvent* k) {
    return (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) &&
           (k->modifiers() & Qt::ControlModifier);
}
} // namespace

DraftEditor::DraftEditor(QString text, std::function<void()> onSend, QWidget* parent)
    : QWidget(parent)
    , m_onSend(std::move(onSend)) {
    m_editor = new QPlainTextEdit(this);
    m_editor->setAccessibleName(QStringLiteral("Texto da ação"));
    m_editor->setFrameShape(QFrame::NoFrame);
    m_editor->viewport()->setAutoFillBackground(false);
    m_editor->setAutoFillBackground(false);
    m_editor->setStyleSheet(
        QStringLiteral("QPlainTextEdit { background: transparent; color: white; }"));
    QFont f = m_editor->font();
    BrandFont::setPixels(f, 13);
    m_editor->setFont(f);
    m_editor->setTabChangesFocus(true);
    m_editor->setPlainText(text);
    m_editor->installEventFilter(this);
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        updateGeometry();
        Q_EMIT textEdited(m_editor->toPlainText());
    });

    m_send = new GlassButton({.symbol = QStringLiteral("paperplane.fill"),
                              .prominent = QColor::fromRgbF(0.13f, 0.62f, 0.38f),
                              .corner = 8},
                             this);
    m_send->setAccessibleName(QStringLiteral("Enviar"));
    m_send->setToolTip(QStringLiteral("Enviar (Ctrl+⏎)"));
    m_send->setFixedSize(kSendSide, kSendSide);
    connect(m_send, &QAbstractButton::clicked, this, [this] {
        if (m_onSend) m_onSend();
    });
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

QString DraftEditor::text() const {
    return m_editor->toPlainText();
}

void DraftEditor::setText(const QString& text) {
    if (m_editor->toPlainText() != text) m_editor->setPlainText(text);
}

int DraftEditor::heightForWidth(int width) const {
    QTextDocument doc;
    doc.setDefaultFont(m_editor->font());
    doc.setDocumentMargin(m_editor->document()->documentMargin());
    doc.setPlainText(m_editor->toPlainText());
    doc.setTextWidth(std::max(1, width - 2 * kPad - kSendRoom));
    const int h = int(std::ceil(doc.size().height())) + 2 * kPad;
    return std::clamp(h, kMinHeight, kMaxHeight);
}

QSize DraftEditor::sizeHint() const {
    return {300, heightForWidth(300)};
}

bool DraftEditor::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_editor &&
        (e->type() == QEvent::KeyPress || e->type() == QEvent::ShortcutOverride)) {
        if (isSendKey(static_cast<QKeyEvent*>(e))) {
            if (e->type() == QEvent::KeyPress && m_onSend) m_onSend();
            e->accept();
            return e->type() == QEvent::KeyPress;
        }
    }
    return QWidget::eventFilter(watched, e);
}

void DraftEditor::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 14, 14);
    p.fillPath(shape, Brand::withOpacity(Qt::white, 0.07));
    p.setPen(QPen(Brand::withOpacity(Qt::white, 0.1), 1));
    p.drawPath(shape);
}

void DraftEditor::resizeEvent(QResizeEvent*) {
    m_editor->setGeometry(kPad, kPad, width() - 2 * kPad - kSendRoom, height() - 2 * kPad);
    m_send->move(width() - kPad - kSendSide, height() - kPad - kSendSide);
}

} // namespace nolvea
