#include "tests/store/StoreFixture.h"

#include <QFile>

namespace store_testing {

QString templatePath()
{
    return QStringLiteral(ROSTELLE_TEMPLATE_DATABASE);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void StoreTest::SetUp()
{
    databasePath = environment.dataHome() + "/dbData.sqlite";
    ASSERT_TRUE(QFile::copy(templatePath(), databasePath)) << "template missing: " << templatePath().toStdString();
    QFile::setPermissions(databasePath, QFile::ReadOwner | QFile::WriteOwner);
    db = std::make_unique<store::Connection>(QStringLiteral("store-test"));
    db->open(databasePath);
}

void StoreTest::TearDown()
{
    db.reset();
}

int StoreTest::rowCount(const QString& table)
{
    return db->query("select count(*) from " + table).front().value(0).toInt();
}

}  // namespace store_testing
