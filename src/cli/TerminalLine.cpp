#include "TerminalLine.h"

namespace velmora {

namespace {

// Back to the line's start, then clear to its end: a shorter text leaves nothing behind.
constexpr char kRewind[] = "\r\x1b[K";

} // namespace

TerminalLine::~TerminalLine() {
    if (shown_)
        terminal_.write(kRewind);
}

void TerminalLine::show(const QString& text) {
    shown_ = true;
    terminal_.write(kRewind + text.toUtf8());
}

} // namespace velmora
