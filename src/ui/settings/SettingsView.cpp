#include "ui/settings/SettingsView.h"

#include "ui/animation/FrameClock.h"
#include "ui/components/Brand.h"
#include "ui/components/SettingsText.h"
#include "ui/components/Symbols.h"
#include "ui/settings/AISettings.h"
#include "ui/settings/AboutSettings.h"
#include "ui/settings/AgentSettings.h"
#include "ui/settings/GeneralSettings.h"
#include "ui/settings/IntegrationsSettings.h"
#include "ui/settings/PaneTransition.h"
#include "ui/settings/PaneTransitionModel.h"
#include "ui/settings/VocabularySettings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QVBoxLayout>

namespace nolvea {

namespace {

QWidget* padded(QWidget* pane) {
    auto* frame = new QWidget;
    frame->setAutoFillBackground(false);
    auto* layout = new QVBoxLayout(frame);
    const int m = SettingsView::kPanePadding;
    layout->setContentsMargins(m, m, m, m);
    layout->addWidget(pane);
    layout->addStretch(1);
    return frame;
}

// A section's symbol in the accent, and in the selection's text colour on the selected row,
// where the accent would vanish into the selection.
QIcon sidebarIcon(const QString& symbol, const QPalette& palette) {
    constexpr int kSide = 16;
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0}) {
        QPixmap normal = Symbols::pixmap(symbol, kSide, palette.color(QPalette::Highlight), ratio);
        QPixmap selected =
            Symbols::pixmap(symbol, kSide, palette.color(QPalette::HighlightedText), ratio);
        if (normal.isNull()) {
            // Keeps the titles lined up when a symbol has no drawing.
            normal = QPixmap(QSize(kSide, kSide) * ratio);
            normal.setDevicePixelRatio(ratio);
            normal.fill(Qt::transparent);
            selected = normal;
        }
        icon.addPixmap(normal, QIcon::Normal);
        icon.addPixmap(selected, QIcon::Selected);
    }
    return icon;
}

} // namespace

QPalette SettingsView::lightPalette() {
    QPalette p;
    p.setColor(QPalette::Window, Brand::chao());
    p.setColor(QPalette::Base, Brand::folha());
    p.setColor(QPalette::AlternateBase, Brand::chao());
    p.setColor(QPalette::Button, Brand::folha());
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(role, Brand::tinta());
    p.setColor(QPalette::PlaceholderText, Brand::suave());
    p.setColor(QPalette::Highlight, Brand::roxo());
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, Brand::roxoTexto());
    p.setColor(QPalette::ToolTipBase, Brand::folha());
    p.setColor(QPalette::ToolTipText, Brand::tinta());
    p.setColor(QPalette::Disabled, QPalette::Text, Brand::suave());
    p.setColor(QPalette::Disabled, QPalette::WindowText, Brand::suave());
    p.setColor(QPalette::Disabled, QPalette::ButtonText, Brand::suave());
    return p;
}

SettingsView::SettingsView(QWidget* parent)
    : QWidget(parent) {
    setPalette(lightPalette());
    setAutoFillBackground(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    m_sidebar = new QListWidget(this);
    m_sidebar->setAccessibleName(QStringLiteral("Seções"));
    m_sidebar->setFixedWidth(kSidebarWidth);
    m_sidebar->setFrameShape(QFrame::NoFrame);
    m_sidebar->setIconSize({16, 16});
    m_sidebar->setSpacing(2);
    m_sidebar->setFont(SettingsText::systemFont(13, QFont::Medium));
    QPalette sp = lightPalette();
    sp.setColor(QPalette::Base, Brand::chao().darker(104));
    m_sidebar->setPalette(sp);
    for (Section s : SettingsSections::allCases()) {
        auto* item = new QListWidgetItem(sidebarIcon(SettingsSections::symbol(s), sp),
                                         SettingsSections::title(s));
        item->setSizeHint({kSidebarWidth - 8, 30});
        m_sidebar->addItem(item);
    }
    row->addWidget(m_sidebar);

    auto* detail = new QVBoxLayout;
    detail->setSpacing(0);
    m_title = SettingsText::label({}, SettingsText::font(SettingsText::Style::cardTitle),
                                  Brand::tinta(), this);
    m_title->setContentsMargins(kPanePadding, 14, kPanePadding, 0);
    detail->addWidget(m_title);
    m_scroll = new QScrollArea(this);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    detail->addWidget(m_scroll, 1);
    row->addLayout(detail, 1);

    m_sidebar->setCurrentRow(0);
    connect(m_sidebar, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0) {
            // There is always a chosen section.
            m_sidebar->setCurrentRow(int(m_section));
            return;
        }
        setSection(SettingsSections::allCases().at(size_t(row)));
    });
    showPane();
}

void SettingsView::setSection(Section section) {
    if (section == m_section) return;
    m_section = section;
    if (m_sidebar->currentRow() != int(section)) m_sidebar->setCurrentRow(int(section));
    showPane();
    Q_EMIT sectionChanged(section);
}

void SettingsView::showPane() {
    QWidget* column = m_scroll->viewport();
    const bool animated = PaneTransitionModel::animates(FrameClock::shared().reduceMotion(),
                                                        m_scroll->widget() && column->isVisible());
    // The column as it looks now, a switch under way included.
    const QPixmap before = animated ? column->grab() : QPixmap();
    delete m_transition;
    m_title->setText(SettingsSections::title(m_section));
    m_title->setAccessibleName(SettingsSections::title(m_section));
    m_pane = makePane(m_section);
    QWidget* frame = padded(m_pane);
    frame->setAccessibleName(SettingsSections::title(m_section));
    // The old pane goes with its frame: a fresh pane starts from its own defaults.
    delete m_scroll->takeWidget();
    m_scroll->setWidget(frame);
    column->setAutoFillBackground(true);
    column->setPalette(lightPalette());
    if (animated) m_transition = new PaneTransition(column, before, frame);
}

QWidget* SettingsView::makePane(Section section) {
    switch (section) {
    case Section::general:
        return new GeneralSettings;
    case Section::ai:
        return new AISettings;
    case Section::vocabulary:
        return new VocabularySettings;
    case Section::agent:
        return new AgentSettings;
    case Section::integrations:
        return new IntegrationsSettings;
    case Section::about:
        break;
    }
    return new AboutSettings;
}

QWidget* SettingsView::previewSection(Section section) {
    QWidget* frame = padded(makePane(section));
    frame->setPalette(lightPalette());
    frame->setAutoFillBackground(true);
    return frame;
}

} // namespace nolvea
