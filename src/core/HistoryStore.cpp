#include "core/HistoryStore.h"

#include "core/AppPaths.h"
#include "support/AtomicFile.h"

#include <QDebug>
#include <QFile>

namespace nolvea {

namespace {

int countWords(const QString& text) {
    int words = 0;
    bool inWord = false;
    for (const QChar c : text) {
        const bool space = c.isSpace();
        if (!space && !inWord) ++words;
        inWord = !space;
    }
    return words;
}

} // namespace

HistoryStore::HistoryStore(QString path, QObject* parent)
    : QObject(parent)
    , m_path(std::move(path))
    , m_writer(std::make_unique<SerialQueue>(QStringLiteral("Falantorix.History"))) {
    load();
}

HistoryStore::~HistoryStore() = default;

HistoryStore& HistoryStore::shared() {
    // A static, not a leak: its destruction at exit lets the writer finish the last save.
    static HistoryStore store(AppPaths::file(QStringLiteral("history.json")));
    return store;
}

void HistoryStore::load() {
    QFile f(m_path);
    if (!f.exists()) return;
    if (!f.open(QIODevice::ReadOnly)) {
        m_unreadableFile = true;
        return;
    }
    const auto json = JSONValue::parse(f.readAll());
    if (!json || !json->isArray()) {
        m_unreadableFile = true;
        return;
    }
    QList<HistoryEntry> entries;
    for (const auto& item : json->asArray()) {
        auto entry = HistoryEntry::fromJSON(item);
        if (!entry) {
            m_unreadableFile = true;
            return;
        }
        entries.append(std::move(*entry));
    }
    m_entries = std::move(entries);
}

void HistoryStore::setEntries(QList<HistoryEntry> entries) {
    if (entries == m_entries) return;
    m_entries = std::move(entries);
    Q_EMIT entriesChanged();
}

void HistoryStore::add(const HistoryEntry& entry) {
    QList<HistoryEntry> next = m_entries;
    next.prepend(entry);
    if (next.size() > kCapacity) next.resize(kCapacity);
    setEntries(std::move(next));
    save();
}

void HistoryStore::remove(const HistoryEntry& entry) {
    QList<HistoryEntry> next = m_entries;
    next.removeIf([&](const HistoryEntry& e) { return e.id == entry.id; });
    setEntries(std::move(next));
    save();
}

void HistoryStore::clear() {
    setEntries({});
    save();
}

int HistoryStore::totalWords() const {
    int total = 0;
    for (const auto& e : m_entries)
        total += countWords(e.transcript);
    return total;
}

void HistoryStore::save() {
    {
        std::lock_guard lock(m_pending->mutex);
        const bool queued = m_pending->snapshot.has_value();
        m_pending->snapshot = m_entries;
        if (m_unreadableFile) {
            m_pending->unreadableFile = true;
            m_unreadableFile = false;
        }
        if (queued) return; // the writer has not taken the previous one yet: it takes this one
    }
    m_writer->async([pending = m_pending, path = m_path] {
        QList<HistoryEntry> entries;
        bool moveAside = false;
        {
            std::lock_guard lock(pending->mutex);
            if (!pending->snapshot) return;
            entries = std::move(*pending->snapshot);
            pending->snapshot.reset();
            moveAside = std::exchange(pending->unreadableFile, false);
        }
        // A history we could not read is kept beside the new one, never overwritten.
        if (moveAside && QFile::exists(path) && !QFile::rename(path, AppPaths::asideName(path))) {
            std::lock_guard lock(pending->mutex);
            pending->unreadableFile = true;
            return;
        }
        JSONValue::Array array;
        array.reserve(entries.size());
        for (const auto& e : entries)
            array.push_back(e.toJSON());
        if (const auto failed = AtomicFile::write(path, JSONValue(std::move(array)).prettyBytes(),
                                                  AtomicFile::Access::Private))
            qWarning().noquote() << failed->message() << failed->reason();
    });
}

void HistoryStore::flush() {
    m_writer->drain();
}

} // namespace nolvea
