#include "ui/settings/UpdateRow.h"

#include "support/Detached.h"
#include "ui/components/SettingsText.h"
#include "ui/components/SiteButton.h"
#include "ui/components/Symbols.h"
#include "ui/settings/UpdateRowModel.h"
#include "updates/Updater.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>

namespace nolvea {

UpdateRow::UpdateRow(Updater& updater, QWidget* parent)
    : QWidget(parent)
    , m_updater(updater)
    , m_row(new QHBoxLayout(this)) {
    m_row->setContentsMargins(0, 0, 0, 0);
    m_row->setSpacing(10);
    setAccessibleName(QStringLiteral("Atualizações"));
    connect(&updater, &Updater::phaseChanged, this, &UpdateRow::rebuild);
    rebuild();
}

void UpdateRow::rebuild() {
    while (QLayoutItem* item = m_row->takeAt(0)) {
        // The button pressed may be the one being replaced.
        if (QWidget* w = item->widget()) {
            w->hide();
            w->deleteLater();
        }
        delete item;
    }
    const UpdatePhase phase = m_updater.phase();
    const auto look = UpdateRowModel::look(phase, m_updater.manifestURL().has_value());
    m_row->addStretch(1);
    if (look.progress) {
        auto* spin = new QProgressBar;
        spin->setRange(0, 0);
        spin->setFixedSize(40, 6);
        spin->setTextVisible(false);
        spin->setAccessibleName(look.status);
        m_row->addWidget(spin);
    }
    if (!look.status.isEmpty()) {
        if (!look.symbol.isEmpty()) {
            auto* icon = new QLabel;
            icon->setPixmap(Symbols::pixmap(look.symbol, 12, look.color, devicePixelRatioF()));
            m_row->addWidget(icon);
        }
        auto* text = SettingsText::label(look.status, SettingsText::systemFont(12), look.color);
        text->setWordWrap(look.maxLines > 1);
        text->setMaximumHeight(text->fontMetrics().lineSpacing() * look.maxLines + 2);
        text->setAccessibleName(look.status);
        m_row->addWidget(text, look.maxLines > 1 ? 1 : 0);
    }
    if (!look.button.isEmpty()) {
        auto* b = new SiteButton(look.button,
                                 look.primary ? SiteKit::Kind::primary : SiteKit::Kind::secondary,
                                 SiteKit::Size::small);
        b->setAccessibleName(look.button);
        if (look.status.isEmpty()) b->setSymbol(look.symbol);
        b->setEnabled(look.enabled);
        const auto action = look.action;
        const std::optional<UpdateRelease> release = phase.release;
        QPointer<Updater> updater(&m_updater);
        connect(b, &QAbstractButton::clicked, this, [updater, action, release] {
            if (!updater) return;
            if (action == UpdateRowModel::Action::install && release)
                updater->install(*release);
            else if (action == UpdateRowModel::Action::check)
                detach(updater->check(false), QStringLiteral("Atualização: verificação"));
        });
        m_row->addWidget(b);
    }
    m_row->addStretch(1);
}

} // namespace nolvea
