#include "ui/notch/NotchModel.h"

namespace nolvea {

namespace {

template <typename T, typename Signal>
void assign(NotchModel* model, T& field, const T& value, Signal signal) {
    if (field == value) return;
    field = value;
    Q_EMIT(model->*signal)();
}

} // namespace

NotchModel::NotchModel(QObject* parent)
    : QObject(parent)
    , m_geometry(NotchGeometry::current()) {}

void NotchModel::setGeometry(const NotchGeometry& geometry) {
    assign(this, m_geometry, geometry, &NotchModel::geometryChanged);
}
void NotchModel::setHovering(bool hovering) {
    assign(this, m_isHovering, hovering, &NotchModel::hoveringChanged);
}
void NotchModel::setTypedText(const QString& text) {
    assign(this, m_typedText, text, &NotchModel::typedTextChanged);
}
void NotchModel::setReplyText(const QString& text) {
    assign(this, m_replyText, text, &NotchModel::replyTextChanged);
}
void NotchModel::setIslandSize(QSize size) {
    assign(this, m_islandSize, size, &NotchModel::islandSizeChanged);
}
void NotchModel::setExpandedEntryID(std::optional<QUuid> id) {
    assign(this, m_expandedEntryID, id, &NotchModel::expandedEntryIDChanged);
}

} // namespace nolvea
