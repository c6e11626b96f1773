// Parsing the command line and refusing what cannot be meant.
#include "commands/CommandLine.h"

#include "app/FileNames.h"

#include "fileio/Landing.h"

namespace commands {
namespace {

QString dashed(const QString& name) { return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name; }

}  // namespace

CommandLine::CommandLine(std::vector<HeadlessCommand> commands, QList<QCommandLineOption> general)
    : commands_(std::move(commands)),
      help_({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit.")),
      version_(QStringLiteral("version"), QStringLiteral("Show the version and exit."))
{
    parser_.setApplicationDescription(
        QStringLiteral("Rostelle Software plans a small business's working week.\n"
                       "Without options the program opens its window."));
    // Commands may share an option (--interval): it is declared once.
    const auto declare = [&](const QCommandLineOption& option) {
        const QString first = option.names().constFirst();
        if (names_.contains(first))
            return;
        parser_.addOption(option);
        for (const QString& name : option.names())
            names_.insert(name, first);
        if (!option.valueName().isEmpty())
            valueOptions_ << first;
    };
    declare(help_);
    declare(version_);
    for (const QCommandLineOption& option : general) {
        declare(option);
        general_ << option.names().constFirst();
    }
    for (const HeadlessCommand& command : commands_) {
        declare(command.trigger);
        for (const QCommandLineOption& option : command.options)
            declare(option);
        if (!command.fileArgument.isEmpty())
            parser_.addPositionalArgument(command.fileArgument,
                                          QStringLiteral("With --%1: the file to write (default: standard output).")
                                              .arg(command.trigger.names().constFirst()),
                                          QLatin1Char('[') + command.fileArgument + QLatin1Char(']'));
    }
}

bool CommandLine::parse(const QStringList& arguments)
{
    command_ = nullptr;
    error_.clear();
    if (!parser_.parse(arguments)) {
        error_ = parser_.errorText() + QStringLiteral(" Try \"rostelle --help\".");
        return false;
    }
    if (helpRequested() || versionRequested())
        return true;
    error_ = misuse();
    return error_.isEmpty();
}

bool CommandLine::helpRequested() const { return parser_.isSet(help_); }

bool CommandLine::versionRequested() const { return parser_.isSet(version_); }

QString CommandLine::canonical(const QString& name) const { return names_.value(name, name); }

bool CommandLine::takes(const HeadlessCommand& command, const QString& option) const
{
    if (general_.contains(option) || canonical(command.trigger.names().constFirst()) == option)
        return true;
    for (const QCommandLineOption& taken : command.options)
        if (canonical(taken.names().constFirst()) == option)
            return true;
    return false;
}

bool CommandLine::takesValue(const QString& option) const { return valueOptions_.contains(option); }

QString CommandLine::misuse()
{
    const QStringList positional = parser_.positionalArguments();
    const auto unexpected = [](const QString& argument) {
        return QStringLiteral("Unexpected argument \"%1\": no option takes it. Try \"rostelle --help\".").arg(argument);
    };
    // An argument of its own belongs to a command that takes its file so, when that one is asked.
    bool fileArgumentTaken = false;
    for (const HeadlessCommand& command : commands_)
        fileArgumentTaken = fileArgumentTaken || (!command.fileArgument.isEmpty() && parser_.isSet(command.trigger));
    if (!positional.isEmpty() && !fileArgumentTaken)
        return unexpected(positional.constFirst());

    // The options given, each once, in the order given.
    QStringList given;
    for (const QString& name : parser_.optionNames()) {
        const QString option = canonical(name);
        if (!given.contains(option))
            given << option;
        else if (takesValue(option))
            return QStringLiteral("%1 is given more than once; give it once.").arg(dashed(option));
    }

    std::vector<const HeadlessCommand*> asked;
    for (const QString& option : given)
        for (const HeadlessCommand& command : commands_)
            if (canonical(command.trigger.names().constFirst()) == option)
                asked.push_back(&command);
    for (const HeadlessCommand* candidate : asked) {
        bool takesTheOthers = true;
        for (const HeadlessCommand* other : asked)
            takesTheOthers = takesTheOthers && takes(*candidate, other->trigger.names().constFirst());
        if (takesTheOthers) {
            command_ = candidate;
            break;
        }
    }
    if (!asked.empty() && !command_) {
        const HeadlessCommand* first = asked.front();
        const QString a = first->trigger.names().constFirst();
        for (const HeadlessCommand* other : asked) {
            const QString b = other->trigger.names().constFirst();
            if (other != first && !takes(*first, b))
                return QStringLiteral("%1 and %2 cannot be used together.").arg(dashed(a), dashed(b));
        }
    }

    for (const QString& option : given) {
        const bool taken = command_ ? takes(*command_, option) : general_.contains(option);
        if (!taken)
            return orphanText(option);
    }
    if (!command_)
        return positional.isEmpty() ? QString() : unexpected(positional.constFirst());
    if (!positional.isEmpty() && command_->fileArgument.isEmpty())
        return unexpected(positional.constFirst());
    if (positional.size() > 1)
        return unexpected(positional[1]);
    if (!positional.isEmpty() && positional.constFirst().trimmed().isEmpty())
        return QStringLiteral("%1 needs the path of the file to write, or none for standard output.")
            .arg(dashed(command_->trigger.names().constFirst()));
    if (const QString empty = emptyFileText(*command_); !empty.isEmpty())
        return empty;
    return sameFileText(*command_);
}

QString CommandLine::emptyFileText(const HeadlessCommand& command) const
{
    for (const QString& name : command.writes)
        if (parser_.isSet(name) && parser_.value(name).trimmed().isEmpty())
            return QStringLiteral("%1 needs the path of the file to write.").arg(dashed(canonical(name)));
    return QString();
}

QString CommandLine::orphanText(const QString& option) const
{
    QStringList takers;
    for (const HeadlessCommand& command : commands_)
        if (takes(command, option))
            takers << dashed(command.trigger.names().constFirst());
    QString text = QStringLiteral("%1 works only with %2").arg(dashed(option), takers.join(QStringLiteral(" or ")));
    if (command_)
        text += QStringLiteral(", not with %1").arg(dashed(command_->trigger.names().constFirst()));
    return text + QLatin1Char('.');
}

QString CommandLine::sameFileText(const HeadlessCommand& command) const
{
    QStringList written;
    for (const QString& name : command.writes)
        if (parser_.isSet(name))
            written << canonical(name);
    for (qsizetype i = 0; i < written.size(); ++i)
        for (qsizetype j = 0; j < i; ++j)
            if (fileio::sameFile(app::toSystemBytes(parser_.value(written[j])), app::toSystemBytes(parser_.value(written[i]))))
                return QStringLiteral("%1 and %2 name the same file (\"%3\"); each needs a file of its own.")
                    .arg(dashed(written[j]), dashed(written[i]), parser_.value(written[i]));
    return QString();
}

}  // namespace commands
