#pragma once

#include <QString>

namespace velmora {

// The five option values of the main window, taken once at the start of a run.
// A check value counts as on only when it is exactly 1 (0 is off, 2 is greyed and off).
struct SearchOptions {
    int Check1 = 0;
    QString Text1 = QStringLiteral("a");
    int Check2 = 0;
    QString Text2 = QStringLiteral("b");
    int Check3 = 0;

    bool beforeOn() const { return Check1 == 1; }
    bool afterOn() const { return Check2 == 1; }
    bool ignoreExtensionOn() const { return Check3 == 1; }
    // Option mode is chosen by the check boxes alone: Check1 with an empty Text1 still counts.
    bool optionMode() const { return beforeOn() || afterOn() || ignoreExtensionOn(); }
};

} // namespace velmora
