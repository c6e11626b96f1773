// Opening the roster for a command.
#include "commands/CommandStore.h"

#include "app/DataSetup.h"
#include "app/Helpers.h"
#include "app/Paths.h"
#include "app/ProtectedFiles.h"
#include "app/StoreChoice.h"
#include "app/Trap.h"
#include "app/VisibleText.h"

#include "store/Connection.h"

#include <cstdio>

namespace commands {

QString openCommandStore(store::Access access)
{
    try {
        app::protectProgramFiles();
        for (const QString& folder : {app::paths::makerFolder(), app::paths::dataFolder()})
            if (app::nothingAt(folder))
                app::createFolder(folder);
        if (app::usesWorkingFile() && !app::FileExists(app::paths::workingDatabase()))
            app::copyTemplateDatabase(app::paths::templateDatabase(), app::paths::workingDatabase());
        store::shared().open(app::chosenStore(access));
        return QString();
    } catch (...) {
        return app::currentFailureDescription();
    }
}

void sayLines(std::FILE* stream, const QString& text)
{
    for (const QString& line : text.split(QLatin1Char('\n')))
        std::fprintf(stream, "%s\n", qUtf8Printable(app::visibleText(line)));
}

}  // namespace commands
