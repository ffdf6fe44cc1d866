#pragma once

#include <QString>

namespace velmora {

// Modal message boxes and the one-line text prompt. An empty title means the
// application title.
class MessageBoxes {
public:
    enum class Buttons { Ok, YesNo };
    enum class Icon { None, Exclamation };
    enum class Answer { Ok, Yes, No };

    virtual ~MessageBoxes() = default;
    virtual Answer show(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                        const QString& title = {}) = 0;
    // The typed text, or the empty string on Cancel.
    virtual QString prompt(const QString& text, const QString& defaultAnswer,
                           const QString& title = {}) = 0;
};

} // namespace velmora
