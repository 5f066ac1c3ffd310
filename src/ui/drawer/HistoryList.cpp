#include "ui/drawer/HistoryList.h"

#include "ui/menubar/MenuBarModel.h"

namespace nolvea {

namespace {

QString trimmedBlanks(const QString& text) {
    qsizetype b = 0, e = text.size();
    auto blank = [&](qsizetype i) { return text[i] == u' ' || text[i] == u'\t'; };
    while (b < e && blank(b))
        ++b;
    while (e > b && blank(e - 1))
        --e;
    return text.mid(b, e - b);
}

} // namespace

QList<HistoryEntry> HistoryList::filtered(const QList<HistoryEntry>& entries,
                                          const QString& query) {
    const QString q = trimmedBlanks(query);
    if (q.isEmpty()) return entries;
    QList<HistoryEntry> out;
    for (const HistoryEntry& e : entries)
        if (e.output.contains(q, Qt::CaseInsensitive) ||
            e.transcript.contains(q, Qt::CaseInsensitive) ||
            e.appName.contains(q, Qt::CaseInsensitive))
            out.append(e);
    return out;
}

QString HistoryList::dayTitle(const QDate& day, const QDate& today, const QLocale& locale) {
    if (day == today) return QStringLiteral("Hoje");
    if (day == today.addDays(-1)) return QStringLiteral("Ontem");
    const QString format = day.year() == today.year()
                               ? QStringLiteral("dddd, d 'de' MMMM")
                               : QStringLiteral("dddd, d 'de' MMMM 'de' yyyy");
    return locale.toString(day, format);
}

QList<HistoryList::Group> HistoryList::groups(const QList<HistoryEntry>& entries,
                                              const QDateTime& now, const QTimeZone& zone,
                                              const QLocale& locale) {
    const QDate today = now.toTimeZone(zone).date();
    QList<Group> out;
    for (const HistoryEntry& e : entries) {
        const QDate day = e.date.toTimeZone(zone).date();
        if (!out.isEmpty() && out.last().day == day) {
            out.last().entries.append(e);
            continue;
        }
        out.append({day, dayTitle(day, today, locale), {e}});
    }
    return out;
}

QLocale HistoryList::locale() {
    return QLocale(QLocale::Portuguese, QLocale::Brazil);
}

QString HistoryList::kindLabel(HistoryEntry::Kind kind) {
    switch (kind) {
    case HistoryEntry::Kind::dictation:
        return QStringLiteral("Ditado");
    case HistoryEntry::Kind::edit:
        return QStringLiteral("Edição");
    case HistoryEntry::Kind::agent:
        return QStringLiteral("Agente");
    }
    return {};
}

QString HistoryList::meta(const HistoryEntry& e, const QTimeZone& zone, const QLocale& locale) {
    QStringList parts{kindLabel(e.kind)};
    if (!e.appName.isEmpty()) parts.append(e.appName);
    parts.append(locale.toString(e.date.toTimeZone(zone).time(), QLocale::ShortFormat));
    return parts.join(QStringLiteral(" · "));
}

QString HistoryList::preview(const HistoryEntry& e) {
    return e.kind == HistoryEntry::Kind::dictation ? e.output : e.transcript;
}

bool HistoryList::showsRequest(const HistoryEntry& e) {
    const QString said = e.transcript.trimmed();
    return !said.isEmpty() && said != e.output.trimmed();
}

QString HistoryList::counts(int entries, int words) {
    return QStringLiteral("%1 registros · %2 palavras ditadas").arg(entries).arg(words);
}

HistoryList::EmptyState HistoryList::emptyState(const QString& query, HotkeyChoice key) {
    if (!query.isEmpty())
        return {QStringLiteral("magnifyingglass"), QStringLiteral("Nenhum resultado"),
                QStringLiteral("Tente outra busca.")};
    return {QStringLiteral("waveform.badge.mic"), QStringLiteral("Nada por aqui ainda"),
            QStringLiteral("Segure ") + MenuBarModel::keyName(key) +
                QStringLiteral(" e fale em qualquer app.")};
}

} // namespace nolvea
