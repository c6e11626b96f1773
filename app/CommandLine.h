// The command line. Without options the program opens its window; an option that names a
// headless command runs that command without a window or a display and ends with its exit code.
// A new command is one more entry in the list main() hands to CommandLine.
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace app {

struct HeadlessCommand {
    // The option that asks for this command.
    QCommandLineOption trigger;
    // Further options the command reads.
    QList<QCommandLineOption> options;
    // Runs under a QCoreApplication; returns the exit code (0 for success).
    std::function<int(const QCommandLineParser&)> run;
    // Whether this run paints pictures, which needs the graphics platform (offscreen, no display).
    std::function<bool(const QCommandLineParser&)> paints;
};

class CommandLine {
public:
    explicit CommandLine(std::vector<HeadlessCommand> commands);

    // Parses the arguments (the program name first). False on an unknown option or a missing value.
    bool parse(const QStringList& arguments);
    QString errorText() const { return parser_.errorText(); }
    bool helpRequested() const;
    QString helpText() const { return parser_.helpText(); }
    // The command the arguments ask for, or nullptr for the window.
    const HeadlessCommand* command() const;
    const QCommandLineParser& parser() const { return parser_; }

private:
    std::vector<HeadlessCommand> commands_;
    QCommandLineParser parser_;
    QCommandLineOption help_;
};

}  // namespace app
