// Copying the working workbook.
#include "preview/CopyFile.h"

#include "app/FileNames.h"
#include "app/Trap.h"

#include "fileio/AtomicWrite.h"

namespace preview {

void replaceFileAtomically(const QString& source, const QString& destination)
{
    try {
        fileio::copyFile(app::toSystemBytes(source), app::toSystemBytes(destination));
    } catch (const fileio::FileError& e) {
        const bool reading = e.operation() == fileio::FileError::Operation::Read;
        throw app::Failure(QStringLiteral("Could not %1 \"%2\": %3")
                               .arg(reading ? QStringLiteral("read") : QStringLiteral("write"), reading ? source : destination,
                                    app::fromSystemBytes(e.reason())));
    }
}

}  // namespace preview
