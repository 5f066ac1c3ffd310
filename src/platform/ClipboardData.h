#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace nolvea {

// The contents of the clipboard: every format (a MIME type or the name of a host target) with
// its bytes, in the order the owner offers them.
class ClipboardData {
public:
    struct Format {
        QString type;
        QByteArray data;
        friend bool operator==(const Format&, const Format&) = default;
    };

    bool isEmpty() const { return m_formats.isEmpty(); }
    const QList<Format>& formats() const { return m_formats; }
    QStringList types() const;
    bool contains(const QString& type) const;
    QByteArray value(const QString& type) const;

    // Sets `type` to `data`, in place when already present, else at the end.
    void set(const QString& type, const QByteArray& data);

    friend bool operator==(const ClipboardData&, const ClipboardData&) = default;

private:
    QList<Format> m_formats;
};

} // namespace nolvea
