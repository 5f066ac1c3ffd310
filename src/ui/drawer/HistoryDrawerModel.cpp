#include "ui/drawer/HistoryDrawerModel.h"

namespace nolvea {

void HistoryDrawerModel::setOpen(bool open) {
    if (open == m_isOpen) return;
    m_isOpen = open;
    Q_EMIT isOpenChanged();
}

void HistoryDrawerModel::setQuery(const QString& query) {
    if (query == m_query) return;
    m_query = query;
    Q_EMIT queryChanged();
}

void HistoryDrawerModel::setExpandedID(std::optional<QUuid> id) {
    if (id == m_expandedID) return;
    m_expandedID = id;
    Q_EMIT expandedIDChanged();
}

void HistoryDrawerModel::toggle(const QUuid& id) {
    setExpandedID(m_expandedID == id ? std::nullopt : std::optional<QUuid>(id));
}

} // namespace nolvea
