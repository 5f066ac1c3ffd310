#include "ui/onboarding/PermissionsStep.h"

#include "support/RawEnum.h"
#include "ui/animation/FrameClock.h"
#include "ui/animation/FrameDriver.h"
#include "ui/components/Brand.h"
#include "ui/components/InlineMarkdown.h"
#include "ui/components/Regua.h"
#include "ui/components/SiteButton.h"
#include "ui/onboarding/OnboardingFonts.h"
#include "ui/onboarding/OnboardingMotion.h"
#include "ui/onboarding/OnboardingSymbolLabel.h"
#include "ui/onboarding/PageMotionEffect.h"
#include "ui/onboarding/SnapshotLayer.h"
#include "ui/onboarding/StepHeader.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace nolvea {

PermissionsStep::KindLook PermissionsStep::look(Permissions::Kind kind) {
    switch (kind) {
    case Permissions::Kind::microphone:
        return {QStringLiteral("mic.fill"), QStringLiteral("Microfone"),
                QStringLiteral("Para ouvir o que você fala. O áudio nunca sai do seu Mac.")};
    case Permissions::Kind::accessibility:
        return {QStringLiteral("accessibility"), QStringLiteral("Acessibilidade"),
                QStringLiteral(
                    "Para colar o texto no app em que você está e ler o texto selecionado.")};
    case Permissions::Kind::inputMonitoring:
        return {QStringLiteral("keyboard.fill"), QStringLiteral("Monitoramento de Entrada"),
                QStringLiteral("Para perceber quando você segura a tecla de ativação.")};
    }
    return {};
}

PermissionsStep::PermissionsStep(Permissions& permissions, QWidget* parent)
    : OnboardingPage(parent)
    , m_permissions(permissions) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);
    layout->addWidget(new StepHeader(QStringLiteral("Permissões"),
                                     QStringLiteral("O macOS pede sua autorização para cada uma. O "
                                                    "áudio e o texto nunca saem do seu Mac."),
                                     this));
    auto* list = new QVBoxLayout;
    list->setContentsMargins(0, 6, 0, 0);
    list->setSpacing(0);
    list->addWidget(new Regua(true, this));
    for (Permissions::Kind kind : allCases<Permissions::Kind>()) {
        const KindLook l = look(kind);
        auto* row = new QWidget(this);
        auto* h = new QHBoxLayout(row);
        h->setContentsMargins(0, 16, 0, 16);
        h->setSpacing(14);
        QLabel* icon = OnboardingFonts::symbol(l.symbol, 20, Brand::tinta(), row);
        icon->setFixedWidth(28);
        h->addWidget(icon);
        auto* texts = new QVBoxLayout;
        texts->setSpacing(3);
        texts->addWidget(OnboardingFonts::label(
            l.title, OnboardingFonts::brand(17, OnboardingFonts::Weight::bold), Brand::tinta(),
            row));
        texts->addWidget(OnboardingFonts::label(
            l.detail, OnboardingFonts::brand(13, OnboardingFonts::Weight::regular), Brand::suave(),
            row));
        h->addLayout(texts, 1);
        auto* state = new QWidget(row);
        auto* stack = new QStackedLayout(state);
        auto* allow = new SiteButton(QStringLiteral("Permitir"), SiteKit::Kind::primary,
                                     SiteKit::Size::regular, state);
        allow->setAccessibleName(QStringLiteral("Permitir ") + l.title);
        connect(allow, &QAbstractButton::clicked, this,
                [this, kind] { m_permissions.request(kind); });
        auto* granted = new OnboardingSymbolLabel(
            QStringLiteral("checkmark"), Brand::verde(), QStringLiteral("Permitido"),
            {.font = OnboardingFonts::brand(13, OnboardingFonts::Weight::semibold),
             .color = Brand::verde(),
             .symbolSide = 12},
            state);
        granted->textLabel()->setWordWrap(false);
        granted->setAccessibleName(l.title + QStringLiteral(": Permitido"));
        stack->addWidget(allow);
        stack->addWidget(granted);
        m_states[kind] = stack;
        h->addWidget(state);
        list->addWidget(row);
        list->addWidget(new Regua(false, this));
    }
    layout->addLayout(list);
    auto* note = new QLabel(this);
    note->setTextFormat(Qt::RichText);
    note->setWordWrap(true);
    note->setFont(OnboardingFonts::brand(13, OnboardingFonts::Weight::regular));
    QPalette pal = note->palette();
    pal.setColor(QPalette::WindowText, Brand::suave());
    note->setPalette(pal);
    const QString noteText = QStringLiteral(
        "Acessibilidade e Monitoramento de Entrada abrem os Ajustes do Sistema: ative a **Nolvea** "
        "na lista. Calendário, Lembretes e Contatos são pedidos só quando você usar.");
    note->setText(InlineMarkdown::toHtml(noteText));
    note->setAccessibleName(note->text().isEmpty() ? QString() : QString(noteText).remove(u'*'));
    layout->addWidget(note);
    layout->addStretch(1);

    m_driver = new FrameDriver(this, [this](double dt) { return step(dt); });
    connect(&permissions, &Permissions::grantedChanged, this, &PermissionsStep::render);
    render();
}

PermissionsStep::~PermissionsStep() {
    leaveScreen();
}

bool PermissionsStep::showsGranted(Permissions::Kind kind) const {
    return m_states.at(kind)->currentIndex() == 1;
}

bool PermissionsStep::isChanging() const {
    for (const auto& [kind, change] : m_change)
        if (!change.isSettled()) return true;
    return false;
}

void PermissionsStep::render() {
    for (auto& [kind, stack] : m_states) {
        const int index = m_permissions.isGranted(kind) ? 1 : 0;
        if (stack->currentIndex() == index) continue;
        QWidget* state = stack->parentWidget();
        delete m_leaving[kind].data();
        if (state->isVisible() && !FrameClock::shared().reduceMotion()) {
            m_leaving[kind] = new SnapshotLayer(stack->currentWidget(), state);
            m_leaving[kind]->show();
        }
        stack->setCurrentIndex(index);
        auto* effect = new PageMotionEffect(stack->currentWidget());
        stack->currentWidget()->setGraphicsEffect(effect);
        m_change[kind].jump(0);
        m_driver->animate(m_change[kind], 1, Theme::morph());
    }
    step(0);
}

bool PermissionsStep::step(double dt) {
    bool moving = false;
    for (auto& [kind, change] : m_change) {
        moving = change.advance(dt) || moving;
        const double p = change.value();
        QWidget* shown = m_states.at(kind)->currentWidget();
        if (auto* effect = qobject_cast<PageMotionEffect*>(shown->graphicsEffect()))
            effect->setLook(OnboardingMotion::swapIn(p));
        if (m_leaving[kind]) m_leaving[kind]->setLook(OnboardingMotion::swapOut(p));
        if (change.isSettled()) {
            delete m_leaving[kind].data();
            shown->setGraphicsEffect(nullptr);
        }
    }
    return moving;
}

} // namespace nolvea
