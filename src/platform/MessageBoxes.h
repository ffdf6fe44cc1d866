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

    // Kept here rather than as the toolkit's application display name, which the window
    // system would append to the title of every window.
    void setApplicationTitle(const QString& title) { applicationTitle_ = title; }
    const QString& applicationTitle() const { return applicationTitle_; }
    // The title a box or prompt carries: its own, or else the application title.
    QString titleFor(const QString& title) const {
        return title.isEmpty() ? applicationTitle_ : title;
    }

private:
    QString applicationTitle_;
};

} // namespace velmora
