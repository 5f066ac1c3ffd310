#pragma once

#include "ui/notch/NotchGeometry.h"

#include <QObject>
#include <QSize>
#include <QString>
#include <QUuid>

#include <optional>

namespace nolvea {

// What the notch controller shares with the notch views. Setters notify only on a change:
// the pointer writes some fields at every move.
class NotchModel : public QObject {
    Q_OBJECT

public:
    explicit NotchModel(QObject* parent = nullptr);

    const NotchGeometry& geometry() const { return m_geometry; }
    void setGeometry(const NotchGeometry& geometry);
    bool isHovering() const { return m_isHovering; }
    void setHovering(bool hovering);
    const QString& typedText() const { return m_typedText; }
    void setTypedText(const QString& text);
    const QString& replyText() const { return m_replyText; }
    void setReplyText(const QString& text);
    QSize islandSize() const { return m_islandSize; }
    void setIslandSize(QSize size);
    std::optional<QUuid> expandedEntryID() const { return m_expandedEntryID; }
    void setExpandedEntryID(std::optional<QUuid> id);

Q_SIGNALS:
    void geometryChanged();
    void hoveringChanged();
    void typedTextChanged();
    void replyTextChanged();
    void islandSizeChanged();
    void expandedEntryIDChanged();

private:
    NotchGeometry m_geometry;
    bool m_isHovering = false;
    QString m_typedText;
    QString m_replyText;
    QSize m_islandSize{0, 0};
    std::optional<QUuid> m_expandedEntryID;
};

} // namespace nolvea
