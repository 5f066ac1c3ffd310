#pragma once

#include "core/EmailSummary.h"

#include <QDateTime>
#include <QFileInfo>
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
        QDateTime date;        // the Date header, else the file's time
        QString sender;        // decoded From
        QString subject;       // decoded Subject
        QByteArray messageID;  // as written, for a reply's reference
        QByteArray references; // as written
    };

    // How many of the newest files (by time, then name) a listing looks at.
    static constexpr int kConsidered = 500;

    static QString defaultRoot();

    explicit Maildir(QString root = defaultRoot());

    // The headers of the newest `kConsidered` messages, newest first by their Date.
    QList<Entry> entries() const;
    // Any message of the inbox, however old; only its own headers are read.
    std::optional<Entry> find(const QString& id) const;

    // The id of the message file at `path`.
    static QString idFor(const QString& path);
    // The date as shown to the model: "10/12/2026 14:05".
    static QString dateText(const QDateTime& date);

private:
    // The message files of "cur" and "new", in no order.
    QList<QFileInfo> files() const;
    // The newest `count` of them by file time, then by name.
    QList<QFileInfo> newestFiles(qsizetype count) const;

    QString m_root;
};

} // namespace nolvea
