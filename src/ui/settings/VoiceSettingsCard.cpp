#include "ui/settings/VoiceSettingsCard.h"

#include "core/AppSettings.h"
#include "speech/Speaker.h"
#include "speech/TTSServer.h"
#include "ui/components/Brand.h"
#include "ui/components/SettingRow.h"
#include "ui/components/SettingsText.h"
#include "ui/components/SiteButton.h"
#include "ui/components/StatusDot.h"
#include "ui/settings/Bindings.h"
#include "ui/settings/VoiceCardModel.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QSlider>
#include <QUrl>

namespace nolvea {

namespace {

template <typename T, typename F> QStringList labels(const std::vector<T>& values, F label) {
    QStringList out;
    for (const T& v : values)
        out << label(v);
    return out;
}

} // namespace

VoiceSettingsCard::VoiceSettingsCard(AppSettings& settings, TTSServer& tts, QWidget* parent)
    : SettingsCard(QStringLiteral("Voz e conversa"),
                   QStringLiteral("A conversa lembra os últimos pedidos por 5 minutos. Com a "
                                  "resposta na tela, segure a tecla para responder (sem ⌃), ou "
                                  "digite no campo \"Responder…\" do notch."),
                   parent)
    , m_settings(settings)
    , m_tts(tts) {
    AppSettings& s = settings;
    add(new SettingRow(QStringLiteral("Responder em voz alta"),
                       QStringLiteral("Usa as vozes do macOS, no próprio Mac"),
                       Bindings::toggle(s, &AppSettings::speakAnswers,
                                        &AppSettings::setSpeakAnswers,
                                        &AppSettings::speakAnswersChanged)));
    addDivider();
    m_engineRow = new SettingRow(
        QStringLiteral("Motor de voz"), VoiceCardModel::engineDetail(s.voiceEngine()),
        Bindings::segmented(s, VoiceCardModel::engines(),
                            labels(VoiceCardModel::engines(), VoiceCardModel::engineLabel), 260,
                            &AppSettings::voiceEngine, &AppSettings::setVoiceEngine,
                            &AppSettings::voiceEngineChanged));
    add(m_engineRow);

    auto* neural = Bindings::picker(
        s, VoiceCardModel::neuralVoices(),
        labels(VoiceCardModel::neuralVoices(), VoiceCardModel::neuralVoiceLabel), 260,
        &AppSettings::neuralVoice, &AppSettings::setNeuralVoice, &AppSettings::neuralVoiceChanged);
    m_neuralRow = new SettingRow(QStringLiteral("Voz neural"),
                                 VoiceCardModel::neuralVoiceDetail(s.neuralVoice()), neural);
    add(m_neuralRow);
    connect(neural, &QComboBox::activated, this, [this] {
        if (!m_tts.warmed().contains(m_settings.neuralVoice()))
            m_tts.warm(m_settings.neuralVoice());
    });

    m_statusLine = new QWidget;
    auto* line = new QHBoxLayout(m_statusLine);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(8);
    m_dot = new StatusDot(VoiceCardModel::ttsConnection(tts.status()));
    line->addWidget(m_dot);
    m_statusText = SettingsText::label({}, SettingsText::systemFont(11), Brand::suave());
    m_statusText->setAccessibleName(QStringLiteral("Servidor de voz"));
    line->addWidget(m_statusText, 1);
    auto* log = SiteButton::small(QStringLiteral("Ver log"));
    connect(log, &QAbstractButton::clicked, this,
            [] { QDesktopServices::openUrl(QUrl::fromLocalFile(TTSServer::logPath())); });
    line->addWidget(log);
    add(m_statusLine);
    addDivider();

    m_systemVoice = new QComboBox;
    m_systemVoice->setFixedWidth(240);
    m_systemVoice->setAccessibleName(QStringLiteral("Voz do sistema"));
    connect(m_systemVoice, &QComboBox::activated, this, [this](int i) {
        m_settings.setVoiceIdentifier(m_systemVoice->itemData(i).toString());
    });
    m_systemRow = new SettingRow(VoiceCardModel::systemVoiceTitle(s.voiceEngine()), std::nullopt,
                                 m_systemVoice);
    add(m_systemRow);
    listSystemVoices();

    auto* speed = new QWidget;
    auto* speedRow = new QHBoxLayout(speed);
    speedRow->setContentsMargins(0, 0, 0, 0);
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setAccessibleName(QStringLiteral("Velocidade"));
    slider->setFixedWidth(160);
    slider->setRange(0, VoiceCardModel::rateStep(VoiceCardModel::kMaximumRate));
    slider->setValue(VoiceCardModel::rateStep(s.speechRate()));
    connect(slider, &QSlider::valueChanged, this,
            [this](int step) { m_settings.setSpeechRate(VoiceCardModel::rateAt(step)); });
    speedRow->addWidget(slider);
    auto* sample = SiteButton::small(QStringLiteral("Ouvir exemplo"));
    sample->setSymbol(QStringLiteral("play.fill"));
    connect(sample, &QAbstractButton::clicked, this,
            [] { Speaker::shared().speak(VoiceCardModel::sampleSentence(), {}); });
    speedRow->addWidget(sample);
    add(new SettingRow(QStringLiteral("Velocidade"), std::nullopt, speed));

    auto* more = new QWidget;
    auto* moreRow = new QHBoxLayout(more);
    moreRow->setContentsMargins(0, 0, 0, 0);
    moreRow->addStretch(1);
    auto* download = SiteButton::small(QStringLiteral("Baixar vozes melhores…"));
    download->setSymbol(QStringLiteral("arrow.down.circle"));
    download->setToolTip(QStringLiteral("Acessibilidade › Conteúdo falado › Voz do sistema › "
                                        "Gerenciar vozes › Português (Brasil)"));
    // Better voices come here as packages of other synthesizers for speech-dispatcher; no
    // desktop has a page to fetch them from, so there is nothing to open.
    download->setEnabled(false);
    moreRow->addWidget(download);
    add(more);
    addDivider();

    add(new SettingRow(
        QStringLiteral("Continuar ouvindo depois de responder"),
        QStringLiteral("O microfone reabre sozinho e fecha quando você para de falar"),
        Bindings::picker(s, VoiceCardModel::followUpModes(),
                         labels(VoiceCardModel::followUpModes(), VoiceCardModel::followUpLabel),
                         220, &AppSettings::followUpMode, &AppSettings::setFollowUpMode,
                         &AppSettings::followUpModeChanged)));

    connect(&s, &AppSettings::voiceEngineChanged, this, [this] {
        followEngine();
        VoiceCardModel::warmIfNeeded(m_settings, m_tts);
    });
    connect(&s, &AppSettings::speakAnswersChanged, this,
            [this] { VoiceCardModel::warmIfNeeded(m_settings, m_tts); });
    connect(&s, &AppSettings::neuralVoiceChanged, this, [this] {
        m_neuralRow->setDetail(VoiceCardModel::neuralVoiceDetail(m_settings.neuralVoice()));
    });
    connect(&s, &AppSettings::localeIDChanged, this, &VoiceSettingsCard::listSystemVoices);
    connect(&s, &AppSettings::voiceIdentifierChanged, this, &VoiceSettingsCard::showSystemVoice);
    connect(&tts, &TTSServer::statusChanged, this, &VoiceSettingsCard::followStatus);
    followEngine();
    followStatus();
}

void VoiceSettingsCard::showEvent(QShowEvent* e) {
    SettingsCard::showEvent(e);
    if (!e->spontaneous()) VoiceCardModel::warmIfNeeded(m_settings, m_tts);
}

void VoiceSettingsCard::followEngine() {
    const VoiceEngine engine = m_settings.voiceEngine();
    const bool neural = engine == VoiceEngine::neural;
    m_engineRow->setDetail(VoiceCardModel::engineDetail(engine));
    m_neuralRow->setVisible(neural);
    m_statusLine->setVisible(neural);
    m_systemRow->setTitle(VoiceCardModel::systemVoiceTitle(engine));
}

void VoiceSettingsCard::listSystemVoices() {
    const auto voices = Speaker::voices(m_settings.localeID());
    {
        const QSignalBlocker block(m_systemVoice);
        m_systemVoice->clear();
        for (const auto& item : VoiceCardModel::systemVoiceItems(voices))
            m_systemVoice->addItem(item.label, item.identifier);
    }
    m_systemRow->setDetail(VoiceCardModel::systemVoiceDetail(voices));
    showSystemVoice();
}

void VoiceSettingsCard::showSystemVoice() {
    // A stored voice that is not listed leaves the picker without a choice; it is kept.
    const QSignalBlocker block(m_systemVoice);
    m_systemVoice->setCurrentIndex(m_systemVoice->findData(m_settings.voiceIdentifier()));
}

void VoiceSettingsCard::followStatus() {
    m_dot->setConnection(VoiceCardModel::ttsConnection(m_tts.status()));
    m_statusText->setText(VoiceCardModel::ttsStatusText(m_tts.status()));
}

} // namespace nolvea
