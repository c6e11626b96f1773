// Gives each test its own data home, config home and temporary folder, and restores them after.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace testing_support {

class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();
    QString root() const { return dir_.path(); }
    QString dataHome() const { return dir_.path() + "/data"; }
    QString configHome() const { return dir_.path() + "/config"; }
    QString tempDir() const { return dir_.path() + "/tmp"; }

private:
    QTemporaryDir dir_;
    QByteArray oldData_, oldConfig_, oldTmp_;
};

}  // namespace testing_support
