#pragma once

#include "support/Clock.h"

#include <QHash>
#include <QUuid>
#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QScrollArea;
class QVBoxLayout;

namespace nolvea {

class WidgetTransition;
class AppSettings;
class DrawerCountsLabel;
class DrawerRow;
class ReplaceTransition;
class WidthMotion;
class GlassButton;
class HistoryDrawerModel;
class HistoryStore;

// The drawer's content: one card with the title and counts, clear-all and close, the search
// field, and the history grouped by day, each row expanding into its conversation. It keeps
// nothing of its own but which rows were copied.
class HistoryDrawerView : public QWidget {
    Q_OBJECT

public:
    static constexpr Clock::Duration kClearWindow{3000};

    HistoryDrawerView(HistoryDrawerModel& model, HistoryStore& history, AppSettings& settings,
                      std::function<void()> close, QWidget* parent = nullptr);
    ~HistoryDrawerView() override;

    QWidget* card() const { return m_card; }
    DrawerCountsLabel* counts() const { return m_counts; }
    GlassButton* clearButton() const { return m_clear; }
    // The clear-all label's cross-fade between the trash and its question.
    ReplaceTransition& clearChange() const { return *m_clearChange; }
    // Its width moving with the cross-fade from the round trash to the question and back.
    WidthMotion& clearWidth() const { return *m_clearWidth; }
    GlassButton* closeButton() const { return m_close; }
    QLineEdit* searchField() const { return m_search; }
    GlassButton* searchClearButton() const { return m_searchClear; }
    QWidget* emptyState() const { return m_empty; }
    QLabel* emptyTitle() const { return m_emptyTitle; }
    QLabel* emptyHint() const { return m_emptyHint; }
    QList<DrawerRow*> rows() const;
    // Rows of deleted entries still fading away.
    QList<DrawerRow*> leavingRows() const { return m_leaving; }
    QStringList groupTitles() const;
    bool isConfirmingClear() const { return m_confirmingClear; }
    // The card's way in and out.
    WidgetTransition& cardMotion() const { return *m_cardMotion; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void rebuild();
    void refreshHeader();
    void refreshExpanded();
    void pressClear();
    void openChanged();
    void leave(DrawerRow* row);

    HistoryDrawerModel& m_model;
    HistoryStore& m_history;
    AppSettings& m_settings;
    std::function<void()> m_closeDrawer;
    QWidget* m_card;
    DrawerCountsLabel* m_counts;
    GlassButton* m_clear;
    ReplaceTransition* m_clearChange;
    WidthMotion* m_clearWidth;
    GlassButton* m_close;
    QLineEdit* m_search;
    GlassButton* m_searchClear;
    WidgetTransition* m_cardMotion;
    WidgetTransition* m_searchClearMotion;
    QScrollArea* m_scroll;
    QWidget* m_list;
    QVBoxLayout* m_listLayout;
    QWidget* m_empty;
    QLabel* m_emptySymbol;
    QLabel* m_emptyTitle;
    QLabel* m_emptyHint;
    QHash<QUuid, DrawerRow*> m_rows;
    QList<DrawerRow*> m_leaving;
    QList<QLabel*> m_groupLabels;
    bool m_confirmingClear = false;
    std::unique_ptr<ClockTimer> m_clearTimer;
};

} // namespace nolvea
