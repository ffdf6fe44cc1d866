#include "FindArguments.h"

#include <optional>

namespace velmora {

namespace {

QString quoted(const QString& text) {
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

class Parser {
public:
    explicit Parser(const QStringList& arguments) : arguments_(arguments) {}

    FindArgumentsParsing run() {
        bool optionsEnded = false;
        for (index_ = 0; index_ < arguments_.size() && result_.ok(); ++index_) {
            const QString& argument = arguments_.at(index_);
            if (!optionsEnded && argument == QLatin1String("--"))
                optionsEnded = true;
            else if (!optionsEnded && argument.startsWith(QLatin1Char('-')) &&
                     argument != QLatin1String("-"))
                option(argument);
            else
                listFile(argument);
        }
        if (result_.ok())
            checkCombinations();
        return result_;
    }

private:
    void checkCombinations() {
        const FindArguments& found = result_.arguments;
        if (found.folders.isEmpty()) {
            if (found.extensionGiven)
                fail(QStringLiteral("--ext only applies to --folder"));
            return;
        }
        if (listFileSeen_)
            fail(QStringLiteral("--folder and a list file cannot be used together"));
        else if (found.style == PathStyle::Windows)
            fail(QStringLiteral("--folder walks this system's folders, so --path-style must "
                                "be native"));
        else if (found.extension.isEmpty())
            fail(QStringLiteral("--ext needs an extension, or * for every file"));
    }

    void option(const QString& argument) {
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? argument : argument.left(equals);
        inlineValue_ = equals < 0 ? std::nullopt : std::optional(argument.mid(equals + 1));
        FindArguments& found = result_.arguments;

        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            if (noValue(name))
                found.help = true;
        } else if (name == QLatin1String("--ignore-extension")) {
            if (noValue(name))
                found.options.Check3 = 1;
        } else if (name == QLatin1String("--before")) {
            if (const auto text = value(name)) {
                found.options.Check1 = 1;
                found.options.Text1 = *text;
            }
        } else if (name == QLatin1String("--after")) {
            if (const auto text = value(name)) {
                found.options.Check2 = 1;
                found.options.Text2 = *text;
            }
        } else if (name == QLatin1String("--folder")) {
            if (const auto text = value(name))
                found.folders.append(*text);
        } else if (name == QLatin1String("--ext")) {
            if (const auto text = value(name)) {
                found.extension = *text;
                found.extensionGiven = true;
            }
        } else if (name == QLatin1String("--list-only")) {
            if (noValue(name))
                found.listOnly = true;
        } else if (name == QLatin1String("--path-style")) {
            if (const auto text = value(name))
                pathStyle(*text);
        } else if (name == QLatin1String("--jobs")) {
            if (const auto text = value(name))
                jobs(*text);
        } else if (name == QLatin1String("--format")) {
            if (const auto text = value(name))
                format(*text);
        } else {
            fail(QStringLiteral("unknown option ") + quoted(argument));
        }
    }

    bool noValue(const QString& name) {
        if (!inlineValue_)
            return true;
        fail(name + QStringLiteral(" takes no value"));
        return false;
    }

    // The value may be empty and may start with "-": the next argument is taken as it is.
    std::optional<QString> value(const QString& name) {
        if (inlineValue_)
            return inlineValue_;
        if (index_ + 1 < arguments_.size())
            return arguments_.at(++index_);
        fail(QStringLiteral("missing value after ") + name);
        return std::nullopt;
    }

    void pathStyle(const QString& text) {
        if (text == QLatin1String("native"))
            result_.arguments.style = PathStyle::Posix;
        else if (text == QLatin1String("windows"))
            result_.arguments.style = PathStyle::Windows;
        else
            fail(QStringLiteral("--path-style must be native or windows, not ") + quoted(text));
    }

    void jobs(const QString& text) {
        bool number = false;
        const int count = text.toInt(&number);
        if (number && count >= 1 && count <= kMaximumJobs && !text.startsWith(QLatin1Char('+')))
            result_.arguments.jobs = count;
        else
            fail(
                QStringLiteral("--jobs needs a whole number from 1 to %1, not ").arg(kMaximumJobs) +
                quoted(text));
    }

    void format(const QString& text) {
        if (text == QLatin1String("rows"))
            result_.arguments.format = OutputFormat::Rows;
        else if (text == QLatin1String("text"))
            result_.arguments.format = OutputFormat::Text;
        else if (text == QLatin1String("clipboard"))
            result_.arguments.format = OutputFormat::Clipboard;
        else
            fail(QStringLiteral("--format must be rows, text or clipboard, not ") + quoted(text));
    }

    void listFile(const QString& argument) {
        if (listFileSeen_) {
            fail(QStringLiteral("only one list file can be read, got ") +
                 quoted(result_.arguments.listFile) + QStringLiteral(" and ") + quoted(argument));
            return;
        }
        listFileSeen_ = true;
        result_.arguments.listFile = argument;
    }

    void fail(const QString& message) {
        if (result_.ok())
            result_.error = message;
    }

    const QStringList& arguments_;
    qsizetype index_ = 0;
    std::optional<QString> inlineValue_;
    bool listFileSeen_ = false;
    FindArgumentsParsing result_;
};

} // namespace

FindArgumentsParsing parseFindArguments(const QStringList& arguments) {
    return Parser(arguments).run();
}

} // namespace velmora
