#include "ui/settings/VocabularySettings.h"

#include "core/AppSettings.h"
#include "ui/components/Brand.h"
#include "ui/components/FlowLayout.h"
#include "ui/components/SettingsCard.h"
#include "ui/components/SettingsText.h"
#include "ui/components/SiteButton.h"
#include "ui/components/Symbols.h"
#include "ui/settings/VocabularyModel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace nolvea {

namespace {

class Chip : public QWidget {
public:
    Chip(const QString& word, std::function<void()> remove) {
        setAccessibleName(word);
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(10, 6, 10, 6);
        row->setSpacing(6);
        row->addWidget(
            SettingsText::label(word, SettingsText::systemFont(12, QFont::Medium), Brand::tinta()));
        auto* x = new QToolButton(this);
        x->setAutoRaise(true);
        x->setIcon(Symbols::icon(QStringLiteral("xmark"), Brand::suave()));
        x->setIconSize({9, 9});
        x->setCursor(Qt::PointingHandCursor);
        x->setAccessibleName(QStringLiteral("Remover ") + word);
        x->setStyleSheet(QStringLiteral("QToolButton{border:none;padding:0;}"));
        connect(x, &QToolButton::clicked, this, std::move(remove));
        row->addWidget(x);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Brand::withOpacity(Brand::tinta(), 0.055));
        p.drawRoundedRect(QRectF(rect()), 7, 7);
    }
};

} // namespace

VocabularySettings::VocabularySettings(QWidget* parent)
    : QWidget(parent) {
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(22);
    auto* card = new SettingsCard(
        QStringLiteral("Palavras e nomes"),
        QStringLiteral("Ajudam a transcrição a reconhecer termos raros e a IA a escrever do jeito "
                       "certo (nomes de pessoas, marcas, siglas)."));
    stack->addWidget(card);

    auto* entry = new QWidget;
    auto* row = new QHBoxLayout(entry);
    row->setContentsMargins(0, 0, 0, 0);
    m_field = new QLineEdit;
    m_field->setPlaceholderText(QStringLiteral("Ex.: Kubernetes, Tesmiro, LM Studio"));
    m_field->setAccessibleName(QStringLiteral("Nova palavra"));
    row->addWidget(m_field, 1);
    m_add =
        new SiteButton(QStringLiteral("Adicionar"), SiteKit::Kind::primary, SiteKit::Size::small);
    m_add->setAccessibleName(QStringLiteral("Adicionar"));
    m_add->setEnabled(false);
    row->addWidget(m_add);
    card->add(entry);

    m_empty = SettingsText::label(QStringLiteral("Nenhuma palavra ainda."),
                                  SettingsText::systemFont(12), Brand::suave());
    card->add(m_empty);
    m_chips = new QWidget;
    m_chips->setAccessibleName(QStringLiteral("Palavras"));
    m_flow = new FlowLayout(8, m_chips);
    card->add(m_chips);

    connect(m_field, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_add->setEnabled(!VocabularyModel::trimmed(text).isEmpty());
    });
    connect(m_field, &QLineEdit::returnPressed, this, &VocabularySettings::add);
    connect(m_add, &QAbstractButton::clicked, this, &VocabularySettings::add);
    connect(&AppSettings::shared(), &AppSettings::vocabularyChanged, this,
            &VocabularySettings::rebuildChips);
    rebuildChips();
}

void VocabularySettings::add() {
    AppSettings& s = AppSettings::shared();
    const auto list = VocabularyModel::adding(s.vocabulary(), m_field->text());
    if (!list) return;
    s.setVocabulary(*list);
    m_field->clear();
}

void VocabularySettings::rebuildChips() {
    while (QLayoutItem* item = m_flow->takeAt(0)) {
        // A button of the row may be the one whose click brought us here.
        if (QWidget* w = item->widget()) {
            w->hide();
            w->deleteLater();
        }
        delete item;
    }
    const QStringList words = AppSettings::shared().vocabulary();
    for (const QString& word : words) {
        m_flow->addWidget(new Chip(word, [word] {
            AppSettings& s = AppSettings::shared();
            s.setVocabulary(VocabularyModel::removing(s.vocabulary(), word));
        }));
    }
    m_empty->setVisible(words.isEmpty());
    m_chips->setVisible(!words.isEmpty());
}

} // namespace nolvea
