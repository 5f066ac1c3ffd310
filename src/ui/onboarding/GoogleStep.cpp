#include "ui/onboarding/GoogleStep.h"

#include "mcp/GoogleConnect.h"
#include "mcp/MCPManager.h"
#include "support/Clock.h"
#include "support/Detached.h"
#include "ui/components/Brand.h"
#include "ui/components/Folha.h"
#include "ui/components/InlineMarkdown.h"
#include "ui/components/SiteButton.h"
#include "ui/onboarding/OnboardingFlow.h"
#include "ui/onboarding/OnboardingFonts.h"
#include "ui/onboarding/PageTexts.h"
#include "ui/onboarding/StepHeader.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QTextDocumentFragment>
#include <QTransform>
#include <QVBoxLayout>

namespace nolvea {

namespace {

const QStringList kServices{"drive", "docs", "sheets"};

QFont regular(double px) {
    return OnboardingFonts::brand(px, OnboardingFonts::Weight::regular);
}

QLabel* note(const QString& text, QWidget* parent) {
    return OnboardingFonts::label(text, regular(13), Brand::suave(), parent);
}

QWidget* cardHeader(const QString& title, Badge* badge, QWidget* trailing, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(8);
    QLabel* t = OnboardingFonts::label(
        title, OnboardingFonts::brand(17, OnboardingFonts::Weight::bold), Brand::tinta(), row);
    t->setWordWrap(false);
    h->addWidget(t);
    badge->setParent(row);
    h->addWidget(badge);
    h->addStretch(1);
    if (trailing) {
        trailing->setParent(row);
        h->addWidget(trailing);
    }
    return row;
}

// One numbered guide step: the number in a bubble, the instruction, its button.
QWidget* driveStepRow(int number, const QString& html, QAbstractButton* action, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(10);
    auto* bubble = new QLabel(QString::number(number), row);
    bubble->setFixedSize(22, 22);
    bubble->setAlignment(Qt::AlignCenter);
    bubble->setFont(OnboardingFonts::brand(11, OnboardingFonts::Weight::bold));
    bubble->setStyleSheet(
        QStringLiteral("QLabel { background: %1; color: white; border-radius: 11px; }")
            .arg(Brand::tinta().name()));
    bubble->setAccessibleName(QStringLiteral("Passo %1").arg(number));
    h->addWidget(bubble, 0, Qt::AlignTop);
    auto* text = new QLabel(row);
    text->setTextFormat(Qt::RichText);
    text->setWordWrap(true);
    text->setFont(regular(13));
    QPalette pal = text->palette();
    pal.setColor(QPalette::WindowText, Brand::tinta2());
    text->setPalette(pal);
    text->setText(html);
    text->setAccessibleName(QTextDocumentFragment::fromHtml(html).toPlainText());
    h->addWidget(text, 1);
    action->setParent(row);
    h->addWidget(action, 0, Qt::AlignVCenter);
    return row;
}

} // namespace

GoogleStep::GoogleStep(GoogleConnect& google, QWidget* parent)
    : OnboardingPage(parent)
    , m_google(google) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(14);
    layout->addWidget(
        new StepHeader(QStringLiteral("Conecte o Google"),
                       QStringLiteral("Para a Nolvea ler e responder seus e-mails, ver "
                                      "a agenda e achar contatos. Opcional."),
                       this));
    auto* account = new Folha(16, 14, false, this);
    m_accountSlot = new QVBoxLayout(account);
    m_accountSlot->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(account);
    auto* drive = new Folha(16, 14, false, this);
    m_driveSlot = new QVBoxLayout(drive);
    m_driveSlot->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(drive);
    layout->addStretch(1);

    connect(&google, &GoogleConnect::macAccountsChanged, this, [this] {
        if (m_email.isEmpty() && !m_google.macAccounts().isEmpty())
            m_email = m_google.macAccounts().first();
        render();
    });
    connect(&google, &GoogleConnect::hasUnnamedAccountChanged, this, &GoogleStep::render);
    connect(&google, &GoogleConnect::calendarAccessChanged, this, &GoogleStep::render);
    connect(&MCPManager::shared(), &MCPManager::serversChanged, this, &GoogleStep::render);
    render();
}

GoogleStep::~GoogleStep() {
    leaveScreen();
}

bool GoogleStep::showsDriveSteps() const {
    return m_showDrive && !m_google.workspaceServer();
}

void GoogleStep::setShowDrive(bool show) {
    m_showDrive = show;
    render();
}

void GoogleStep::setEmail(const QString& email) {
    m_email = email;
    render();
}

void GoogleStep::appear() {
    m_google.startWatching();
    m_recentFile = GoogleConnect::recentCredentialsFile();
    m_email = m_google.macAccounts().isEmpty() ? QString() : m_google.macAccounts().first();
    render();
}

void GoogleStep::disappear() {
    m_google.stopWatching();
    m_fileWatch.reset();
}

void GoogleStep::updateFileWatch() {
    const bool wanted = isOnScreen() && showsDriveSteps() && !m_recentFile;
    if (!wanted) {
        // Once a file is found the watch ends, until the steps are shown anew.
        if (!showsDriveSteps() || !isOnScreen()) m_fileWatch.reset();
        return;
    }
    if (m_fileWatch) return;
    m_fileWatch = Clock::shared().schedule(kFileWatch, true, [this] {
        if (m_recentFile) return;
        m_recentFile = GoogleConnect::recentCredentialsFile();
        if (m_recentFile) {
            m_fileWatch.reset();
            render();
        }
    });
}

void GoogleStep::connectAccount() {
    m_connecting = true;
    render();
    QPointer<GoogleStep> self(this);
    GoogleConnect* google = &m_google;
    detach(
        [](QPointer<GoogleStep> self, GoogleConnect* google) -> QCoro::Task<> {
            co_await google->requestAccess();
            if (!self || !self->isOnScreen()) co_return;
            google->startWatching();
        }(self, google),
        QStringLiteral("Conexão da conta Google"));
}

void GoogleStep::importCredentials() {
    std::optional<QString> file =
        m_recentFile ? m_recentFile : GoogleConnect::pickCredentialsFile();
    if (!file) return;
    try {
        const auto credentials = GoogleConnect::credentials(*file);
        const QString email = OnboardingFlow::trimmedName(m_email);
        if (auto error = GoogleConnect::installWorkspace(email, credentials, kServices)) {
            m_driveError = error->message();
        } else {
            m_driveError.reset();
        }
    } catch (const GoogleConnect::ImportError& e) {
        m_driveError = e.message();
        m_recentFile.reset();
    }
    render();
}

void GoogleStep::render() {
    auto replace = [](QVBoxLayout* slot, QWidget*& current, QWidget* next) {
        if (current) current->deleteLater();
        current = next;
        slot->addWidget(next);
    };
    replace(m_accountSlot, m_accountContent, accountCard());
    replace(m_driveSlot, m_driveContent, driveCard());
    updateFileWatch();
}

QWidget* GoogleStep::accountCard() {
    auto* card = new QWidget;
    auto* v = new QVBoxLayout(card);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(12);
    v->addWidget(cardHeader(QStringLiteral("Gmail, Agenda e Contatos"),
                            new Badge(QStringLiteral("Recomendado · 30 s"), Brand::roxoTexto()),
                            nullptr, card));
    const QStringList accounts = m_google.macAccounts();
    if (!m_google.hasAccountStore()) {
        v->addWidget(note(QStringLiteral("Este computador não tem contas de calendário do sistema "
                                         "para a Nolvea usar. Para o Google, configure Drive, Docs "
                                         "e Planilhas abaixo."),
                          card));
    } else if (!accounts.isEmpty() || m_google.hasUnnamedAccount()) {
        const QFont semibold = OnboardingFonts::brand(14, OnboardingFonts::Weight::semibold);
        for (const QString& a :
             accounts.isEmpty() ? QStringList{QStringLiteral("Conta Google")} : accounts)
            v->addWidget(
                OnboardingFonts::label(QStringLiteral("✓ ") + a, semibold, Brand::verde(), card));
        v->addWidget(note(QStringLiteral("Pronto: a Nolvea usa o Mail, o Calendário e os Contatos "
                                         "do Mac com essa conta."),
                          card));
    } else {
        v->addWidget(
            note(QStringLiteral("Entre com o Google nas Contas de Internet do macOS, com o "
                                "login oficial do Google. Sem chaves, sem configurar nada."),
                 card));
        auto* row = new QHBoxLayout;
        row->setSpacing(10);
        auto* button = new SiteButton(QStringLiteral("G  Entrar com o Google"),
                                      SiteKit::Kind::secondary, SiteKit::Size::regular, card);
        button->setAccessibleName(QStringLiteral("Entrar com o Google"));
        connect(button, &QAbstractButton::clicked, this, &GoogleStep::connectAccount);
        row->addWidget(button);
        if (m_connecting)
            row->addWidget(OnboardingFonts::label(
                               PageTexts::waitingText(m_google.calendarAccess() ==
                                                      GoogleConnect::Authorization::fullAccess),
                               regular(12), Brand::suave(), card),
                           1);
        row->addStretch(m_connecting ? 0 : 1);
        v->addLayout(row);
    }
    return card;
}

QWidget* GoogleStep::driveCard() {
    auto* card = new QWidget;
    auto* v = new QVBoxLayout(card);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(12);
    const bool configured = m_google.workspaceServer() != nullptr;
    QLabel* indicator =
        configured
            ? OnboardingFonts::label(QStringLiteral("✓ Configurado"),
                                     OnboardingFonts::brand(13, OnboardingFonts::Weight::semibold),
                                     Brand::verde())
            : OnboardingFonts::symbol(QStringLiteral("chevron.down"), 11, Brand::suave());
    indicator->setWordWrap(false);
    // The chevron turns to point up while the steps are open.
    if (!configured && m_showDrive)
        indicator->setPixmap(indicator->pixmap().transformed(QTransform().rotate(180)));
    QWidget* headerRow =
        cardHeader(QStringLiteral("Drive, Docs e Planilhas"),
                   new Badge(QStringLiteral("Opcional · 5 min"), Brand::suave()), indicator, card);
    auto* toggle = new SiteButton(m_showDrive ? QStringLiteral("Esconder passos")
                                              : QStringLiteral("Mostrar passos"),
                                  SiteKit::Kind::quiet, SiteKit::Size::small, headerRow);
    toggle->setAccessibleName(QStringLiteral("Drive, Docs e Planilhas"));
    toggle->setVisible(!configured);
    headerRow->layout()->addWidget(toggle);
    connect(toggle, &QAbstractButton::clicked, this, [this] { setShowDrive(!m_showDrive); });
    v->addWidget(headerRow);
    if (configured)
        v->addWidget(note(QStringLiteral("Na primeira vez que você pedir algo do Drive, o login do "
                                         "Google abre no navegador."),
                          card));
    else if (m_showDrive)
        v->addWidget(driveSteps());
    else
        v->addWidget(note(QStringLiteral("Precisa de uma credencial gratuita do Google Cloud, só "
                                         "sua. A gente te guia."),
                          card));
    return card;
}

QWidget* GoogleStep::driveSteps() {
    auto* steps = new QWidget;
    auto* v = new QVBoxLayout(steps);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(10);
    auto* enable = SiteButton::small(QStringLiteral("Ativar APIs"));
    connect(enable, &QAbstractButton::clicked, this,
            [] { QDesktopServices::openUrl(GoogleConnect::enableAPIsURL); });
    v->addWidget(driveStepRow(
        1,
        InlineMarkdown::toHtml(QStringLiteral(
            "Ative as APIs do Drive, Docs e Planilhas (crie um projeto se o Google pedir).")),
        enable, steps));
    auto* console = SiteButton::small(QStringLiteral("Abrir Credenciais"));
    connect(console, &QAbstractButton::clicked, this,
            [] { QDesktopServices::openUrl(GoogleConnect::cloudConsoleURL); });
    v->addWidget(driveStepRow(
        2,
        InlineMarkdown::toHtml(QStringLiteral(
            "Em Credenciais › Criar › ID do cliente OAuth › **App para computador**. Se pedir, "
            "configure a tela de consentimento (Externo, seu e-mail como testador). Depois, "
            "**Baixar JSON**.")),
        console, steps));
    const std::optional<QString> name =
        m_recentFile ? std::optional(QFileInfo(*m_recentFile).fileName()) : std::nullopt;
    auto* import = SiteButton::small(PageTexts::credentialsButton(m_recentFile.has_value()));
    import->setEnabled(PageTexts::canImport(m_email));
    connect(import, &QAbstractButton::clicked, this, &GoogleStep::importCredentials);
    v->addWidget(
        driveStepRow(3, InlineMarkdown::toHtml(PageTexts::credentialsStep(name)), import, steps));
    if (m_google.macAccounts().isEmpty()) {
        auto* row = new QHBoxLayout;
        row->addWidget(OnboardingFonts::label(QStringLiteral("Sua conta Google"),
                                              OnboardingFonts::system(12, QFont::Medium),
                                              Brand::tinta(), steps));
        auto* field = new QLineEdit(m_email, steps);
        field->setPlaceholderText(QStringLiteral("marina.souza@gmail.com"));
        field->setAccessibleName(QStringLiteral("Sua conta Google"));
        field->setFixedWidth(220);
        connect(field, &QLineEdit::textEdited, this, [this, import](const QString& text) {
            m_email = text;
            import->setEnabled(PageTexts::canImport(m_email));
        });
        row->addWidget(field);
        row->addStretch(1);
        v->addLayout(row);
    }
    if (m_driveError)
        v->addWidget(OnboardingFonts::label(*m_driveError, regular(12), Brand::erro(), steps));
    if (!GoogleConnect::hasUVX()) {
        QLabel* uv = OnboardingFonts::label(
            QStringLiteral("Precisa do uv instalado: no Terminal, brew install uv"),
            OnboardingFonts::system(11, QFont::Normal), Brand::erro(), steps);
        uv->setTextInteractionFlags(Qt::TextSelectableByMouse);
        v->addWidget(uv);
    }
    return steps;
}

} // namespace nolvea
