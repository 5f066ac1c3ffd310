#include "ui/notch/NotchHoverPanel.h"

#include "ai/AIStatus.h"
#include "core/AppSettings.h"
#include "core/AppState.h"
#include "core/HistoryStore.h"
#include "ui/animation/WidgetTransition.h"
#include "ui/components/Brand.h"
#include "ui/components/GlassButton.h"
#include "ui/components/MarkdownText.h"
#include "ui/components/StatusDot.h"
#include "ui/components/Theme.h"
#include "ui/notch/NotchController.h"
#include "ui/notch/NotchField.h"
#include "ui/notch/NotchMotion.h"
#include "ui/notch/NotchStyle.h"
#include "ui/notch/NotchTexts.h"
#include "ui/notch/RecentEntries.h"
#include "ui/notch/RecentEntryDetail.h"
#include "ui/notch/RecentTaskRow.h"
#include "ui/windows/WindowManager.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace nolvea {

namespace {
MotionPose pose(const TransitionLook& l) {
    return {l.opacity, l.offset, l.scale};
}
} // namespace

NotchHoverPanel::NotchHoverPanel(AppState& state, NotchController& notch, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_notch(notch)
    , m_field(new NotchField({.keyCap = NotchTexts::keyCap(AppSettings::shared().hotkey())}))
    , m_problem(NotchStyle::label({}, 11, QFont::Medium, 0.75))
    , m_column(new QVBoxLayout(this)) {
    setAccessibleName(QStringLiteral("Painel da ilha"));
    m_column->setContentsMargins(0, 0, 0, 0);
    m_column->setSpacing(12);

    NotchModel& model = notch.model();
    m_field->edit()->setText(model.typedText());
    connect(m_field->edit(), &QLineEdit::textChanged, this, [this](const QString& text) {
        m_notch.model().setTypedText(text);
        m_problem->hide();
    });
    connect(m_field, &NotchField::submitted, this, &NotchHoverPanel::submit);
    connect(m_field, &NotchField::escaped, this, [this] { m_notch.closeHover(); });
    m_column->addWidget(m_field);
    m_problem->setAccessibleName(QStringLiteral("Aviso"));
    m_problem->hide();
    m_column->addWidget(m_problem);

    auto* footer = new QHBoxLayout;
    footer->setSpacing(8);
    auto* history = new GlassButton({.title = QStringLiteral("Histórico"),
                                     .symbol = QStringLiteral("clock"),
                                     .symbolFirst = true});
    history->setAccessibleName(QStringLiteral("Histórico"));
    history->setVisible(bool(notch.openHistory()));
    connect(history, &QAbstractButton::clicked, this, [this] {
        if (m_notch.openHistory()) m_notch.openHistory()();
    });
    footer->addWidget(history);
    auto* settings = new GlassButton({.title = QStringLiteral("Ajustes"),
                                      .symbol = QStringLiteral("gearshape"),
                                      .symbolFirst = true});
    settings->setAccessibleName(QStringLiteral("Ajustes"));
    connect(settings, &QAbstractButton::clicked, this,
            [] { WindowManager::shared().show(WindowManager::Kind::settings); });
    footer->addWidget(settings);
    footer->addStretch(1);
    AIStatus& status = AIStatus::shared();
    QLabel* title = NotchStyle::label(status.title(), 10, QFont::Normal, 0.4);
    title->setAccessibleName(QStringLiteral("Modelo"));
    connect(&status, &AIStatus::titleChanged, title,
            [title, &status] { title->setText(status.title()); });
    footer->addWidget(title);
    auto* dot = new StatusDot(status.connection());
    dot->setAccessibleName(QStringLiteral("Conexão"));
    connect(&status, &AIStatus::connectionChanged, dot,
            [dot, &status] { dot->setConnection(status.connection()); });
    footer->addWidget(dot);
    m_column->addLayout(footer);

    rebuildQuestion();
    rebuildRecent();
    updatePlaceholder();
    connect(&state, &AppState::awaitingReplyChanged, this, [this] {
        rebuildQuestion();
        updatePlaceholder();
    });
    connect(&state, &AppState::answerTextChanged, this, &NotchHoverPanel::rebuildQuestion);
    connect(&AppSettings::shared(), &AppSettings::hotkeyChanged, this,
            &NotchHoverPanel::updatePlaceholder);
    connect(&HistoryStore::shared(), &HistoryStore::entriesChanged, this,
            &NotchHoverPanel::rebuildRecent);
    connect(&model, &NotchModel::expandedEntryIDChanged, this, &NotchHoverPanel::rebuildRecent);
}

void NotchHoverPanel::submit() {
    // A request the voice controller cannot take now stays in the field, with the reason.
    if (const auto error = m_notch.submitTyped()) {
        m_problem->setText(error->message());
        m_problem->show();
        return;
    }
    m_field->edit()->clear();
}

void NotchHoverPanel::updatePlaceholder() {
    const HotkeyChoice hotkey = AppSettings::shared().hotkey();
    m_field->setPlaceholder(NotchTexts::requestPlaceholder(m_state.awaitingReply(), hotkey));
    m_field->setKeyCap(NotchTexts::keyCap(hotkey));
}

void NotchHoverPanel::rebuildQuestion() {
    if (m_question) {
        m_question->hide();
        m_question->deleteLater();
    }
    m_question = nullptr;
    if (!m_state.awaitingReply() || m_state.answerText().isEmpty()) return;
    m_question = new QWidget;
    auto* row = new QHBoxLayout(m_question);
    row->setContentsMargins(4, 0, 4, 0);
    row->setSpacing(10);
    QLabel* badge = NotchStyle::label(QStringLiteral("✦"), 14, QFont::Bold, 0.9);
    row->addWidget(badge, 0, Qt::AlignTop);
    auto* answer = new MarkdownText(m_state.answerText());
    answer->setAccessibleName(QStringLiteral("Pergunta"));
    QPalette pal = answer->palette();
    pal.setColor(QPalette::WindowText, Brand::withOpacity(Qt::white, 0.9));
    answer->setPalette(pal);
    // At most four lines.
    answer->setMaximumHeight(answer->fontMetrics().lineSpacing() * 4 + 2);
    row->addWidget(answer, 1);
    m_column->insertWidget(0, m_question);
}

void NotchHoverPanel::rebuildRecent() {
    // Called from a row's own click: the old rows go once the click is over.
    if (m_recent) {
        m_recent->hide();
        m_recent->deleteLater();
    }
    m_recent = nullptr;
    const RecentEntries::Slot slot =
        RecentEntries::slot(m_notch.model().expandedEntryID(), HistoryStore::shared().entries());
    if (slot.opened) {
        auto* detail = new RecentEntryDetail(*slot.opened);
        connect(detail, &RecentEntryDetail::back, this,
                [this] { m_notch.model().setExpandedEntryID(std::nullopt); });
        m_recent = detail;
        // Opened in place: it fades in from just under its size, held at its top edge.
        auto* motion = new WidgetTransition(
            detail,
            [detail](double p) {
                MotionPose pose{std::clamp(p, 0.0, 1.0)};
                pose.scale = 0.97 + 0.03 * p;
                pose.offset = QPointF(0, -(1 - pose.scale) * detail->height() / 2);
                return pose;
            },
            false);
        motion->appear(Theme::morph());
    } else if (!slot.rows.isEmpty()) {
        m_recent = new QWidget;
        m_recent->setAccessibleName(QStringLiteral("Recentes"));
        auto* list = new QVBoxLayout(m_recent);
        list->setContentsMargins(0, 0, 0, 0);
        list->setSpacing(2);
        QLabel* caption = NotchStyle::label(QStringLiteral("Recentes"), 9, QFont::DemiBold, 0.4);
        caption->setContentsMargins(8, 0, 0, 2);
        list->addWidget(caption);
        int index = 0;
        for (const HistoryEntry& entry : slot.rows) {
            auto* row = new RecentTaskRow(entry);
            connect(row, &QAbstractButton::clicked, this,
                    [this, id = entry.id] { m_notch.model().setExpandedEntryID(id); });
            list->addWidget(row);
            // As the panel opens the rows come down one after another from the top.
            if (!m_built) {
                auto* motion = new WidgetTransition(
                    row, [](double p) { return pose(NotchMotion::row(p)); }, false);
                motion->appear(Theme::snappy(), NotchMotion::rowDelay(index));
            }
            ++index;
        }
        if (m_built) {
            // Back from an opened entry: the list fades in.
            auto* motion = new WidgetTransition(
                m_recent, [](double p) { return MotionPose{std::clamp(p, 0.0, 1.0)}; }, false);
            motion->appear(Theme::morph());
        }
    }
    m_built = true;
    if (m_recent) m_column->insertWidget(m_column->count() - 1, m_recent);
}

} // namespace nolvea
