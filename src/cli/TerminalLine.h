#pragma once

#include <QIODevice>
#include <QString>

namespace velmora {

// One line of a terminal that each new text replaces in place, so progress never scrolls
// the screen. The line is wiped when it goes, leaving the cursor where the line began for
// whatever is written next.
class TerminalLine {
public:
    explicit TerminalLine(QIODevice& terminal) : terminal_(terminal) {}
    ~TerminalLine();
    TerminalLine(const TerminalLine&) = delete;
    TerminalLine& operator=(const TerminalLine&) = delete;

    void show(const QString& text);

private:
    QIODevice& terminal_;
    bool shown_ = false;
};

} // namespace velmora
