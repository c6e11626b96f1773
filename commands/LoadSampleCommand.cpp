// The sample load from the command line.
#include "commands/LoadSampleCommand.h"

#include "commands/HeadlessSampleView.h"

#include "app/DataSetup.h"
#include "app/Dialogs.h"
#include "app/Helpers.h"
#include "app/Paths.h"
#include "app/ProtectedFiles.h"
#include "app/SampleLoad.h"
#include "app/StoreChoice.h"
#include "app/Settings.h"
#include "app/Trap.h"

#include "store/Connection.h"

#include <cstdio>

namespace commands {

using app::protectProgramFiles;
using app::ShortenAppTitle;
using app::Trap;
using app::nothingAt;
using app::createFolder;
using app::usesWorkingFile;
using app::FileExists;
using app::copyTemplateDatabase;
using app::chosenStore;
using app::Settings;
using app::loadSampleData;
using schedule::Interval;
using schedule::intervalFromWord;
namespace paths = app::paths;

int runLoadSample(std::optional<Interval> interval)
{
    protectProgramFiles();
    ShortenAppTitle();
    Trap trap(QStringLiteral("Main"), QStringLiteral("LoadSample"));
    if (trap.test(100, [] { return nothingAt(paths::makerFolder()); }))
        trap(102, [] { createFolder(paths::makerFolder()); });
    if (trap.test(104, [] { return nothingAt(paths::dataFolder()); }))
        trap(106, [] { createFolder(paths::dataFolder()); });
    if (usesWorkingFile() && !FileExists(paths::workingDatabase()))
        trap(108, [] { copyTemplateDatabase(paths::templateDatabase(), paths::workingDatabase()); });
    trap(110, [] { store::shared().open(chosenStore(store::Access::ReadWrite)); });
    // Without a database every statement of the load would fail in turn; one report says it all.
    if (trap.failures() > 0)
        return 1;

    const Interval chosen = interval ? *interval : trap.value(112, Interval::Hourly, [] { return Settings::interval(); });
    HeadlessSampleView view(chosen);
    const int failures = loadSampleData(view);
    store::shared().close();
    return trap.failures() + failures > 0 ? 1 : 0;
}

HeadlessCommand loadSampleCommand()
{
    const QCommandLineOption interval(
        QStringLiteral("interval"),
        QStringLiteral("Time interval: hourly, half-hour or 15-minutes (default: the remembered one)."),
        QStringLiteral("interval"));
    HeadlessCommand command{
        QCommandLineOption(QStringLiteral("load-sample"),
                           QStringLiteral("Store the sample employees and their shifts in the working database, without a window.")),
        {interval},
        {}};
    command.run = [interval](const QCommandLineParser& parser) {
        std::optional<Interval> chosen;
        if (parser.isSet(interval)) {
            chosen = intervalFromWord(parser.value(interval));
            if (!chosen) {
                std::fprintf(stderr, "Unknown interval \"%s\": use hourly, half-hour or 15-minutes.\n",
                             qUtf8Printable(parser.value(interval)));
                return 2;
            }
        }
        return runLoadSample(chosen);
    };
    return command;
}

}  // namespace commands
