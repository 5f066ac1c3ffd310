#include "ui/settings/GoogleSetupCard.h"

#include "mcp/GoogleConnect.h"
#include "mcp/MCPManager.h"
#include "support/Error.h"
#include "ui/components/Brand.h"
#include "ui/components/SettingRow.h"
#include "ui/components/SettingsText.h"
#include "ui/components/SiteButton.h"
#include "ui/components/SiteKit.h"
#include "ui/components/Symbols.h"
#include "ui/settings/GoogleSetupModel.h"
#include "ui/settings/IntegrationsModel.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace nolvea {

namespace {

const QColor kOrange(0xE8, 0x7A, 0x00);

QLabel* symbolLabel(const QString& symbol, int side, const QColor& color) {
    auto* l = new QLabel;
    l->setPixmap(Symbols::pixmap(symbol, side, color, 2));
    l->setFixedSize(side + 2, side + 2);
    l->setScaledContents(true);
    return l;
}

class ServiceTile : public QAbstractButton {
public:
    explicit ServiceTile(const GoogleSetupModel::Service& service) {
        setCheckable(true);
        setAccessibleName(service.title);
        setCursor(Qt::PointingHandCursor);
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(8, 8, 8, 8);
        row->setSpacing(8);
        m_check = new QLabel;
        m_check->setFixedSize(14, 14);
        row->addWidget(m_check, 0, Qt::AlignTop);
        auto* texts = new QVBoxLayout;
        texts->setSpacing(2);
        auto* head = new QHBoxLayout;
        head->setSpacing(5);
        head->addWidget(symbolLabel(service.symbol, 10, Brand::tinta2()));
        head->addWidget(SettingsText::label(
            service.title, SettingsText::systemFont(12, QFont::DemiBold), Brand::tinta()));
        auto* cost = SettingsText::label(GoogleSetupModel::badge(service.tokens),
                                         SettingsText::systemFont(9), Brand::chuva());
        cost->setWordWrap(false);
        head->addWidget(cost);
        head->addStretch(1);
        texts->addLayout(head);
        if (service.note)
            texts->addWidget(
                SettingsText::label(*service.note, SettingsText::systemFont(10), Brand::suave()));
        row->addLayout(texts, 1);
        for (QWidget* child : findChildren<QWidget*>())
            child->setAttribute(Qt::WA_TransparentForMouseEvents);
        connect(this, &QAbstractButton::toggled, this, [this] { showCheck(); });
        showCheck();
    }

    QSize sizeHint() const override { return layout()->sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        SiteKit::paintSheet(p, QRectF(rect()), 12, isChecked());
    }

private:
    void showCheck() {
        m_check->setPixmap(
            isChecked()
                ? Symbols::pixmap(QStringLiteral("checkmark.circle.fill"), 14, Brand::tinta(), 2)
                : Symbols::pixmap(QStringLiteral("circle"), 14, Brand::chuva(), 2));
        m_check->setScaledContents(true);
    }

    QLabel* m_check;
};

QLineEdit* formField(const QString& placeholder, const QString& name) {
    auto* f = new QLineEdit;
    f->setFixedWidth(260);
    f->setPlaceholderText(placeholder);
    f->setAccessibleName(name);
    return f;
}

} // namespace

GoogleSetupCard::GoogleSetupCard(MCPManager& manager, QWidget* parent)
    : SettingsCard(QStringLiteral("Google (Drive, Docs, Planilhas, Gmail, Agenda)"),
                   QStringLiteral("Servidor comunitário workspace-mcp, rodando no seu Mac via uvx. "
                                  "O login é feito no navegador na primeira vez que você usar, e "
                                  "os tokens ficam em ~/.google_workspace_mcp."),
                   parent)
    , m_manager(manager)
    , m_selected(GoogleSetupModel::defaultSelection()) {
    m_header = new QWidget;
    auto* header = new QHBoxLayout(m_header);
    header->setContentsMargins(0, 0, 0, 0);
    header->setSpacing(10);
    header->addWidget(symbolLabel(QStringLiteral("checkmark.seal.fill"), 14, Brand::verde()));
    m_headerText =
        SettingsText::label({}, SettingsText::systemFont(13, QFont::DemiBold), Brand::tinta());
    header->addWidget(m_headerText, 1);
    add(m_header);
    m_headerDivider = SettingsText::divider();
    add(m_headerDivider);

    add(stepsBox());
    addDivider();

    auto* importRow = new QWidget;
    auto* ih = new QHBoxLayout(importRow);
    ih->setContentsMargins(0, 0, 0, 0);
    ih->setSpacing(10);
    auto* import = new SiteButton(QStringLiteral("Importar arquivo .json"),
                                  SiteKit::Kind::secondary, SiteKit::Size::small);
    import->setAccessibleName(import->text());
    import->setSymbol(QStringLiteral("square.and.arrow.down"));
    connect(import, &QAbstractButton::clicked, this, &GoogleSetupCard::importJSON);
    ih->addWidget(import);
    m_importInfo = SettingsText::label({}, SettingsText::systemFont(11), Brand::suave());
    ih->addWidget(m_importInfo, 1);
    add(importRow);

    m_email = formField(QStringLiteral("voce@gmail.com"), QStringLiteral("Sua conta Google"));
    m_clientID = formField(QStringLiteral("…") + GoogleSetupModel::clientIDSuffix(),
                           QStringLiteral("ID do cliente OAuth"));
    m_secret = formField(QStringLiteral("GOCSPX-…"), QStringLiteral("Chave secreta do cliente"));
    m_secret->setEchoMode(QLineEdit::Password);
    add(new SettingRow(QStringLiteral("Sua conta Google"), std::nullopt, m_email));
    add(new SettingRow(QStringLiteral("ID do cliente OAuth"), std::nullopt, m_clientID));
    add(new SettingRow(QStringLiteral("Chave secreta do cliente"), std::nullopt, m_secret));
    for (QLineEdit* f : {m_email, m_clientID, m_secret})
        connect(f, &QLineEdit::textChanged, this, &GoogleSetupCard::showForm);

    addDivider();
    add(SettingsText::label(QStringLiteral("Serviços"),
                            SettingsText::systemFont(12, QFont::DemiBold), Brand::tinta()));
    add(servicesGrid());

    auto* footer = new QWidget;
    auto* fh = new QHBoxLayout(footer);
    fh->setContentsMargins(0, 0, 0, 0);
    fh->setSpacing(8);
    m_speed = new QLabel;
    m_speed->setFixedSize(14, 14);
    m_speed->setScaledContents(true);
    fh->addWidget(m_speed);
    m_estimate = SettingsText::label({}, SettingsText::systemFont(11), Brand::suave());
    fh->addWidget(m_estimate, 1);
    m_missing = SettingsText::label({}, SettingsText::systemFont(11), kOrange);
    m_missing->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fh->addWidget(m_missing, 1);
    m_save = new SiteButton(QStringLiteral("Conectar Google"), SiteKit::Kind::primary,
                            SiteKit::Size::small);
    connect(m_save, &QAbstractButton::clicked, this, &GoogleSetupCard::save);
    fh->addWidget(m_save);
    add(footer);

    connect(&manager, &MCPManager::serversChanged, this, &GoogleSetupCard::showInstalled);
    showInstalled();
    showForm();
}

QWidget* GoogleSetupCard::stepsBox() {
    auto* box = new QWidget;
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(8);
    auto* disclosure = new QToolButton;
    disclosure->setText(QStringLiteral("Como criar as credenciais (5 minutos)"));
    disclosure->setAccessibleName(disclosure->text());
    disclosure->setCheckable(true);
    disclosure->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    disclosure->setArrowType(Qt::RightArrow);
    disclosure->setAutoRaise(true);
    disclosure->setFont(SettingsText::systemFont(12, QFont::Medium));
    v->addWidget(disclosure);
    auto* steps = new QWidget;
    auto* sv = new QVBoxLayout(steps);
    sv->setContentsMargins(0, 6, 0, 0);
    sv->setSpacing(8);
    const QStringList texts{
        QStringLiteral("Crie um projeto (grátis) no Google Cloud Console."),
        QStringLiteral("Em APIs e serviços › Biblioteca, ative as APIs dos serviços que marcar "
                       "abaixo (Drive, Docs, Sheets, Tasks, Gmail, Calendar, People)."),
        QStringLiteral("Em Tela de consentimento OAuth: tipo Externo, adicione seu e-mail como "
                       "usuário de teste."),
        QStringLiteral("Em Credenciais › Criar credenciais › ID do cliente OAuth, escolha "
                       "Aplicativo para computador (Desktop app)."),
        QStringLiteral("Baixe o .json da credencial e clique em Importar arquivo .json (ou cole o "
                       "ID e a chave aqui embaixo)."),
    };
    for (int i = 0; i < texts.size(); ++i) {
        auto* row = new QHBoxLayout;
        row->setSpacing(8);
        auto* number = SettingsText::label(QString::number(i + 1),
                                           SettingsText::systemFont(10, QFont::Bold), Qt::white);
        number->setFixedSize(18, 18);
        number->setAlignment(Qt::AlignCenter);
        number->setStyleSheet(
            QStringLiteral("background:%1;border-radius:9px;").arg(Brand::tinta().name()));
        row->addWidget(number, 0, Qt::AlignTop);
        row->addWidget(SettingsText::label(texts[i], SettingsText::systemFont(12), Brand::tinta()),
                       1);
        sv->addLayout(row);
    }
    sv->addWidget(SettingsText::label(
        QStringLiteral("Dica: no modo Teste, o Google pede login de novo a cada 7 dias. Para "
                       "evitar, publique o app (Publicar app); por ser só seu, ele mostra o aviso "
                       "de \"app não verificado\" uma vez — é só continuar."),
        SettingsText::systemFont(11), Brand::suave()));
    auto* console = new SiteButton(QStringLiteral("Abrir Google Cloud Console"),
                                   SiteKit::Kind::secondary, SiteKit::Size::small);
    console->setAccessibleName(console->text());
    console->setSymbol(QStringLiteral("arrow.up.forward.app"));
    connect(console, &QAbstractButton::clicked, this,
            [] { QDesktopServices::openUrl(GoogleConnect::cloudConsoleURL); });
    sv->addWidget(console, 0, Qt::AlignLeft);
    steps->setVisible(false);
    v->addWidget(steps);
    connect(disclosure, &QToolButton::toggled, this, [disclosure, steps](bool open) {
        disclosure->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
        steps->setVisible(open);
    });
    return box;
}

QWidget* GoogleSetupCard::servicesGrid() {
    auto* grid = new QWidget;
    auto* g = new QGridLayout(grid);
    g->setContentsMargins(0, 0, 0, 0);
    g->setSpacing(8);
    int i = 0;
    for (const auto& service : GoogleSetupModel::services()) {
        auto* tile = new ServiceTile(service);
        tile->setChecked(m_selected.contains(service.id));
        const QString id = service.id;
        connect(tile, &QAbstractButton::clicked, this, [this, id] { toggleService(id); });
        m_tiles << tile;
        g->addWidget(tile, i / 2, i % 2);
        ++i;
    }
    g->setColumnStretch(0, 1);
    g->setColumnStretch(1, 1);
    return grid;
}

void GoogleSetupCard::toggleService(const QString& id) {
    if (m_selected.contains(id))
        m_selected.remove(id);
    else
        m_selected.insert(id);
    showForm();
}

void GoogleSetupCard::showEvent(QShowEvent* e) {
    SettingsCard::showEvent(e);
    if (!e->spontaneous()) load();
}

void GoogleSetupCard::load() {
    if (m_loaded) return;
    m_loaded = true;
    const MCPManager::Server* installed = m_manager.server(QStringLiteral("google"));
    if (!installed) return;
    const auto form = GoogleSetupModel::loaded(installed->config, m_selected);
    m_email->setText(form.email);
    m_clientID->setText(form.clientID);
    m_secret->setText(form.clientSecret);
    m_selected = form.selected;
    showForm();
}

void GoogleSetupCard::save() {
    GoogleConnect::Credentials credentials{m_clientID->text().trimmed(),
                                           m_secret->text().trimmed()};
    const auto error =
        GoogleConnect::installWorkspace(m_email->text().trimmed(), credentials,
                                        GoogleSetupModel::selectedIDs(m_selected), m_manager);
    m_saveError = error ? std::optional<QString>(error->message()) : std::nullopt;
    showForm();
}

void GoogleSetupCard::importJSON() {
    const auto path = GoogleConnect::pickCredentialsFile();
    if (!path) return;
    try {
        const auto credentials = GoogleConnect::credentials(*path);
        m_clientID->setText(credentials.clientID);
        m_secret->setText(credentials.clientSecret);
        m_importError.reset();
    } catch (const std::exception& e) {
        m_importError = describe(e);
    }
    if (m_email->text().isEmpty()) {
        const QStringList accounts = GoogleConnect::shared().macAccounts();
        if (!accounts.isEmpty()) m_email->setText(accounts.first());
    }
    showForm();
}

void GoogleSetupCard::showInstalled() {
    const MCPManager::Server* installed = m_manager.server(QStringLiteral("google"));
    m_header->setVisible(installed);
    m_headerDivider->setVisible(installed);
    if (installed) {
        m_headerText->setText(IntegrationsModel::googleHeader(*installed));
        m_headerText->setAccessibleName(m_headerText->text());
    }
    m_save->setText(installed ? QStringLiteral("Salvar alterações")
                              : QStringLiteral("Conectar Google"));
    m_save->setAccessibleName(m_save->text());
}

void GoogleSetupCard::showForm() {
    for (int i = 0; i < m_tiles.size(); ++i) {
        const QSignalBlocker block(m_tiles[i]);
        m_tiles[i]->setChecked(m_selected.contains(GoogleSetupModel::services()[size_t(i)].id));
    }
    const int tokens = GoogleSetupModel::totalTokens(m_selected);
    const bool light = tokens <= GoogleSetupModel::kLightPrompt;
    m_speed->setPixmap(
        Symbols::pixmap(light ? QStringLiteral("hare.fill") : QStringLiteral("tortoise.fill"), 14,
                        light ? Brand::verde() : kOrange, 2));
    m_estimate->setText(GoogleSetupModel::estimate(tokens));
    const auto missing = GoogleSetupModel::missing(
        {m_email->text(), m_clientID->text(), m_secret->text(), m_selected});
    // A save that could not write the file says so where the form's gaps show.
    const std::optional<QString> shown = missing ? missing : m_saveError;
    m_missing->setText(shown.value_or(QString()));
    QPalette p = m_missing->palette();
    p.setColor(QPalette::WindowText, missing ? kOrange : Brand::erro());
    m_missing->setPalette(p);
    m_missing->setVisible(shown.has_value());
    m_save->setEnabled(!missing);
    if (m_importError) {
        m_importInfo->setText(*m_importError);
        QPalette ip = m_importInfo->palette();
        ip.setColor(QPalette::WindowText, Brand::erro());
        m_importInfo->setPalette(ip);
    } else {
        m_importInfo->setText(QStringLiteral("Preenche o ID e a chave a partir do "
                                             "client_secret_….json"));
        QPalette ip = m_importInfo->palette();
        ip.setColor(QPalette::WindowText, Brand::suave());
        m_importInfo->setPalette(ip);
    }
}

} // namespace nolvea
