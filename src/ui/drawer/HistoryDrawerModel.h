#pragma once

#include <QObject>
#include <QUuid>

#include <optional>

namespace nolvea {

// The drawer's shared state: whether it is open, the search text (kept across closing) and
// the one expanded row. Observers hear only real changes.
class HistoryDrawerModel : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    bool isOpen() const { return m_isOpen; }
    QString query() const { return m_query; }
    std::optional<QUuid> expandedID() const { return m_expandedID; }

    void setOpen(bool open);
    void setQuery(const QString& query);
    void setExpandedID(std::optional<QUuid> id);
    // Expands the row of `id`, or folds it when it is the expanded one.
    void toggle(const QUuid& id);

Q_SIGNALS:
    void isOpenChanged();
    void queryChanged();
    void expandedIDChanged();

private:
    bool m_isOpen = false;
    QString m_query;
    std::optional<QUuid> m_expandedID;
};

} // namespace nolvea
