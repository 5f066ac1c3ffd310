#include "ui/onboarding/NameStep.h"

#include "core/AppSettings.h"
#include "ui/animation/FrameDriver.h"
#include "ui/animation/SpringValue.h"
#include "ui/components/Brand.h"
#include "ui/components/BrandMark.h"
#include "ui/components/SiteKit.h"
#include "ui/onboarding/OnboardingFonts.h"
#include "ui/onboarding/PageTexts.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace nolvea {

namespace {

// The black preview bubble.
class Bubble : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 26, 26);
        p.fillPath(shape, Qt::black);
        p.setPen(QPen(QColor(255, 255, 255, 20), 1));
        p.drawPath(shape);
    }
};

// The name field's frame: a sheet with a border that turns purple and a little wider while
// the field has focus, moving with the snappy spring.
class FieldFrame : public QWidget {
public:
    FieldFrame(QLineEdit* field, QWidget* parent)
        : QWidget(parent)
        , m_field(field)
        , m_driver(new FrameDriver(this, [this](double dt) { return m_focus.advance(dt); })) {
        connect(qApp, &QApplication::focusChanged, this, [this] {
            m_driver->animate(m_focus, m_field->hasFocus() ? 1 : 0, Theme::snappy());
        });
    }

    double focus() const { return m_focus.value(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const double f = std::clamp(m_focus.value(), 0.0, 1.0);
        const double w = 1 + 0.5 * f;
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()).adjusted(w / 2, w / 2, -w / 2, -w / 2), 10, 10);
        p.fillPath(shape, Brand::folha());
        const QColor a = Brand::bordaCampo(), b = Brand::roxo();
        p.setPen(QPen(QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * f),
                                       float(a.greenF() + (b.greenF() - a.greenF()) * f),
                                       float(a.blueF() + (b.blueF() - a.blueF()) * f),
                                       float(a.alphaF() + (b.alphaF() - a.alphaF()) * f)),
                      w));
        p.drawPath(shape);
    }

private:
    QLineEdit* m_field;
    SpringValue m_focus{0};
    FrameDriver* m_driver;
};

} // namespace

NameStep::NameStep(AppSettings& settings, std::function<void()> onSubmit, QWidget* parent)
    : OnboardingPage(parent)
    , m_settings(settings) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addStretch(1);
    auto* title = new QLabel(QStringLiteral("Como você quer\nser chamado?"), this);
    title->setTextFormat(Qt::PlainText);
    title->setAlignment(Qt::AlignCenter);
    SiteKit::applyTitle(title, 48);
    layout->addWidget(title);
    layout->addSpacing(10);
    QLabel* text = OnboardingFonts::label(
        QStringLiteral("A Nolvea usa seu nome quando conversa com você."),
        OnboardingFonts::brand(15, OnboardingFonts::Weight::regular), Brand::suave(), this);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    layout->addSpacing(30);

    m_field = new QLineEdit(this);
    auto* frame = new FieldFrame(m_field, this);
    m_fieldFocus = [frame] { return frame->focus(); };
    m_field->setParent(frame);
    m_field->setPlaceholderText(QStringLiteral("Seu nome"));
    m_field->setAccessibleName(QStringLiteral("Seu nome"));
    m_field->setFrame(false);
    m_field->setAlignment(Qt::AlignCenter);
    m_field->setFont(OnboardingFonts::brand(30, OnboardingFonts::Weight::bold));
    QPalette pal = m_field->palette();
    pal.setColor(QPalette::Base, Qt::transparent);
    pal.setColor(QPalette::Text, Brand::tinta());
    m_field->setPalette(pal);
    m_field->setText(settings.userName());
    auto* frameLayout = new QHBoxLayout(frame);
    frameLayout->setContentsMargins(14, 16, 14, 16);
    frameLayout->addWidget(m_field);
    frame->setFixedWidth(400);
    layout->addWidget(frame, 0, Qt::AlignHCenter);
    layout->addSpacing(34);

    auto* bubble = new Bubble(this);
    bubble->setFixedWidth(400);
    auto* row = new QHBoxLayout(bubble);
    row->setContentsMargins(18, 14, 18, 14);
    row->setSpacing(12);
    BrandMarkInputs inputs;
    inputs.level = 0.4;
    inputs.ball = true;
    inputs.animated = true;
    inputs.glow = true;
    auto* mark = new BrandMark(inputs, bubble);
    mark->setFixedSize(30, 24);
    row->addWidget(mark);
    auto* lines = new QVBoxLayout;
    lines->setSpacing(2);
    m_greeting =
        OnboardingFonts::label({}, OnboardingFonts::system(13, QFont::DemiBold), Qt::white, bubble);
    lines->addWidget(m_greeting);
    lines->addWidget(OnboardingFonts::label(
        QStringLiteral("O Tiago aprovou a proposta. Quer que eu responda?"),
        OnboardingFonts::system(12, QFont::Normal), QColor(255, 255, 255, 153), bubble));
    row->addLayout(lines, 1);
    layout->addWidget(bubble, 0, Qt::AlignHCenter);
    layout->addStretch(2);

    connect(m_field, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_settings.setUserName(text); });
    m_onSubmit = std::move(onSubmit);
    m_field->installEventFilter(this);
    connect(&settings, &AppSettings::userNameChanged, this, [this] {
        if (m_field->text() != m_settings.userName()) m_field->setText(m_settings.userName());
        render();
    });
    render();
}

NameStep::~NameStep() {
    leaveScreen();
}

bool NameStep::eventFilter(QObject* watched, QEvent* e) {
    // Return submits here and goes no further: the flow must not see it a second time.
    if (watched == m_field && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_onSubmit();
            return true;
        }
    }
    return OnboardingPage::eventFilter(watched, e);
}

QString NameStep::greeting() const {
    return m_greeting->text();
}

void NameStep::render() {
    m_greeting->setText(PageTexts::nameGreeting(m_settings.userName()));
}

void NameStep::appear() {
    // The flow fills in the suggested name as it comes on screen, after this page was built.
    if (m_field->text() != m_settings.userName()) m_field->setText(m_settings.userName());
    render();
    m_field->setFocus();
}

} // namespace nolvea
