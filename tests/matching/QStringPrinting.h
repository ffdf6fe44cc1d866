#pragma once

#include <QString>

#include <ostream>

// Lets a failed comparison show the text rather than a dump of 16-bit units.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
