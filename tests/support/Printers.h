#pragma once

#include <QByteArray>
#include <QString>

#include <ostream>

// Readable QString and QByteArray values in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QByteArray& b, std::ostream* os) {
    *os << '"' << b.toStdString() << '"';
}
