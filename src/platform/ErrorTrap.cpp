#include "ErrorTrap.h"

#include <stdexcept>

namespace velmora {

ErrorTrap::ErrorTrap(MessageBoxes& messages, QString module, QString procedure, QString prefix)
    : messages_(messages), location_(prefix + module + QLatin1Char('.') + procedure) {}

bool ErrorTrap::step(int number, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (...) {
        report(describeException(std::current_exception()), number);
        return false;
    }
}

bool ErrorTrap::test(int number, const std::function<bool()>& condition) {
    try {
        return condition();
    } catch (...) {
        report(describeException(std::current_exception()), number);
        return true;
    }
}

QString ErrorTrap::messageText(const QString& description, int number) const {
    return description + QStringLiteral("\r\nin ") + location_ + QStringLiteral(" at line ") +
           QString::number(number) +
           QStringLiteral("\r\rPlease email screenshot of this message to ") +
           QString::fromLatin1(supportAddress);
}

void ErrorTrap::report(const QString& description, int number) {
    messages_.show(messageText(description, number), MessageBoxes::Buttons::Ok,
                   MessageBoxes::Icon::Exclamation, QStringLiteral("Application Error"));
}

QString describeException(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

} // namespace velmora
