#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace testing_support {

TestEnvironment::TestEnvironment()
    : oldData_(qgetenv("XDG_DATA_HOME")), oldConfig_(qgetenv("XDG_CONFIG_HOME")), oldTmp_(qgetenv("TMPDIR"))
{
    QDir().mkpath(dataHome());
    QDir().mkpath(configHome());
    QDir().mkpath(tempDir());
    qputenv("XDG_DATA_HOME", dataHome().toUtf8());
    qputenv("XDG_CONFIG_HOME", configHome().toUtf8());
    qputenv("TMPDIR", tempDir().toUtf8());
    QStandardPaths::setTestModeEnabled(false);
    // QSettings caches its path of the user configuration; point it at the new home.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configHome());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configHome());
}

TestEnvironment::~TestEnvironment()
{
    auto restore = [](const char* name, const QByteArray& value) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    };
    restore("XDG_DATA_HOME", oldData_);
    restore("XDG_CONFIG_HOME", oldConfig_);
    restore("TMPDIR", oldTmp_);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        ADD_FAILURE() << "cannot write " << path.toStdString() << ": " << file.errorString().toStdString();
        return;
    }
    file.write(bytes);
}

}  // namespace testing_support
