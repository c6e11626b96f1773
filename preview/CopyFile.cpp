// Copying through a temporary file that is renamed over the destination.
#include "preview/CopyFile.h"

#include "app/Trap.h"

#include <QFile>
#include <QSaveFile>

namespace preview {

namespace {
[[noreturn]] void fail(const char* what, const QString& path, const QString& why)
{
    throw app::Failure(QStringLiteral("Could not %1 \"%2\": %3").arg(QLatin1String(what), path, why));
}
}  // namespace

void replaceFileAtomically(const QString& source, const QString& destination)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        fail("read", source, in.errorString());

    QSaveFile out(destination);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly))
        fail("write", destination, out.errorString());

    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 16);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            fail("read", source, in.errorString());
        if (out.write(chunk) != chunk.size())
            fail("write", destination, out.errorString());
    }
    // Until commit the destination is untouched; a discarded save file leaves nothing behind.
    if (!out.commit())
        fail("write", destination, out.errorString());
}

}  // namespace preview
