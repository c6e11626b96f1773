// Copying a day without a window.
#include "commands/CopyDayCommand.h"

#include "commands/CommandStore.h"

#include "app/DayCopyMessage.h"
#include "app/Trap.h"

#include "store/Connection.h"
#include "store/RosterRules.h"

#include <algorithm>

namespace commands {

int runCopyDay(store::Weekday from, const std::vector<store::Weekday>& to)
{
    if (const QString failure = openCommandStore(store::Access::ReadWrite); !failure.isEmpty()) {
        sayLines(stderr, failure);
        return 1;
    }
    int exitCode = 0;
    try {
        sayLines(stdout, app::dayCopyMessage(store::copyDay(store::shared(), from, to)));
    } catch (...) {
        sayLines(stderr, app::currentFailureDescription());
        exitCode = 1;
    }
    store::shared().close();
    return exitCode;
}

HeadlessCommand copyDayCommand()
{
    const QCommandLineOption trigger(QStringLiteral("copy-day"),
                                     QStringLiteral("Copy every shift of this weekday to the days --to names, a shift "
                                                    "that would overlap one already there skipped, without a window."),
                                     QStringLiteral("day"));
    const QCommandLineOption to(QStringLiteral("to"),
                                QStringLiteral("With --copy-day: the weekdays to copy to, separated by commas."),
                                QStringLiteral("days"));
    HeadlessCommand command{trigger, {to}, {}, {}};
    command.run = [=](const QCommandLineParser& parser) {
        const std::optional<store::Weekday> from = app::weekdayFromName(parser.value(trigger));
        if (!from) {
            sayLines(stderr, QStringLiteral("Unknown weekday \"%1\": use Monday to Sunday.").arg(parser.value(trigger)));
            return 2;
        }
        if (!parser.isSet(to)) {
            sayLines(stderr, QStringLiteral("--copy-day needs --to with the weekdays to copy to."));
            return 2;
        }
        std::vector<store::Weekday> days;
        for (const QString& name : parser.value(to).split(QLatin1Char(','))) {
            const std::optional<store::Weekday> day = app::weekdayFromName(name);
            if (!day) {
                sayLines(stderr, QStringLiteral("Unknown weekday \"%1\" in --to: use Monday to Sunday.").arg(name));
                return 2;
            }
            if (*day == *from) {
                sayLines(stderr, QStringLiteral("--to names %1, the day copied from.").arg(store::weekdayCaption(*day)));
                return 2;
            }
            if (std::find(days.begin(), days.end(), *day) == days.end())
                days.push_back(*day);
        }
        return runCopyDay(*from, days);
    };
    return command;
}

}  // namespace commands
