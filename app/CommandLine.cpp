// Parsing the command line.
#include "app/CommandLine.h"

namespace app {

CommandLine::CommandLine(std::vector<HeadlessCommand> commands)
    : commands_(std::move(commands)), help_({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit."))
{
    parser_.setApplicationDescription(
        QStringLiteral("Rostelle Software plans a small business's working week.\n"
                       "Without options the program opens its window."));
    parser_.addOption(help_);
    // Commands may share an option (--interval): it is declared once.
    QStringList declared = help_.names();
    const auto declare = [&](const QCommandLineOption& option) {
        for (const QString& name : option.names())
            if (declared.contains(name))
                return;
        parser_.addOption(option);
        declared += option.names();
    };
    for (const HeadlessCommand& command : commands_) {
        declare(command.trigger);
        for (const QCommandLineOption& option : command.options)
            declare(option);
    }
}

bool CommandLine::parse(const QStringList& arguments) { return parser_.parse(arguments); }

bool CommandLine::helpRequested() const { return parser_.isSet(help_); }

const HeadlessCommand* CommandLine::command() const
{
    for (const HeadlessCommand& command : commands_)
        if (parser_.isSet(command.trigger))
            return &command;
    return nullptr;
}

}  // namespace app
