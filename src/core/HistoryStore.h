#pragma once

#include "core/HistoryEntry.h"
#include "support/SerialQueue.h"

#include <QList>
#include <QObject>

#include <memory>
#include <mutex>
#include <optional>

namespace nolvea {

// The finished interactions, newest first, at most 300, kept in `history.json`. Loaded once;
// every change rewrites the whole file off the main thread, and the file always ends up
// holding the newest list.
class HistoryStore : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<nolvea::HistoryEntry> entries READ entries NOTIFY entriesChanged)

public:
    static constexpr int kCapacity = 300;

    explicit HistoryStore(QString path, QObject* parent = nullptr);
    ~HistoryStore() override;

    static HistoryStore& shared();

    const QList<HistoryEntry>& entries() const { return m_entries; }
    void add(const HistoryEntry& entry);
    void remove(const HistoryEntry& entry);
    void clear();
    int totalWords() const;

    QString path() const { return m_path; }
    // Waits until the newest list is on disk.
    void flush();

Q_SIGNALS:
    void entriesChanged();

private:
    void load();
    void setEntries(QList<HistoryEntry> entries);
    void save();

    QString m_path;
    QList<HistoryEntry> m_entries;
    bool m_unreadableFile = false;

    // The writer takes the newest pending snapshot; older ones are skipped.
    struct Pending {
        std::mutex mutex;
        std::optional<QList<HistoryEntry>> snapshot;
        bool unreadableFile = false;
    };
    std::shared_ptr<Pending> m_pending = std::make_shared<Pending>();
    std::unique_ptr<SerialQueue> m_writer;
};

} // namespace nolvea
