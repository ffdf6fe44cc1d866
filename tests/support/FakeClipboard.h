#pragma once

#include "Clipboard.h"

#include <QString>

namespace velmora::testing {

// A clipboard that another program holds for a while: the first failingClears clears
// and the first failingSets sets fail. Every attempt is counted; the text is kept.
class FakeClipboard : public Clipboard {
public:
    bool clear() override {
        ++clearAttempts;
        if (clearAttempts <= failingClears)
            return false;
        text.clear();
        ++clears;
        return true;
    }

    bool setText(const QString& newText) override {
        ++setAttempts;
        if (setAttempts <= failingSets)
            return false;
        text = newText;
        ++sets;
        return true;
    }

    int failingClears = 0;
    int failingSets = 0;
    int clearAttempts = 0;
    int setAttempts = 0;
    int clears = 0;
    int sets = 0;
    QString text;
};

} // namespace velmora::testing
