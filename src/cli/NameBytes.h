#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace velmora {

// Command-line arguments are bytes, and a name given there need not be valid UTF-8.
// Such bytes are carried as the lone low surrogates U+DC80..U+DCFF, which no valid UTF-8
// decodes to, so the exact bytes can be had back to open a file by its name.
QString argumentFromBytes(QByteArrayView bytes);
QByteArray bytesOfArgument(const QString& argument);
bool holdsInvalidBytes(const QString& argument);

// A name for a message or a listing, on one line and unambiguous: bytes that are not
// valid UTF-8 and control characters as \xNN, a backslash doubled.
QString escapedBytes(QByteArrayView bytes);
QString escapedName(const QString& argument);

} // namespace velmora
