#pragma once

#include <QByteArrayView>
#include <QString>

namespace velmora {

// The offset of the first byte that is not part of well-formed UTF-8 (no overlong forms,
// no surrogates, nothing above U+10FFFF), or -1 when there is none.
qsizetype firstInvalidUtf8(QByteArrayView bytes);

// Well-formed UTF-8 as text, every character kept: unlike QString::fromUtf8, a
// byte-order mark at the start stays, since in a name it is a character like any other.
QString decodedUtf8(QByteArrayView bytes);

} // namespace velmora
