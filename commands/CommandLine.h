// The command line. Without a command the program opens its window; an option that names a
// headless command runs that command without a window or a display and ends with its exit code.
// Each command declares the options it takes, and the rules follow from those declarations: an
// option no given command takes is refused, two commands are refused together unless one takes
// the other's option (it then does both in one run), a file a command writes needs a name, two
// files a command writes may not be one file, and arguments that belong to no option are
// refused. Options every run takes, the window's included, are declared once as general options.
// A new command is one more entry in the list main() hands to CommandLine.
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace commands {

struct HeadlessCommand {
    // The option that asks for this command.
    QCommandLineOption trigger;
    // Further options the command takes. Taking another command's trigger means running both
    // from this command's one run.
    QList<QCommandLineOption> options;
    // Runs under a QCoreApplication; returns the exit code (0 for success).
    std::function<int(const QCommandLineParser&)> run;
    // Whether this run paints pictures, which needs the graphics platform (offscreen, no display).
    std::function<bool(const QCommandLineParser&)> paints;
    // Names of the options (the trigger's included) whose values are files the command writes, in
    // the order it writes them: a later file may be reached through a link to an earlier one.
    QStringList writes;
    // Set: the command takes at most one argument of its own, the file it writes (shown in the
    // help as this name); without it the command writes to standard output.
    QString fileArgument;
};

class CommandLine {
public:
    // `general` holds the options that go with the window and with every command alike.
    explicit CommandLine(std::vector<HeadlessCommand> commands, QList<QCommandLineOption> general = {});

    // Parses the arguments (the program name first). False when they cannot be used: an unknown
    // option, a missing value, or a use the rules above refuse; errorText() then says why.
    bool parse(const QStringList& arguments);
    // One line, without a line break.
    QString errorText() const { return error_; }
    bool helpRequested() const;
    bool versionRequested() const;
    QString helpText() const { return parser_.helpText(); }
    // The command the arguments ask for, or nullptr for the window.
    const HeadlessCommand* command() const { return command_; }
    const QCommandLineParser& parser() const { return parser_; }

private:
    // The first rule the parsed arguments break, or an empty text; sets command_.
    QString misuse();
    QString canonical(const QString& name) const;
    bool takes(const HeadlessCommand& command, const QString& option) const;
    bool takesValue(const QString& option) const;
    QString orphanText(const QString& option) const;
    QString emptyFileText(const HeadlessCommand& command) const;
    QString sameFileText(const HeadlessCommand& command) const;

    std::vector<HeadlessCommand> commands_;
    QStringList general_;
    QCommandLineParser parser_;
    QCommandLineOption help_;
    QCommandLineOption version_;
    // Every declared name and the first name of its option.
    QHash<QString, QString> names_;
    QStringList valueOptions_;
    const HeadlessCommand* command_ = nullptr;
    QString error_;
};

}  // namespace commands
