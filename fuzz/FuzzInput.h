#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace velmora::fuzzing {

// Reads a fuzzer's bytes as a few settings followed by texts. Texts are UTF-8 lines by
// default, which keeps the seed files readable; with raw 16-bit units the fuzzer also
// reaches text no UTF-8 decoder produces, such as lone surrogates.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t takeByte() { return position_ < size_ ? data_[position_++] : 0; }

    // The rest of the input as texts split at line feeds, at most `count` of them (the last
    // keeps any further line feeds) and each cut to `longest` units.
    QStringList takeTexts(int count, int longest, bool rawUnits) {
        const QString rest = rawUnits ? restAsUnits() : restAsUtf8();
        position_ = size_;
        QStringList texts;
        qsizetype start = 0;
        while (texts.size() < count - 1) {
            const qsizetype end = rest.indexOf(u'\n', start);
            if (end < 0)
                break;
            texts << rest.mid(start, end - start).left(longest);
            start = end + 1;
        }
        texts << rest.mid(start).left(longest);
        return texts;
    }

private:
    QString restAsUtf8() const {
        return QString::fromUtf8(reinterpret_cast<const char*>(data_ + position_),
                                 static_cast<qsizetype>(size_ - position_));
    }

    QString restAsUnits() const {
        QString text;
        for (std::size_t at = position_; at + 1 < size_; at += 2)
            text.append(QChar(static_cast<char16_t>(data_[at] | (data_[at + 1] << 8))));
        return text;
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

// libFuzzer treats an abort as a finding and keeps the input that caused it.
[[noreturn]] void fail(const char* what, const QStringList& texts);

#define VELMORA_FUZZ_EXPECT(condition, texts)                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::velmora::fuzzing::fail(#condition, texts);                                           \
    } while (false)

} // namespace velmora::fuzzing
