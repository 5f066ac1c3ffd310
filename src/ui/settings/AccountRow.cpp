#include "ui/settings/AccountRow.h"

#include "support/Detached.h"
#include "ui/components/Brand.h"
#include "ui/components/SettingRow.h"
#include "ui/components/SettingsText.h"
#include "ui/components/SiteButton.h"
#include "ui/settings/AccountRowModel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace nolvea {

AccountRow::AccountRow(AIProvider provider, std::function<void()> onChange, QWidget* parent)
    : QWidget(parent)
    , m_model(new AccountRowModel(provider, std::move(onChange), this)) {
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(8);
    m_controls = new QWidget;
    m_controls->setAccessibleName(QStringLiteral("Conta"));
    m_controlsLayout = new QHBoxLayout(m_controls);
    m_controlsLayout->setContentsMargins(0, 0, 0, 0);
    m_controlsLayout->setSpacing(8);
    m_row = new SettingRow(QStringLiteral("Conta"), m_model->detail(), m_controls);
    stack->addWidget(m_row);
    m_install =
        SettingsText::label({}, SettingsText::systemFont(11, QFont::Normal, true), Brand::suave());
    m_install->setTextInteractionFlags(Qt::TextSelectableByMouse);
    stack->addWidget(m_install);
    m_error = SettingsText::label({}, SettingsText::systemFont(11), Brand::erro());
    stack->addWidget(m_error);
    connect(m_model, &AccountRowModel::changed, this, &AccountRow::render);
    render();
    // Dropped if the row goes first.
    detach(m_model->reload(), QStringLiteral("Conta: estado"));
}

void AccountRow::setProvider(AIProvider provider) {
    m_model->setProvider(provider);
    render();
}

void AccountRow::render() {
    while (QLayoutItem* item = m_controlsLayout->takeAt(0)) {
        // The button pressed may be among them.
        if (QWidget* w = item->widget()) {
            w->hide();
            w->deleteLater();
        }
        delete item;
    }
    const auto& account = m_model->account();
    const auto cli = m_model->tool();
    auto button = [this](const QString& text, SiteKit::Kind kind, auto action) {
        auto* b = SiteButton::small(text, kind);
        connect(b, &QAbstractButton::clicked, this, action);
        m_controlsLayout->addWidget(b);
    };
    if (const auto& busy = m_model->busy()) {
        auto* spin = new QProgressBar;
        spin->setRange(0, 0);
        spin->setFixedSize(40, 6);
        spin->setTextVisible(false);
        spin->setAccessibleName(*busy);
        m_controlsLayout->addWidget(spin);
        m_controlsLayout->addWidget(
            SettingsText::label(*busy, SettingsText::systemFont(12), Brand::suave()));
    } else if (account && !account->installed) {
        // Our own address, so the link may be markup.
        auto* link = new QLabel(QStringLiteral("<a href=\"%1\">Como instalar</a>")
                                    .arg(AccountRowModel::installPage(cli)
                                             .toString(QUrl::FullyEncoded)
                                             .toHtmlEscaped()));
        link->setTextFormat(Qt::RichText);
        link->setOpenExternalLinks(true);
        link->setFont(SettingsText::systemFont(12));
        link->setAccessibleName(QStringLiteral("Como instalar"));
        m_controlsLayout->addWidget(link);
        button(QStringLiteral("Verificar de novo"), SiteKit::Kind::secondary,
               [this] { detach(m_model->reload(), QStringLiteral("Conta: estado")); });
    } else if (account && account->loggedIn) {
        button(QStringLiteral("Sair"), SiteKit::Kind::secondary, [this] { confirmLogout(); });
    } else if (account) {
        button(QStringLiteral("Entrar com a conta"), SiteKit::Kind::primary,
               [this] { m_model->login(); });
    }
    m_row->setDetail(m_model->detail());
    const bool missing = account && !account->installed;
    m_install->setText(QStringLiteral("No Terminal: ") + AccountRowModel::installCommand(cli));
    m_install->setVisible(missing);
    m_error->setText(m_model->error().value_or(QString()));
    m_error->setVisible(m_model->error().has_value());
}

void AccountRow::confirmLogout() {
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Sair da conta?"),
                                m_model->logoutMessage(), QMessageBox::NoButton, this);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton* leave = box->addButton(QStringLiteral("Sair"), QMessageBox::DestructiveRole);
    box->addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
    QPointer<AccountRowModel> model(m_model);
    connect(box, &QMessageBox::finished, this, [box, leave, model] {
        if (model && box->clickedButton() == leave) model->logout();
    });
    box->open();
}

} // namespace nolvea
