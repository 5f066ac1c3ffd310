#include "ui/settings/AboutSettings.h"

#include "core/AppPaths.h"
#include "core/AppSettings.h"
#include "ui/components/Brand.h"
#include "ui/components/BrandFont.h"
#include "ui/components/BrandMark.h"
#include "ui/components/SettingsText.h"
#include "ui/components/SiteKit.h"
#include "ui/components/Symbols.h"
#include "ui/components/Wordmark.h"
#include "ui/settings/AboutModel.h"
#include "ui/settings/UpdateRow.h"
#include "updates/Distribution.h"
#include "updates/Updater.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace nolvea {

namespace {

class InfoCard : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        SiteKit::paintSheet(p, QRectF(rect()), 14, false);
    }
};

QFont textFont() {
    return BrandFont::font(BrandFont::Face::regular, 13, QFont::Normal);
}

} // namespace

AboutSettings::AboutSettings(QWidget* parent)
    : QWidget(parent) {
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 20, 0, 0);
    stack->setSpacing(16);
    stack->setAlignment(Qt::AlignHCenter);

    auto* mark = new BrandMark;
    mark->setAnimated(true);
    mark->setEchoes(true);
    mark->setFixedSize(86, 70);
    mark->setAccessibleName(QStringLiteral("Nolvea"));
    stack->addSpacing(12);
    stack->addWidget(mark, 0, Qt::AlignHCenter);
    stack->addSpacing(12);
    auto* word = new Wordmark(34, QBrush(Brand::tinta()));
    word->setAccessibleName(QStringLiteral("Nolvea"));
    stack->addWidget(word, 0, Qt::AlignHCenter);

    auto* version =
        SettingsText::label(AboutModel::versionLine(Distribution::version(), Distribution::build()),
                            textFont(), Brand::suave());
    version->setWordWrap(false);
    version->setAlignment(Qt::AlignHCenter);
    version->setAccessibleName(version->text());
    stack->addWidget(version, 0, Qt::AlignHCenter);
    stack->addWidget(new UpdateRow(Updater::shared()));

    auto* card = new InfoCard;
    card->setAccessibleName(QStringLiteral("Como a Nolvea roda aqui"));
    auto* lines = new QVBoxLayout(card);
    lines->setContentsMargins(16, 16, 16, 16);
    lines->setSpacing(8);
    const AppSettings& s = AppSettings::shared();
    for (const auto& info :
         AboutModel::infoLines(TranscriptionModel::engineFor(s.localeID()), s.aiProvider(),
                               s.model(), AppPaths::support(), QDir::homePath())) {
        auto* line = new QHBoxLayout;
        line->setSpacing(8);
        auto* icon = new QLabel;
        icon->setPixmap(Symbols::pixmap(info.symbol, 13, Brand::tinta2(), devicePixelRatioF()));
        icon->setFixedWidth(16);
        line->addWidget(icon);
        auto* text = SettingsText::label(info.text, textFont(), Brand::tinta2());
        text->setAccessibleName(info.text);
        if (info.symbol == QLatin1String("cpu")) m_modelLine = text;
        line->addWidget(text, 1);
        lines->addLayout(line);
    }
    stack->addWidget(card);
    connect(&s, &AppSettings::aiProviderChanged, this, &AboutSettings::showModel);
    connect(&s, &AppSettings::modelChanged, this, &AboutSettings::showModel);
}

void AboutSettings::showModel() {
    const AppSettings& s = AppSettings::shared();
    const QString text =
        AboutModel::infoLines(TranscriptionModel::engineFor(s.localeID()), s.aiProvider(),
                              s.model(), AppPaths::support(), QDir::homePath())[1]
            .text;
    m_modelLine->setText(text);
    m_modelLine->setAccessibleName(text);
}

} // namespace nolvea
