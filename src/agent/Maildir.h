#pragma once

#include "agent/EmailSummary.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace nolvea {

// The inbox of a Maildir ($MAILDIR, else ~/Maildir): the messages in its "cur" and "new"
// folders. A message's id is a decimal number made from its unique file name, so it stays
// the same when the file moves from "new" to "cur" or its flags change.
class Maildir {
public:
    struct Entry {
        QString path;
        QString id;
        QDateTime date;  // the Date header, else the file's time
        QString sender;  // decoded From
        QString subject; // decoded Subject
    };

    static QString defaultRoot();

    explicit Maildir(QString root = defaultRoot());

    // Every message's headers, newest first.
    QList<Entry> entries() const;
    std::optional<Entry> find(const QString& id) const;

    // The id of the message file at `path`.
    static QString idFor(const QString& path);
    // The date as shown to the model: "10/12/2026 14:05".
    static QString dateText(const QDateTime& date);

private:
    QString m_root;
};

} // namespace nolvea
