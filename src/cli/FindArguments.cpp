#include "FindArguments.h"

#include "NameBytes.h"

#include <QCommandLineParser>

#include <optional>

namespace velmora {

namespace {

// On one line whatever it holds: a message is one line.
QString quoted(const QString& text) {
    return QLatin1Char('\'') + escapedName(text) + QLatin1Char('\'');
}

// The option as the user typed it: the parser keeps only its name. A one-letter name
// may have come as "-x", inside "-hx", or as "--x".
QString typedOption(const QString& name, const QStringList& arguments) {
    const QString longForm = QStringLiteral("--") + name;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--"))
            break;
        if (argument == longForm || argument.startsWith(longForm + QLatin1Char('=')))
            return argument;
        if (name.size() == 1 && argument.size() > 1 && argument.startsWith(QLatin1Char('-')) &&
            !argument.startsWith(QLatin1String("--")) && argument.contains(name))
            return argument;
    }
    return longForm;
}

// The parser's own messages name the option between quotes; ours name it bare.
QString quotedPart(const QString& message) {
    const qsizetype open = message.indexOf(QLatin1Char('\''));
    const qsizetype close = message.indexOf(QLatin1Char('\''), open + 1);
    return open < 0 || close < 0 ? message : message.mid(open + 1, close - open - 1);
}

class Reader {
public:
    explicit Reader(const QStringList& arguments) : arguments_(arguments) {
        parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
        parser_.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
        parser_.addOptions({
            {{QStringLiteral("h"), QStringLiteral("help")}, {}},
            {QStringLiteral("ignore-extension"), {}},
            {QStringLiteral("before"), {}, QStringLiteral("TEXT")},
            {QStringLiteral("after"), {}, QStringLiteral("TEXT")},
            {QStringLiteral("folder"), {}, QStringLiteral("DIR")},
            {QStringLiteral("ext"), {}, QStringLiteral("EXT")},
            {QStringLiteral("list-only"), {}},
            {QStringLiteral("content"), {}},
            {QStringLiteral("verbose"), {}},
            {{QStringLiteral("0"), QStringLiteral("null")}, {}},
            {QStringLiteral("version"), {}},
            {QStringLiteral("path-style"), {}, QStringLiteral("STYLE")},
            {QStringLiteral("jobs"), {}, QStringLiteral("N")},
            {QStringLiteral("format"), {}, QStringLiteral("FORMAT")},
        });
    }

    FindArgumentsParsing run() {
        // The parser expects the program's name first.
        const bool parsed = parser_.parse(QStringList{QStringLiteral("velmora-find")} + arguments_);
        if (!parser_.unknownOptionNames().isEmpty())
            fail(QStringLiteral("unknown option ") +
                 quoted(typedOption(parser_.unknownOptionNames().first(), arguments_)));
        else if (!parsed)
            syntaxError(parser_.errorText());
        if (!result_.ok())
            return result_;

        FindArguments& found = result_.arguments;
        found.help = parser_.isSet(QStringLiteral("help"));
        if (parser_.isSet(QStringLiteral("ignore-extension")))
            found.options.Check3 = 1;
        if (const auto text = last(QStringLiteral("before"))) {
            found.options.Check1 = 1;
            found.options.Text1 = *text;
        }
        if (const auto text = last(QStringLiteral("after"))) {
            found.options.Check2 = 1;
            found.options.Text2 = *text;
        }
        found.folders = parser_.values(QStringLiteral("folder"));
        if (const auto text = last(QStringLiteral("ext"))) {
            // ".txt" and "*.txt" are how many write an extension; the patterns "*..txt" and
            // "*.*.txt" would find only names with a second dot.
            QString extension = *text;
            if (extension.startsWith(QLatin1String("*.")))
                extension.remove(0, 1);
            found.extension = extension.startsWith(QLatin1Char('.')) ? extension.mid(1) : extension;
            found.extensionGiven = true;
        }
        found.listOnly = parser_.isSet(QStringLiteral("list-only"));
        found.verbose = parser_.isSet(QStringLiteral("verbose"));
        found.content = parser_.isSet(QStringLiteral("content"));
        found.nulSeparated = parser_.isSet(QStringLiteral("null"));
        found.version = parser_.isSet(QStringLiteral("version"));
        if (const auto text = last(QStringLiteral("path-style")))
            pathStyle(*text);
        if (const auto text = last(QStringLiteral("jobs")))
            jobs(*text);
        if (const auto text = last(QStringLiteral("format"))) {
            format(*text);
            found.formatGiven = true;
        }
        listFile(parser_.positionalArguments());
        if (result_.ok())
            checkCombinations();
        return result_;
    }

private:
    // The last of a repeated option wins. Only a name may hold bytes that are not UTF-8:
    // a text to compare names with must be text.
    std::optional<QString> last(const QString& name) {
        const QStringList values = parser_.values(name);
        if (values.isEmpty())
            return std::nullopt;
        if (holdsInvalidBytes(values.last()))
            fail(QStringLiteral("--%1 needs UTF-8 text, not %2").arg(name, quoted(values.last())));
        return values.last();
    }

    // A value that is missing or one given to an option that takes none; the parser
    // stops at the first.
    void syntaxError(const QString& message) {
        const QString option = quotedPart(message);
        if (message.startsWith(QLatin1String("Missing value")))
            fail(QStringLiteral("missing value after ") + option);
        else if (message.startsWith(QLatin1String("Unexpected value")))
            fail(option + QStringLiteral(" takes no value"));
        else
            fail(message);
    }

    void checkCombinations() {
        const FindArguments& found = result_.arguments;
        if (found.listOnly && found.formatGiven) {
            fail(QStringLiteral("--list-only prints only paths, so --format cannot be used "
                                "with it"));
            return;
        }
        // The formats of the window's text file and clipboard stay as they are; only the
        // formats with named fields have room for one more.
        if (found.content && found.format != OutputFormat::Json &&
            found.format != OutputFormat::Csv) {
            fail(QStringLiteral("--content needs --format json or csv"));
            return;
        }
        if (found.content && found.style == PathStyle::Windows) {
            fail(QStringLiteral("--content reads this system's files, so --path-style must be "
                                "native"));
            return;
        }
        if (found.folders.isEmpty()) {
            if (found.extensionGiven)
                fail(QStringLiteral("--ext only applies to --folder"));
            return;
        }
        if (!parser_.positionalArguments().isEmpty())
            fail(QStringLiteral("--folder and a list file cannot be used together"));
        else if (found.style == PathStyle::Windows)
            fail(QStringLiteral("--folder walks this system's folders, so --path-style must "
                                "be native"));
        else if (found.extension.isEmpty())
            fail(QStringLiteral("--ext needs an extension, or * for every file"));
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
        else if (text == QLatin1String("json"))
            result_.arguments.format = OutputFormat::Json;
        else if (text == QLatin1String("csv"))
            result_.arguments.format = OutputFormat::Csv;
        else
            fail(QStringLiteral("--format must be rows, text, clipboard, json or csv, not ") +
                 quoted(text));
    }

    void listFile(const QStringList& positional) {
        if (positional.size() > 1)
            fail(QStringLiteral("only one list file can be read, got ") + quoted(positional.at(0)) +
                 QStringLiteral(" and ") + quoted(positional.at(1)));
        else if (!positional.isEmpty())
            result_.arguments.listFile = positional.first();
    }

    void fail(const QString& message) {
        if (result_.ok())
            result_.error = message;
    }

    const QStringList& arguments_;
    QCommandLineParser parser_;
    FindArgumentsParsing result_;
};

} // namespace

FindArgumentsParsing parseFindArguments(const QStringList& arguments) {
    return Reader(arguments).run();
}

} // namespace velmora
