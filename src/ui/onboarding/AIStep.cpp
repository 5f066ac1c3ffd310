#include "ui/onboarding/AIStep.h"

#include "ai/AIStatus.h"
#include "ai/Warmup.h"
#include "core/AppSettings.h"
#include "support/Detached.h"
#include "support/Error.h"
#include "ui/animation/FrameDriver.h"
#include "ui/animation/MorphingLabel.h"
#include "ui/animation/ReplaceTransition.h"
#include "ui/animation/SpringValue.h"
#include "ui/animation/Transitions.h"
#include "ui/components/Brand.h"
#include "ui/components/Folha.h"
#include "ui/components/Regua.h"
#include "ui/components/SettingRow.h"
#include "ui/components/SiteButton.h"
#include "ui/components/SiteKit.h"
#include "ui/components/StatusDot.h"
#include "ui/components/Symbols.h"
#include "ui/components/Theme.h"
#include "ui/onboarding/Badge.h"
#include "ui/onboarding/FamilyTile.h"
#include "ui/onboarding/LocalServerScan.h"
#include "ui/onboarding/OnboardingFonts.h"
#include "ui/onboarding/OnboardingSymbolLabel.h"
#include "ui/onboarding/StepHeader.h"
#include "ui/settings/AIPaneModel.h"
#include "ui/settings/AccountRow.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <algorithm>

namespace nolvea {

using AIStepModel::Family;

namespace {

// A provider chip: ink when chosen, a faint wash otherwise, a green dot when found. A server
// found while the chip is on screen widens it and fades its dot in.
class Chip : public QAbstractButton {
public:
    static constexpr double kDot = 12; // the dot and the space before it

    Chip(AIProvider provider, bool selected, bool found, QWidget* parent)
        : QAbstractButton(parent)
        , m_provider(provider)
        , m_selected(selected)
        , m_found(found ? 1 : 0) {
        setText(AIStepModel::chipName(provider));
        setAccessibleName(text());
        if (selected) setAccessibleDescription(QStringLiteral("escolhido"));
        setFont(OnboardingFonts::brand(13, OnboardingFonts::Weight::semibold));
        setCursor(Qt::PointingHandCursor);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        m_driver = new FrameDriver(this, [this](double dt) {
            const bool moving = m_found.advance(dt);
            updateGeometry();
            return moving;
        });
    }

    AIProvider provider() const { return m_provider; }
    double foundShown() const { return m_found.value(); }
    void setFound(bool found) {
        m_driver->animate(m_found, found ? 1 : 0, Theme::snappy());
        updateGeometry();
        update();
    }

    QSize sizeHint() const override {
        const QFontMetricsF m(font());
        const double w = m.horizontalAdvance(text()) + 24 + kDot * dot();
        return {int(std::ceil(w)), int(std::ceil(m.height() + 14))};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(rect(), 7, 7);
        p.fillPath(shape, m_selected ? Brand::tinta() : Brand::withOpacity(Brand::tinta(), 0.055));
        p.setPen(m_selected ? QColor(Qt::white) : Brand::tinta2());
        p.setFont(font());
        const QRectF text(12, 0, QFontMetricsF(font()).horizontalAdvance(this->text()), height());
        p.drawText(text.adjusted(0, 0, 1, 0), Qt::AlignVCenter | Qt::AlignLeft, this->text());
        if (const double dot = this->dot(); dot > 0) {
            p.setOpacity(dot);
            p.setPen(Qt::NoPen);
            p.setBrush(Brand::verde());
            p.drawEllipse(QRectF(text.right() + 6, height() / 2.0 - 3, 6, 6));
        }
    }

private:
    double dot() const { return std::clamp(m_found.value(), 0.0, 1.0); }

    AIProvider m_provider;
    bool m_selected;
    SpringValue m_found;
    FrameDriver* m_driver;
};

QFont brand13() {
    return OnboardingFonts::brand(13, OnboardingFonts::Weight::regular);
}

} // namespace

AIStep::AIStep(AppSettings& settings, AIStatus& status, UserDefaults& defaults, QWidget* parent)
    : OnboardingPage(parent)
    , m_settings(settings)
    , m_status(status)
    , m_defaults(defaults) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);
    layout->addWidget(
        new StepHeader(QStringLiteral("Escolha a IA"),
                       QStringLiteral("Ela limpa o seu ditado e executa as tarefas. "
                                      "Dá para trocar quando quiser em Ajustes › IA."),
                       this));
    auto* tiles = new QHBoxLayout;
    tiles->setSpacing(10);
    for (Family f : AIStepModel::families()) {
        auto* tile = new FamilyTile(f, this);
        connect(tile, &QAbstractButton::clicked, this, [this, f] { choose(f); });
        m_tiles.push_back(tile);
        tiles->addWidget(tile);
    }
    layout->addLayout(tiles);

    auto* card = new Folha(16, 14, false, this);
    auto* column = new QVBoxLayout(card);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(14);
    m_chipRow = new QHBoxLayout;
    m_chipRow->setSpacing(8);
    m_chipRow->addStretch(1);
    // The search, then the count of servers found, at the row's end.
    m_indicator = new QWidget(card);
    // Its picture, fading out over the card, is taken on the card's own ground.
    QPalette ground = m_indicator->palette();
    ground.setColor(QPalette::Window, Brand::folha());
    m_indicator->setPalette(ground);
    auto* indicator = new QHBoxLayout(m_indicator);
    indicator->setContentsMargins(0, 0, 0, 0);
    indicator->setSpacing(0);
    m_searching = OnboardingFonts::label(
        QStringLiteral("Procurando no Mac…"),
        OnboardingFonts::brand(12, OnboardingFonts::Weight::regular), Brand::suave(), m_indicator);
    m_searching->setWordWrap(false);
    indicator->addWidget(m_searching);
    m_found = new Badge(QString(), Brand::verde(), m_indicator, QStringLiteral("checkmark"));
    indicator->addWidget(m_found);
    m_chipRow->addWidget(m_indicator);
    column->addLayout(m_chipRow);
    // What a scan found comes in on the snappy spring: the search fades into the count.
    m_serversChange = new ReplaceTransition(m_indicator, Theme::snappy(), [](double p) {
        return TransitionLook{.opacity = std::clamp(p, 0.0, 1.0)};
    });
    m_note = OnboardingFonts::label({}, brand13(), Brand::suave(), card);
    column->addWidget(m_note);
    column->addWidget(new Regua(false, card));
    m_fieldsLayout = new QVBoxLayout;
    m_fieldsLayout->setContentsMargins(0, 0, 0, 0);
    column->addLayout(m_fieldsLayout);

    auto* statusRow = new QHBoxLayout;
    statusRow->setSpacing(12);
    m_dot = new StatusDot(status.connection(), card);
    statusRow->addWidget(m_dot);
    m_statusTitle = new MorphingLabel(card);
    m_statusTitle->setWordWrap(true);
    m_statusTitle->setFont(OnboardingFonts::brand(14, OnboardingFonts::Weight::semibold));
    QPalette titleInk = m_statusTitle->palette();
    titleInk.setColor(QPalette::WindowText, Brand::tinta());
    m_statusTitle->setPalette(titleInk);
    statusRow->addWidget(m_statusTitle, 1);
    m_retry = SiteButton::small(QStringLiteral("Tentar de novo"));
    m_retry->setParent(card);
    connect(m_retry, &QAbstractButton::clicked, this, [this] { m_status.refresh(); });
    statusRow->addWidget(m_retry);
    m_testButton = SiteButton::small(QStringLiteral("Testar"));
    m_testButton->setParent(card);
    connect(m_testButton, &QAbstractButton::clicked, this, &AIStep::test);
    statusRow->addWidget(m_testButton);
    column->addLayout(statusRow);
    // The test's line: the request under way or its result, one blurring into the other.
    auto* outcome = new QWidget(card);
    auto* outcomeColumn = new QVBoxLayout(outcome);
    outcomeColumn->setContentsMargins(0, 0, 0, 0);
    m_progress =
        OnboardingFonts::label(QStringLiteral("Pedindo ao modelo para limpar uma frase…"),
                               OnboardingFonts::system(13, QFont::Medium), Brand::roxo(), outcome);
    outcomeColumn->addWidget(m_progress);
    m_result = new OnboardingSymbolLabel(QStringLiteral("checkmark.seal.fill"), Brand::verde(), {},
                                         {.font = brand13(),
                                          .color = Brand::tinta2(),
                                          .symbolSide = 14,
                                          .spacing = 8,
                                          .alignTop = true},
                                         outcome);
    m_result->textLabel()->setTextInteractionFlags(Qt::TextSelectableByMouse);
    outcomeColumn->addWidget(m_result);
    column->addWidget(outcome);
    m_outcomeChange = new ReplaceTransition(outcome, Theme::gentle(), Transitions::blurReplace);
    layout->addWidget(card);
    layout->addStretch(1);
    // Another provider: the card's old look fades as the new one comes.
    m_providerChange = new ReplaceTransition(card, Theme::gentle(), [](double p) {
        return TransitionLook{.opacity = std::clamp(p, 0.0, 1.0)};
    });

    connect(&settings, &AppSettings::aiProviderChanged, this, [this] {
        m_providerChange->aboutToChange();
        buildChips();
        buildFields();
        render();
    });
    connect(&settings, &AppSettings::modelChanged, this, [this] {
        // A new model is warmed for dictation and the agent at once.
        Warmup::shared().resetLastRun();
        Warmup::shared().cleanup();
        Warmup::shared().agent();
        render();
    });
    connect(&settings, &AppSettings::apiKeyChanged, this, [this] {
        if (m_settings.aiProvider().needsKey()) m_status.refresh();
    });
    connect(&status, &AIStatus::modelsChanged, this, [this] {
        pickModelIfNeeded();
        buildModelControl();
        render();
    });
    connect(&status, &AIStatus::connectionChanged, this, &AIStep::render);
    connect(&status, &AIStatus::titleChanged, this, &AIStep::render);
    buildChips();
    buildFields();
    render();
}

AIStep::~AIStep() {
    leaveScreen();
}

double AIStep::chipFoundShown(AIProvider provider) const {
    for (const Chip* chip : m_chips->findChildren<Chip*>())
        if (chip->provider() == provider) return chip->foundShown();
    return 0;
}

QString AIStep::statusTitle() const {
    return AIStepModel::statusTitle(m_status.connection(), m_status.title(), m_settings.model(),
                                    m_status.models());
}

void AIStep::choose(Family family) {
    if (auto p = AIStepModel::choose(family, m_settings.aiProvider(), m_detected)) select(*p);
}

void AIStep::select(AIProvider provider) {
    ++m_choices;
    setProvider(provider);
}

void AIStep::setProvider(AIProvider provider) {
    if (provider == m_settings.aiProvider()) return;
    m_testResult.reset();
    m_settings.setAiProvider(provider);
    Warmup::shared().resetLastRun();
    m_status.refresh();
    render();
}

void AIStep::pickModelIfNeeded() {
    if (auto m =
            AIStepModel::pickModel(m_settings.aiProvider(), m_settings.model(), m_status.models()))
        m_settings.setModel(*m);
}

void AIStep::appear() {
    detach(scan(), QStringLiteral("Busca de servidores locais"));
}

void AIStep::disappear() {
    // A scan or test still running finds the page gone and writes nothing.
    ++m_scanRun;
}

QCoro::Task<> AIStep::scan() {
    const quint64 run = ++m_scanRun;
    const quint64 choices = m_choices;
    const AIProvider before = m_settings.aiProvider();
    m_scanning = true;
    render();
    m_status.refresh();
    QPointer<AIStep> self(this);
    AIStepModel::Detected found = co_await scanLocalServers(m_defaults);
    if (!self || !self->isOnScreen() || self->m_scanRun != run) co_return;
    // Only the local family shows what the scan found.
    if (AIStepModel::familyOf(m_settings.aiProvider()) == Family::local)
        m_serversChange->aboutToChange();
    m_detected = std::move(found);
    m_scanning = false;
    for (Chip* chip : m_chips->findChildren<Chip*>())
        chip->setFound(m_detected.contains(chip->provider()));
    render();
    // Never over a provider the person picked meanwhile.
    if (m_choices == choices && m_settings.aiProvider() == before)
        if (auto p = AIStepModel::automaticSwitch(m_settings.hasCompletedOnboarding(),
                                                  m_status.connection(), before, m_detected))
            setProvider(*p);
    Q_EMIT scanFinished();
}

void AIStep::test() {
    if (m_testing || m_settings.model().isEmpty()) return;
    m_testing = true;
    m_testResult.reset();
    render();
    detach(runTest(++m_testRun), QStringLiteral("Teste de limpeza"));
}

QCoro::Task<> AIStep::runTest(quint64 run) {
    QPointer<AIStep> self(this);
    std::optional<QString> cleaned, error;
    try {
        cleaned = co_await m_status.testCleanup();
    } catch (const std::exception& e) {
        const auto* described = dynamic_cast<const Error*>(&e);
        error = described ? described->message() : QString::fromUtf8(e.what());
    }
    // Only the newest test of a page still there writes its result.
    if (!self || run != m_testRun) co_return;
    m_testing = false;
    m_testFailed = !cleaned;
    m_testResult = cleaned ? AIStepModel::testResult(*cleaned, m_status.lastLatency()) : *error;
    render();
    Q_EMIT testFinished();
}

void AIStep::buildChips() {
    if (m_chips) {
        // Out of the layout at once, not when it is deleted: the new rows take its place.
        m_chips->hide();
        m_chips->deleteLater();
    }
    m_chips = new QWidget(this);
    auto* row = new QHBoxLayout(m_chips);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    const AIProvider current = m_settings.aiProvider();
    for (AIProvider p : AIStepModel::providers(AIStepModel::familyOf(current))) {
        auto* chip = new Chip(p, p == current, m_detected.contains(p), m_chips);
        connect(chip, &QAbstractButton::clicked, this, [this, p] { select(p); });
        row->addWidget(chip);
    }
    m_chipRow->insertWidget(0, m_chips);
}

void AIStep::buildFields() {
    if (m_fields) {
        m_fields->hide();
        m_fields->deleteLater();
    }
    m_fields = new QWidget(this);
    auto* column = new QVBoxLayout(m_fields);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(14);
    const AIProvider provider = m_settings.aiProvider();
    if (provider == AIProvider::claudeAccount || provider == AIProvider::chatgptAccount)
        column->addWidget(new AccountRow(
            provider, [this] { m_status.refresh(); }, m_fields));
    if (provider.needsKey()) {
        auto* trailing = new QWidget(m_fields);
        auto* h = new QHBoxLayout(trailing);
        h->setContentsMargins(0, 0, 0, 0);
        h->setSpacing(8);
        if (auto text = AIStepModel::keyLinkText(provider); text && !provider.keyPage().isEmpty()) {
            auto* link = SiteButton::small(*text, SiteKit::Kind::quiet);
            link->setSymbol(QStringLiteral("arrow.up.forward"));
            link->setParent(trailing);
            connect(link, &QAbstractButton::clicked, this,
                    [url = provider.keyPage()] { QDesktopServices::openUrl(url); });
            h->addWidget(link);
        }
        auto* key = new QLineEdit(m_settings.apiKey(), trailing);
        key->setEchoMode(QLineEdit::Password);
        key->setPlaceholderText(QStringLiteral("Cole a chave aqui"));
        key->setAccessibleName(QStringLiteral("Chave de API"));
        key->setFixedWidth(220);
        connect(key, &QLineEdit::textEdited, this,
                [this](const QString& text) { m_settings.setApiKey(text); });
        h->addWidget(key);
        column->addWidget(new SettingRow(QStringLiteral("Chave de API"),
                                         QStringLiteral("Guardada só no seu Mac"), trailing,
                                         m_fields));
    }
    if (provider == AIProvider::custom) {
        auto* address = new QLineEdit(m_settings.serverURL(), m_fields);
        address->setPlaceholderText(provider.defaultServerURL());
        address->setAccessibleName(QStringLiteral("Endereço"));
        address->setFixedWidth(240);
        connect(address, &QLineEdit::textEdited, this,
                [this](const QString& text) { m_settings.setServerURL(text); });
        connect(address, &QLineEdit::returnPressed, this, [this] { m_status.refresh(); });
        column->addWidget(new SettingRow(QStringLiteral("Endereço"),
                                         QStringLiteral("API compatível com OpenAI"), address,
                                         m_fields));
    }
    auto* slot = new QWidget(m_fields);
    m_modelSlot = new QHBoxLayout(slot);
    m_modelSlot->setContentsMargins(0, 0, 0, 0);
    m_modelControl = nullptr;
    auto* row = new SettingRow(QStringLiteral("Modelo"), QString(), slot, m_fields);
    m_modelDetail = row->detailLabel();
    column->addWidget(row);
    m_fieldsLayout->addWidget(m_fields);
    buildModelControl();
}

void AIStep::buildModelControl() {
    if (!m_modelSlot) return;
    if (m_modelControl) {
        m_modelControl->hide();
        m_modelControl->deleteLater();
    }
    const QStringList models = m_status.models();
    QWidget* parent = m_modelSlot->parentWidget();
    if (!models.isEmpty()) {
        auto* picker = new QComboBox(parent);
        for (const auto& entry : AIPaneModel::modelEntries(models, m_settings.model()))
            picker->addItem(entry.label, entry.value);
        picker->setCurrentIndex(picker->findData(m_settings.model()));
        connect(picker, &QComboBox::activated, this,
                [this, picker](int i) { m_settings.setModel(picker->itemData(i).toString()); });
        m_modelControl = picker;
    } else {
        auto* field = new QLineEdit(m_settings.model(), parent);
        field->setPlaceholderText(QStringLiteral("Nome do modelo"));
        connect(field, &QLineEdit::textEdited, this,
                [this](const QString& text) { m_settings.setModel(text); });
        m_modelControl = field;
    }
    m_modelControl->setAccessibleName(QStringLiteral("Modelo"));
    m_modelControl->setFixedWidth(240);
    m_modelSlot->addWidget(m_modelControl);
}

void AIStep::render() {
    const AIProvider provider = m_settings.aiProvider();
    const Family family = AIStepModel::familyOf(provider);
    for (FamilyTile* tile : m_tiles)
        tile->setState(tile->family() == family,
                       tile->family() == Family::local && !m_detected.empty());
    const bool local = family == Family::local;
    m_searching->setVisible(local && m_scanning);
    const auto badge = AIStepModel::foundBadge(m_detected);
    m_found->setVisible(local && !m_scanning && badge);
    if (badge) m_found->setText(*badge);
    m_note->setText(provider.note());
    if (m_modelDetail) {
        m_modelDetail->setText(AIStepModel::modelDetail(provider, m_status.models()));
        m_modelDetail->setVisible(true);
    }
    m_dot->setConnection(m_status.connection());
    m_statusTitle->morphTo(statusTitle());
    m_retry->setVisible(m_status.connection() == AIConnection::offline);
    m_testButton->setText(m_testing ? QStringLiteral("Testando…") : QStringLiteral("Testar"));
    m_testButton->setEnabled(!m_testing && !m_settings.model().isEmpty());
    const QString outcome =
        m_testing      ? QStringLiteral("…")
        : m_testResult ? (m_testFailed ? QStringLiteral("!") : QStringLiteral("✓")) + *m_testResult
                       : QString();
    if (outcome != m_outcome && isOnScreen()) m_outcomeChange->aboutToChange();
    m_outcome = outcome;
    m_progress->setVisible(m_testing);
    m_result->setVisible(!m_testing && m_testResult);
    if (m_testFailed)
        m_result->setSymbol(QStringLiteral("exclamationmark.triangle.fill"), Brand::erro());
    else
        m_result->setSymbol(QStringLiteral("checkmark.seal.fill"), Brand::verde());
    m_result->setText(m_testResult.value_or(QString()));
}

} // namespace nolvea
