#pragma once

#include <QString>
#include <QStringList>

#include <ostream>

// Readable Qt strings in test failures.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '{';
    for (const QString& text : list) {
        *os << '"' << text.toStdString() << "\" ";
    }
    *os << '}';
}
