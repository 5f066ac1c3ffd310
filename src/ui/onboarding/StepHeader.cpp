#include "ui/onboarding/StepHeader.h"

#include "ui/components/Brand.h"
#include "ui/components/SiteKit.h"
#include "ui/onboarding/OnboardingFonts.h"

#include <QLabel>
#include <QVBoxLayout>

namespace nolvea {

StepHeader::StepHeader(const QString& title, const QString& subtitle, QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    m_title = new QLabel(title, this);
    m_title->setTextFormat(Qt::PlainText);
    SiteKit::applyTitle(m_title, 36);
    m_subtitle = OnboardingFonts::label(
        subtitle, OnboardingFonts::brand(15, OnboardingFonts::Weight::regular), Brand::suave(),
        this);
    layout->addWidget(m_title);
    layout->addWidget(m_subtitle);
}

} // namespace nolvea
