#include "ui/onboarding/GoogleStep.h"

#include "mcp/GoogleConnect.h"
#include "mcp/MCPManager.h"
#include "support/Clock.h"
#include "support/Detached.h"
#include "ui/animation/ReplaceTransition.h"
#include "ui/animation/Transitions.h"
#include "ui/components/Brand.h"
#include "ui/components/Folha.h"
#include "ui/components/InlineMarkdown.h"
#include "ui/components/SiteButton.h"
#include "ui/components/Theme.h"
#include "ui/onboarding/Badge.h"
#include "ui/onboarding/GoogleStepChevron.h"
#include "ui/onboarding/OnboardingFlow.h"
#include "ui/onboarding/OnboardingFonts.h"
#include "ui/onboarding/OnboardingSymbolLabel.h"
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
    // Each card keeps its header; what is under it is replaced with a blur when the card
    // turns to another state.
    const auto blurSwap = [](QWidget* box) {
        return new ReplaceTransition(box, Theme::gentle(), Transitions::blurReplace);
    };
    auto* account = new Folha(16, 14, false, this);
    auto* accountColumn = new QVBoxLayout(account);
    accountColumn->setContentsMargins(16, 16, 16, 16);
    accountColumn->setSpacing(12);
    accountColumn->addWidget(cardHeader(
        QStringLiteral("Gmail, Agenda e Contatos"),
        new Badge(QStringLiteral("Recomendado · 30 s"), Brand::roxoTexto()), nullptr, account));
    auto* accountBox = new QWidget(account);
    m_accountSlot = new QVBoxLayout(accountBox);
    m_accountSlot->setContentsMargins(0, 0, 0, 0);
    accountColumn->addWidget(accountBox);
    m_accountChange = blurSwap(accountBox);
    layout->addWidget(account);

    auto* drive = new Folha(16, 14, false, this);
    auto* driveColumn = new QVBoxLayout(drive);
    driveColumn->setContentsMargins(16, 16, 16, 16);
    driveColumn->setSpacing(12);
    auto* trailing = new QWidget;
    auto* trailingRow = new QHBoxLayout(trailing);
    trailingRow->setContentsMargins(0, 0, 0, 0);
    trailingRow->setSpacing(8);
    m_configured = new OnboardingSymbolLabel(
        QStringLiteral("checkmark.circle.fill"), Brand::verde(), QStringLiteral("Configurado"),
        {.font = OnboardingFonts::brand(13, OnboardingFonts::Weight::semibold),
         .color = Brand::verde(),
         .symbolSide = 13},
        trailing);
    m_configured->textLabel()->setWordWrap(false);
    trailingRow->addWidget(m_configured);
    m_chevron = new GoogleStepChevron(trailing);
    trailingRow->addWidget(m_chevron);
    m_driveToggle = new SiteButton(QStringLiteral("Mostrar passos"), SiteKit::Kind::quiet,
                                   SiteKit::Size::small);
    m_driveToggle->setAccessibleName(QStringLiteral("Drive, Docs e Planilhas"));
    connect(m_driveToggle, &QAbstractButton::clicked, this, [this] { setShowDrive(!m_showDrive); });
    trailingRow->addWidget(m_driveToggle);
    driveColumn->addWidget(cardHeader(QStringLiteral("Drive, Docs e Planilhas"),
                                      new Badge(QStringLiteral("Opcional · 5 min"), Brand::suave()),
                                      trailing, drive));
    auto* driveBox = new QWidget(drive);
    m_driveSlot = new QVBoxLayout(driveBox);
    m_driveSlot->setContentsMargins(0, 0, 0, 0);
    driveColumn->addWidget(driveBox);
    m_driveChange = blurSwap(driveBox);
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
    const bool configured = m_google.workspaceServer() != nullptr;
    const bool accountsKnown = !m_google.macAccounts().isEmpty() || m_google.hasUnnamedAccount();
    const int accountState = !m_google.hasAccountStore() ? 0 : accountsKnown ? 1 : 2;
    const int driveState = configured ? 0 : m_showDrive ? 1 : 2;
    auto replace = [](QVBoxLayout* slot, QWidget*& current, QWidget* next) {
        if (current) {
            current->hide();
            current->deleteLater();
        }
        current = next;
        slot->addWidget(next);
    };
    // Only a change of state blurs; new details of the same state (a file found, an error)
    // are simply shown.
    if (m_accountContent && accountState != m_accountState) m_accountChange->aboutToChange();
    m_accountState = accountState;
    replace(m_accountSlot, m_accountContent, accountCard());
    if (m_driveContent && driveState != m_driveState) m_driveChange->aboutToChange();
    m_driveState = driveState;
    replace(m_driveSlot, m_driveContent, driveCard());

    m_configured->setVisible(configured);
    m_chevron->setVisible(!configured);
    m_chevron->setOpen(!configured && m_showDrive);
    m_driveToggle->setVisible(!configured);
    m_driveToggle->setText(m_showDrive ? QStringLiteral("Esconder passos")
                                       : QStringLiteral("Mostrar passos"));
    updateFileWatch();
}

QWidget* GoogleStep::accountCard() {
    auto* card = new QWidget;
    auto* v = new QVBoxLayout(card);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(12);
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
            v->addWidget(new OnboardingSymbolLabel(
                QStringLiteral("checkmark.circle.fill"), Brand::verde(), a,
                {.font = semibold, .color = Brand::verde(), .symbolSide = 14}, card));
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
    if (m_google.workspaceServer())
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
