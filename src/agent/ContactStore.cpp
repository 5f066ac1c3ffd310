#include "agent/ContactStore.h"

#include "agent/ICalendar.h"
#include "core/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

namespace nolvea {

namespace {

// Splits at ";" not preceded by a backslash, unescaping each piece.
QStringList structured(const QString& value) {
    QStringList pieces;
    QString current;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            current += value[i];
            current += value[++i];
        } else if (value[i] == u';') {
            pieces.append(ICalendar::unescape(current));
            current.clear();
        } else {
            current += value[i];
        }
    }
    pieces.append(ICalendar::unescape(current));
    return pieces;
}

// Old cards (vCard 2.1) may carry quoted-printable text in another charset.
QString decoded(const ICalendar::Property& p) {
    if (p.params.value(QStringLiteral("ENCODING")).toUpper() != QLatin1String("QUOTED-PRINTABLE"))
        return p.value;
    QByteArray bytes;
    const QByteArray raw = p.value.toLatin1();
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == '=' && i + 2 < raw.size()) {
            bool ok = false;
            const int byte = raw.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                bytes += char(byte);
                i += 2;
                continue;
            }
        }
        bytes += raw[i];
    }
    const QString charset = p.params.value(QStringLiteral("CHARSET"), QStringLiteral("UTF-8"));
    QStringDecoder decoder(charset.toLatin1().constData());
    if (!decoder.isValid()) decoder = QStringDecoder(QStringDecoder::Latin1);
    return decoder.decode(bytes);
}

ContactStore::Contact contactFrom(const ICalendar::Component& card) {
    ContactStore::Contact c;
    QString formatted;
    bool hasName = false;
    for (const auto& raw : card.properties) {
        ICalendar::Property p = raw;
        p.name = p.name.section(u'.', -1); // "item1.EMAIL"
        const QString value = decoded(p);
        if (p.name == QLatin1String("N")) {
            const QStringList parts = structured(value);
            c.familyName = parts.value(0).trimmed();
            c.givenName = parts.value(1).trimmed();
            hasName = !c.familyName.isEmpty() || !c.givenName.isEmpty();
        } else if (p.name == QLatin1String("FN")) {
            formatted = ICalendar::unescape(value).trimmed();
        } else if (p.name == QLatin1String("TEL")) {
            QString tel = ICalendar::unescape(value).trimmed();
            if (tel.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive)) tel = tel.mid(4);
            if (!tel.isEmpty()) c.phones.append(tel);
        } else if (p.name == QLatin1String("EMAIL")) {
            QString mail = ICalendar::unescape(value).trimmed();
            if (mail.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive)) mail = mail.mid(7);
            if (!mail.isEmpty()) c.emails.append(mail);
        }
    }
    if (!hasName) c.givenName = formatted; // a card with only a formatted name
    return c;
}

QStringList words(const QString& text) {
    return ContactStore::folded(text).split(QRegularExpression(QStringLiteral("[\\s,.;]+")),
                                            Qt::SkipEmptyParts);
}

} // namespace

QString ContactStore::defaultRoot() {
    return AppPaths::file(QStringLiteral("contatos"));
}

ContactStore::ContactStore(QString root)
    : m_root(std::move(root)) {}

bool ContactStore::hasAccess() const {
    if (!QDir().mkpath(m_root)) return false;
    const QFileInfo info(m_root);
    return info.isDir() && info.isReadable();
}

QString ContactStore::folded(const QString& text) {
    QString out;
    for (QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing) out += c;
    return out.toCaseFolded();
}

QList<ContactStore::Contact> ContactStore::all() const {
    QList<std::pair<QString, Contact>> found;
    const auto files =
        QDir(m_root).entryInfoList({QStringLiteral("*.vcf"), QStringLiteral("*.vcard")},
                                   QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo& file : files) {
        QFile f(file.filePath());
        if (!f.open(QIODevice::ReadOnly)) continue;
        for (const auto& card : ICalendar::parse(f.readAll())) {
            if (card.name != QLatin1String("VCARD")) continue;
            Contact c = contactFrom(card);
            found.append({folded(c.givenName + u' ' + c.familyName), c});
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<Contact> out;
    for (auto& f : found)
        out.append(std::move(f.second));
    return out;
}

QList<ContactStore::Contact> ContactStore::matching(const QString& name) const {
    const QStringList wanted = words(name);
    if (wanted.isEmpty()) return {};
    QList<Contact> out;
    for (const Contact& c : all()) {
        const QStringList have = words(c.givenName + u' ' + c.familyName);
        const bool every = std::all_of(wanted.begin(), wanted.end(), [&](const QString& w) {
            return std::any_of(have.begin(), have.end(),
                               [&](const QString& h) { return h.startsWith(w); });
        });
        if (every) out.append(c);
    }
    return out;
}

} // namespace nolvea
