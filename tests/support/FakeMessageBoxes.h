#pragma once

#include "MessageBoxes.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

namespace velmora::testing {

// Stands in for the modal message boxes and prompt: answers are queued before the
// action, and every box shown is recorded. A box with no queued answer gets the first
// button (OK or Yes); a prompt with no queued answer is cancelled.
class FakeMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        QString text;
        Buttons buttons;
        Icon icon;
        QString title;
    };
    struct Prompted {
        QString text;
        QString defaultAnswer;
        QString title;
    };

    Answer show(const QString& text, Buttons buttons, Icon icon, const QString& title) override {
        shown.push_back({text, buttons, icon, title});
        if (!answers.empty()) {
            Answer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }

    QString prompt(const QString& text, const QString& defaultAnswer,
                   const QString& title) override {
        prompted.push_back({text, defaultAnswer, title});
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

    std::deque<Answer> answers;
    std::deque<QString> promptAnswers;
    std::vector<Shown> shown;
    std::vector<Prompted> prompted;
};

} // namespace velmora::testing
