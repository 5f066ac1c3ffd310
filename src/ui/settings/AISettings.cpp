#include "ui/settings/AISettings.h"

#include "ai/AIStatus.h"
#include "ai/Warmup.h"
#include "core/AppSettings.h"
#include "support/Detached.h"
#include "support/Error.h"
#include "ui/animation/FrameDriver.h"
#include "ui/animation/ReplaceTransition.h"
#include "ui/animation/Transitions.h"
#include "ui/components/Brand.h"
#include "ui/components/SettingRow.h"
#include "ui/components/SettingsCard.h"
#include "ui/components/SettingsText.h"
#include "ui/components/ShimmerText.h"
#include "ui/components/SiteButton.h"
#include "ui/components/StatusDot.h"
#include "ui/components/Theme.h"
#include "ui/settings/AIPaneModel.h"
#include "ui/settings/AccountRow.h"
#include "ui/settings/Bindings.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QShowEvent>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace nolvea {

AISettings::AISettings(QWidget* parent)
    : QWidget(parent) {
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(22);
    stack->addWidget(providerCard());
    stack->addWidget(dictationCard());

    AppSettings& s = AppSettings::shared();
    AIStatus& status = AIStatus::shared();
    connect(&s, &AppSettings::aiProviderChanged, this, &AISettings::providerChanged);
    connect(&s, &AppSettings::serverURLChanged, this, &AISettings::settingsMoved);
    connect(&s, &AppSettings::apiKeyChanged, this, &AISettings::settingsMoved);
    connect(&s, &AppSettings::modelChanged, this, [this] {
        settingsMoved();
        showModelControl();
        // The new model is warmed at once, even if a warm-up ran a moment ago.
        Warmup::shared().resetLastRun();
        Warmup::shared().cleanup();
        Warmup::shared().agent();
    });
    connect(&status, &AIStatus::connectionChanged, this, &AISettings::showStatus);
    connect(&status, &AIStatus::titleChanged, this, &AISettings::showStatus);
    connect(&status, &AIStatus::modelsChanged, this, &AISettings::showModelControl);
    connect(&status, &AIStatus::lastLatencyChanged, this, &AISettings::showTest);
    showProvider();
    showStatus();
    showModelControl();
    showTest();
}

AISettings::~AISettings() = default;

void AISettings::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!e->spontaneous()) AIStatus::shared().refresh();
}

SettingsCard* AISettings::providerCard() {
    AppSettings& s = AppSettings::shared();
    m_providerCard = new SettingsCard(QStringLiteral("Provedor"), s.aiProvider().note());

    m_provider = new QComboBox;
    m_provider->setFixedWidth(240);
    m_provider->setAccessibleName(QStringLiteral("Provedor"));
    auto* items = qobject_cast<QStandardItemModel*>(m_provider->model());
    for (const auto& group : AIPaneModel::providerGroups()) {
        m_provider->addItem(group.header);
        QStandardItem* header = items->item(items->rowCount() - 1);
        header->setFlags(Qt::NoItemFlags);
        QFont f = header->font();
        f.setBold(true);
        header->setFont(f);
        for (AIProvider p : group.providers)
            m_provider->addItem(QStringLiteral("   ") + p.label(), int(AIProvider::Value(p)));
    }
    connect(m_provider, &QComboBox::activated, this, [this](int i) {
        const QVariant v = m_provider->itemData(i);
        if (v.isValid()) AppSettings::shared().setAiProvider(AIProvider::Value(v.toInt()));
    });
    m_localityRow = new SettingRow(QStringLiteral("IA"), QString(), m_provider);
    m_providerCard->add(m_localityRow);
    m_providerCard->addDivider();

    auto* line = new QWidget;
    auto* h = new QHBoxLayout(line);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(12);
    m_dot = new StatusDot(AIConnection::unknown);
    m_dot->setAccessibleName(QStringLiteral("Conexão"));
    h->addWidget(m_dot);
    m_title =
        SettingsText::label({}, SettingsText::systemFont(13, QFont::DemiBold), Brand::tinta());
    m_title->setMaximumHeight(m_title->fontMetrics().lineSpacing() * 2 + 2);
    h->addWidget(m_title, 1);
    auto* refresh = SiteButton::small(QStringLiteral("Atualizar"), SiteKit::Kind::secondary);
    connect(refresh, &QAbstractButton::clicked, this, [] { AIStatus::shared().refresh(); });
    h->addWidget(refresh);
    m_providerCard->add(line);

    m_accountDivider = SettingsText::divider();
    m_providerCard->add(m_accountDivider);
    // The account row is made for the account providers only (it reads the tool at once).

    m_keyDivider = SettingsText::divider();
    m_providerCard->add(m_keyDivider);
    auto* keyControls = new QWidget;
    auto* kv = new QVBoxLayout(keyControls);
    kv->setContentsMargins(0, 0, 0, 0);
    kv->setSpacing(4);
    auto* kh = new QHBoxLayout;
    kh->setContentsMargins(0, 0, 0, 0);
    kh->setSpacing(8);
    kv->addLayout(kh);
    m_keyLink = new QLabel;
    m_keyLink->setTextFormat(Qt::RichText);
    m_keyLink->setOpenExternalLinks(true);
    m_keyLink->setFont(SettingsText::systemFont(12));
    m_keyLink->setAccessibleName(QStringLiteral("Obter chave"));
    kh->addWidget(m_keyLink);
    m_key = Bindings::field(s, &AppSettings::apiKey, &AppSettings::setApiKey,
                            &AppSettings::apiKeyChanged, QStringLiteral("Cole a chave aqui"), 240);
    m_key->setEchoMode(QLineEdit::Password);
    m_key->setAccessibleName(QStringLiteral("Chave de API"));
    kh->addWidget(m_key);
    connect(m_key, &QLineEdit::returnPressed, this, [this] {
        m_keyPause.reset();
        AIStatus::shared().refresh();
    });
    connect(m_key, &QLineEdit::textEdited, this, [this] {
        QPointer<AISettings> self(this);
        m_keyPause = Clock::shared().schedule(kKeyPause, false, [self] {
            if (self) AIStatus::shared().refresh();
        });
    });
    m_keyError = SettingsText::label({}, SettingsText::systemFont(11), Brand::erro());
    m_keyError->setAccessibleName(QStringLiteral("Erro da chave de API"));
    m_keyError->setWordWrap(true);
    m_keyError->setMaximumWidth(320);
    m_keyError->setAlignment(Qt::AlignRight);
    kv->addWidget(m_keyError, 0, Qt::AlignRight);
    connect(&s, &AppSettings::apiKeyErrorChanged, this, &AISettings::showKeyError);
    showKeyError();
    m_keyRow = new SettingRow(QStringLiteral("Chave de API"), QString(), keyControls);
    m_providerCard->add(m_keyRow);

    m_addressDivider = SettingsText::divider();
    m_providerCard->add(m_addressDivider);
    m_address = Bindings::field(s, &AppSettings::serverURL, &AppSettings::setServerURL,
                                &AppSettings::serverURLChanged, QString(), 240);
    m_address->setAccessibleName(QStringLiteral("Endereço"));
    connect(m_address, &QLineEdit::returnPressed, this, [] { AIStatus::shared().refresh(); });
    m_addressRow = new SettingRow(QStringLiteral("Endereço"), QString(), m_address);
    m_providerCard->add(m_addressRow);

    m_providerCard->addDivider();
    auto* modelHolder = new QWidget;
    modelHolder->setAccessibleName(QStringLiteral("Modelo"));
    m_modelHolder = new QHBoxLayout(modelHolder);
    m_modelHolder->setContentsMargins(0, 0, 0, 0);
    m_providerCard->add(new SettingRow(QStringLiteral("Modelo"),
                                       QStringLiteral("Usado na limpeza, na edição e no agente"),
                                       modelHolder));
    return m_providerCard;
}

SettingsCard* AISettings::dictationCard() {
    AppSettings& s = AppSettings::shared();
    m_dictationCard = new SettingsCard(QStringLiteral("Ditado"));
    m_dictationCard->add(new SettingRow(
        QStringLiteral("Refinar o ditado com IA"),
        QStringLiteral("Tira vícios de fala, aplica autocorreções e pontua"),
        Bindings::toggle(s, &AppSettings::aiCleanupEnabled, &AppSettings::setAiCleanupEnabled,
                         &AppSettings::aiCleanupEnabledChanged)));
    m_dictationCard->addDivider();
    auto* line = new QWidget;
    auto* h = new QHBoxLayout(line);
    h->setContentsMargins(0, 0, 0, 0);
    m_test = SiteButton::small(QStringLiteral("Testar agora"), SiteKit::Kind::primary);
    connect(m_test, &QAbstractButton::clicked, this, &AISettings::runTest);
    h->addWidget(m_test);
    m_latency =
        SettingsText::label({}, SettingsText::systemFont(12, QFont::Normal, true), Brand::suave());
    m_latency->setAccessibleName(QStringLiteral("Tempo do último teste"));
    h->addWidget(m_latency);
    h->addStretch(1);
    m_dictationCard->add(line);
    m_shimmer = new ShimmerText(QStringLiteral("Pedindo ao modelo para limpar uma frase de teste…"),
                                SettingsText::systemFont(13, QFont::Medium), Brand::roxo());
    m_shimmer->setAccessibleName(
        QStringLiteral("Pedindo ao modelo para limpar uma frase de teste…"));
    m_dictationCard->add(m_shimmer);
    m_output = SettingsText::label({}, SettingsText::systemFont(13), Brand::tinta());
    m_output->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_output->setAccessibleName(QStringLiteral("Resultado do teste"));
    m_output->hide();
    m_dictationCard->add(m_output);
    m_outputChange = new ReplaceTransition(m_output, Theme::gentle(), &Transitions::blurReplace);
    m_outputLeave = new FrameDriver(m_output, [this](double) {
        if (m_outputChange->isRunning()) return true;
        if (m_output->text().isEmpty()) m_output->hide();
        return false;
    });
    return m_dictationCard;
}

void AISettings::providerChanged() {
    settingsMoved();
    m_testOutput.reset();
    m_keyPause.reset();
    Warmup::shared().resetLastRun();
    showProvider();
    showTest();
    // The provider's own address, model and key are loaded right after this signal.
    QPointer<AISettings> self(this);
    QMetaObject::invokeMethod(
        this,
        [self] {
            if (self) AIStatus::shared().refresh();
        },
        Qt::QueuedConnection);
}

void AISettings::settingsMoved() {
    ++m_settingsRun;
}

void AISettings::showProvider() {
    const AIProvider p = AppSettings::shared().aiProvider();
    const auto look = AIPaneModel::look(p);
    {
        const QSignalBlocker block(m_provider);
        m_provider->setCurrentIndex(m_provider->findData(int(AIProvider::Value(p))));
    }
    m_providerCard->setFooter(p.note());
    m_localityRow->setDetail(look.localityDetail);
    m_accountDivider->setVisible(look.account);
    if (look.account) {
        if (!m_account) {
            m_account = new AccountRow(p, [] { AIStatus::shared().refresh(); });
            auto* layout = m_providerCard->contentLayout();
            layout->insertWidget(layout->indexOf(m_accountDivider) + 1, m_account);
        } else {
            m_account->setProvider(p);
        }
    } else if (m_account) {
        delete m_account;
        m_account = nullptr;
    }
    m_keyDivider->setVisible(look.key);
    m_keyRow->setVisible(look.key);
    m_keyRow->setDetail(look.keyDetail);
    m_keyLink->setVisible(look.keyLink);
    if (look.keyLink)
        m_keyLink->setText(QStringLiteral("<a href=\"%1\">Obter chave</a>")
                               .arg(p.keyPage().toString(QUrl::FullyEncoded).toHtmlEscaped()));
    m_addressDivider->setVisible(look.address);
    m_addressRow->setVisible(look.address);
    m_addressRow->setDetail(look.addressDetail);
    m_address->setPlaceholderText(look.addressPlaceholder);
    m_dictationCard->setFooter(AIPaneModel::dictationFooter(p));
}

void AISettings::showKeyError() {
    const auto& error = AppSettings::shared().apiKeyError();
    m_keyError->setText(error ? AIPaneModel::unsavedKeyText(*error) : QString());
    m_keyError->setVisible(error.has_value());
}

void AISettings::showStatus() {
    const AIStatus& status = AIStatus::shared();
    m_dot->setConnection(status.connection());
    m_title->setText(status.title());
    m_title->setAccessibleName(status.title());
}

void AISettings::showModelControl() {
    AppSettings& s = AppSettings::shared();
    const QStringList models = AIStatus::shared().models();
    if (models.isEmpty()) {
        if (auto* field = qobject_cast<QLineEdit*>(m_modelControl)) {
            if (field->text() != s.model()) field->setText(s.model());
            return;
        }
    }
    if (m_modelControl) {
        m_modelControl->hide();
        m_modelControl->deleteLater();
        m_modelControl = nullptr;
    }
    if (models.isEmpty()) {
        auto* field = new QLineEdit;
        field->setFixedWidth(240);
        field->setPlaceholderText(QStringLiteral("Nome do modelo"));
        field->setText(s.model());
        field->setAccessibleName(QStringLiteral("Modelo"));
        connect(field, &QLineEdit::textEdited, &s, &AppSettings::setModel);
        m_modelControl = field;
    } else {
        auto* box = new QComboBox;
        box->setFixedWidth(240);
        box->setAccessibleName(QStringLiteral("Modelo"));
        for (const auto& entry : AIPaneModel::modelEntries(models, s.model()))
            box->addItem(entry.label, entry.value);
        box->setCurrentIndex(box->findData(s.model()));
        connect(box, &QComboBox::activated, this,
                [box](int i) { AppSettings::shared().setModel(box->itemData(i).toString()); });
        m_modelControl = box;
    }
    m_modelHolder->addWidget(m_modelControl);
}

void AISettings::showTest() {
    m_test->setText(m_testing ? QStringLiteral("Testando…") : QStringLiteral("Testar agora"));
    m_test->setAccessibleName(m_test->text());
    m_test->setEnabled(!m_testing);
    const auto latency = AIStatus::shared().lastLatency();
    m_latency->setVisible(latency.has_value() && !m_testing);
    if (latency) m_latency->setText(AIPaneModel::latencyText(*latency));
    m_shimmer->setVisible(m_testing);
    showOutput(m_testing ? std::nullopt : m_testOutput);
}

void AISettings::showOutput(const std::optional<QString>& output) {
    const QString text = output.value_or(QString());
    // An empty line is a result on its way out.
    const bool shown = !m_output->isHidden() && !m_output->text().isEmpty();
    if (shown == !text.isEmpty() && m_output->text() == text) return;
    // Coming in, it replaces an empty line: there is nothing to see leave.
    if (m_output->isHidden()) {
        m_output->clear();
        m_output->show();
    }
    m_outputChange->aboutToChange();
    m_output->setText(text);
    if (!text.isEmpty()) return;
    // The line stays, empty, while the old text leaves from it: frames come only to what
    // is shown.
    if (m_outputChange->isRunning())
        m_outputLeave->kick();
    else
        m_output->hide();
}

void AISettings::runTest() {
    if (m_testing) return;
    m_testing = true;
    showTest();
    detach(test(), QStringLiteral("Teste da conexão"));
}

QCoro::Task<> AISettings::test() {
    QPointer<AISettings> self(this);
    const quint64 run = m_settingsRun;
    std::optional<QString> output;
    try {
        output = AIPaneModel::quoted(co_await AIStatus::shared().testCleanup());
    } catch (const std::exception& e) {
        output = describe(e);
    }
    if (!self) co_return;
    self->m_testing = false;
    // A test of settings the person has since left says nothing about the current ones.
    if (run == self->m_settingsRun) self->m_testOutput = output;
    self->showTest();
}

} // namespace nolvea
