#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace nolvea {

// The person's contacts: vCard files (*.vcf, one or more cards each) in <data>/contatos.
class ContactStore {
public:
    struct Contact {
        QString givenName;
        QString familyName;
        QStringList phones; // as written in the card
        QStringList emails;

        bool operator==(const Contact&) const = default;
    };

    // <data>/contatos
    static QString defaultRoot();

    explicit ContactStore(QString root = defaultRoot());

    // Access means the folder exists (it is made when missing) and can be read.
    bool hasAccess() const;

    // Every card, sorted by given and family name.
    QList<Contact> all() const;
    // The contacts whose given and family names hold, for every word of `name`, a word that
    // begins with it; case and accents do not count.
    QList<Contact> matching(const QString& name) const;

    // Lower case without accents, for comparing names.
    static QString folded(const QString& text);

private:
    QString m_root;
};

} // namespace nolvea
