#pragma once

#include "DialogParent.h"
#include "MessageBoxes.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace velmora::testing {

// Stands in for the modal message boxes and prompt: answers are queued before the
// action, and every box shown is recorded. A box with no queued answer gets the first
// button (OK or Yes); a prompt with no queued answer is cancelled. Each record keeps the
// title the real box would carry and the window it would open over.
class FakeMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        QString text;
        Buttons buttons;
        Icon icon;
        QString title;
        QString windowTitle;
        QWidget* parent;
    };
    struct Prompted {
        QString text;
        QString defaultAnswer;
        QString title;
        QString windowTitle;
        QWidget* parent;
    };

    Answer show(const QString& text, Buttons buttons, Icon icon, const QString& title) override {
        shown.push_back({text, buttons, icon, title, titleFor(title), dialogParent()});
        if (whileShown)
            whileShown();
        if (!answers.empty()) {
            Answer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }

    QString prompt(const QString& text, const QString& defaultAnswer,
                   const QString& title) override {
        prompted.push_back({text, defaultAnswer, title, titleFor(title), dialogParent()});
        if (promptAnswers.empty())
            return {};
        QString answer = promptAnswers.front();
        promptAnswers.pop_front();
        return answer;
    }

    QStringList texts() const {
        QStringList result;
        for (const Shown& box : shown)
            result << box.text;
        return result;
    }

    // Runs while a box is open, to look at what the windows show behind it.
    std::function<void()> whileShown;
    std::deque<Answer> answers;
    std::deque<QString> promptAnswers;
    std::vector<Shown> shown;
    std::vector<Prompted> prompted;
};

} // namespace velmora::testing
