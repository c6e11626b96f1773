// Gives each test its own data home, config home and temporary folder, and restores them after;
// and the two file helpers tests share.
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

// Every byte of the file; empty when it cannot be read.
QByteArray fileBytes(const QString& path);
// Makes or replaces the file with the bytes; a file that cannot be made fails the test.
void writeFile(const QString& path, const QByteArray& bytes);

}  // namespace testing_support
