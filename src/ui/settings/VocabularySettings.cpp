#include "ui/settings/VocabularySettings.h"

#include "core/AppSettings.h"
#include "ui/animation/WidgetTransition.h"
#include "ui/components/Brand.h"
#include "ui/components/FlowLayout.h"
#include "ui/components/SettingsCard.h"
#include "ui/components/SettingsText.h"
#include "ui/components/SiteButton.h"
#include "ui/components/Symbols.h"
#include "ui/components/Theme.h"
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
    Chip(const QString& word, bool shown, std::function<void()> remove)
        : m_motion(new WidgetTransition(this, VocabularyModel::chipPose, shown)) {
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

    WidgetTransition& motion() const { return *m_motion; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Brand::withOpacity(Brand::tinta(), 0.055));
        p.drawRoundedRect(QRectF(rect()), 7, 7);
    }

private:
    WidgetTransition* m_motion;
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

QList<QWidget*> VocabularySettings::chipWidgets() const {
    QList<QWidget*> out;
    for (int i = 0; i < m_flow->count(); ++i)
        out.append(m_flow->itemAt(i)->widget());
    return out;
}

void VocabularySettings::rebuildChips() {
    const QStringList words = AppSettings::shared().vocabulary();
    // Chips keep their word: one that stays is moved, a new one grows in, a removed one
    // shrinks away where it stood.
    const bool animated = isVisible();
    while (QLayoutItem* item = m_flow->takeAt(0))
        delete item;
    QHash<QString, QWidget*> kept;
    for (const QString& word : words) {
        QWidget* chip = m_chipByWord.take(word);
        if (!chip) {
            auto* made = new Chip(word, !animated, [word] {
                AppSettings& s = AppSettings::shared();
                s.setVocabulary(VocabularyModel::removing(s.vocabulary(), word));
            });
            if (animated) made->motion().appear(Theme::snappy());
            chip = made;
        }
        kept.insert(word, chip);
        m_flow->addWidget(chip);
        chip->show();
    }
    for (QWidget* gone : std::as_const(m_chipByWord))
        leave(gone, animated);
    m_chipByWord = std::move(kept);
    m_empty->setVisible(words.isEmpty());
    m_chips->setVisible(!words.isEmpty() || !m_leaving.isEmpty());
}

void VocabularySettings::leave(QWidget* chip, bool animated) {
    // The chip's own button may be the one whose click brought us here.
    const auto remove = [this, chip] {
        m_leaving.removeAll(chip);
        chip->hide();
        chip->deleteLater();
        if (m_leaving.isEmpty() && m_chipByWord.isEmpty()) m_chips->hide();
    };
    if (!animated) {
        remove();
        return;
    }
    chip->setAttribute(Qt::WA_TransparentForMouseEvents);
    chip->lower();
    m_leaving.append(chip);
    static_cast<Chip*>(chip)->motion().disappear(Theme::snappy(), remove);
}

} // namespace nolvea
