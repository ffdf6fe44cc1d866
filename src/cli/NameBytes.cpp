#include "NameBytes.h"

#include "Utf8Text.h"

#include <algorithm>

namespace velmora {

namespace {

constexpr char16_t kFirstCarriedByte = 0xDC00;

bool isCarriedByte(QChar character) {
    return character.unicode() >= kFirstCarriedByte + 0x80 &&
           character.unicode() <= kFirstCarriedByte + 0xFF;
}

QString hexEscape(unsigned char byte) {
    return QStringLiteral("\\x") +
           QString::number(byte, 16).rightJustified(2, QLatin1Char('0')).toUpper();
}

} // namespace

QString argumentFromBytes(QByteArrayView bytes) {
    QString text;
    while (!bytes.isEmpty()) {
        const qsizetype invalid = firstInvalidUtf8(bytes);
        if (invalid < 0)
            return text + decodedUtf8(bytes);
        text += decodedUtf8(bytes.first(invalid));
        text += QChar(kFirstCarriedByte + static_cast<unsigned char>(bytes[invalid]));
        bytes = bytes.sliced(invalid + 1);
    }
    return text;
}

QByteArray bytesOfArgument(const QString& argument) {
    if (!holdsInvalidBytes(argument))
        return argument.toUtf8();
    QByteArray bytes;
    qsizetype start = 0;
    for (qsizetype at = 0; at <= argument.size(); ++at) {
        if (at < argument.size() && !isCarriedByte(argument.at(at)))
            continue;
        bytes += QStringView(argument).sliced(start, at - start).toUtf8();
        if (at < argument.size())
            bytes += static_cast<char>(argument.at(at).unicode() - kFirstCarriedByte);
        start = at + 1;
    }
    return bytes;
}

bool holdsInvalidBytes(const QString& argument) {
    return std::any_of(argument.cbegin(), argument.cend(), isCarriedByte);
}

QString escapedBytes(QByteArrayView bytes) {
    QString name;
    while (!bytes.isEmpty()) {
        const qsizetype invalid = firstInvalidUtf8(bytes);
        const QString valid = decodedUtf8(invalid < 0 ? bytes : bytes.first(invalid));
        for (const QChar character : valid) {
            if (character == QLatin1Char('\\'))
                name += QLatin1String("\\\\");
            else if (character.unicode() < 0x20 || character.unicode() == 0x7F)
                name += hexEscape(static_cast<unsigned char>(character.unicode()));
            else if (character.unicode() >= 0x80 && character.unicode() <= 0x9F)
                for (const char byte : QString(character).toUtf8()) // terminal controls too
                    name += hexEscape(static_cast<unsigned char>(byte));
            else
                name += character;
        }
        if (invalid < 0)
            break;
        name += hexEscape(static_cast<unsigned char>(bytes[invalid]));
        bytes = bytes.sliced(invalid + 1);
    }
    return name;
}

QString escapedName(const QString& argument) {
    return escapedBytes(bytesOfArgument(argument));
}

} // namespace velmora
