#pragma once

#include <QString>
#include <QStringList>

#include <ostream>

// Lets test failures show texts as text rather than as bytes. Found by argument-dependent
// lookup, so it lives beside QString in the global namespace.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '{';
    for (qsizetype index = 0; index < texts.size(); ++index)
        *out << (index ? ", " : "") << '"' << texts.at(index).toStdString() << '"';
    *out << '}';
}
