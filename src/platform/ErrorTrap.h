#pragma once

#include "MessageBoxes.h"

#include <QString>

#include <exception>
#include <functional>

namespace velmora {

// Runs a handler's numbered steps the way every command of the program is guarded: a
// step that throws is reported in the "Application Error" message, naming the place and
// the step, and the handler then goes on with its next step, so clean-up at its end
// (restoring the pointer, say) still happens.
class ErrorTrap {
public:
    static constexpr const char* supportAddress = "support@velmora.example";
    static constexpr const char* standardPrefix = "Kestrune2021/08/31.";
    static constexpr const char* folderWalkPrefix = "OrvekTitle2021/08/31.";

    ErrorTrap(MessageBoxes& messages, QString module, QString procedure,
              QString prefix = QString::fromLatin1(standardPrefix));

    // Runs one step; false when it threw (and the failure was reported).
    bool step(int number, const std::function<void()>& action);

    // Runs a step that tests a condition. A test that throws counts as true: execution
    // goes on with the first step the condition guards.
    bool test(int number, const std::function<bool()>& condition);

    // The exact text of the message for a failure in step `number`.
    QString messageText(const QString& description, int number) const;

    void report(const QString& description, int number);

private:
    MessageBoxes& messages_;
    QString location_;
};

// Turns any exception into the description the message shows.
QString describeException(std::exception_ptr failure);

} // namespace velmora
