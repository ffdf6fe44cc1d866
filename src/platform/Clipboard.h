#pragma once

#include <QString>

namespace velmora {

// One attempt each; either may fail while another program holds the clipboard.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual bool clear() = 0;
    virtual bool setText(const QString& text) = 0;
};

} // namespace velmora
