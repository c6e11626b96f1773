// Opening the working database: files that are not ours are refused and left exactly as found;
// every failure is a StoreError with the database's own description.
#include "tests/store/StoreFixture.h"

#include "store/Employees.h"
#include "store/Shifts.h"
#include "store/StoreError.h"

#include <QDir>
#include <QFile>

#include <functional>

#include <unistd.h>

using namespace store;
using store_testing::fileBytes;
using store_testing::SqliteStoreTest;
using store_testing::StoreTest;
using store_testing::templatePath;

namespace {

class OpenTest : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = environment.dataHome() + '/' + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QString copyOfTemplate(const QString& name)
    {
        return write(name, fileBytes(templatePath()));
    }

    // Opening fails, the file keeps every byte, and SQLite left no journal beside it.
    void expectRefusedAndUntouched(const QString& path, const char* expectedPart = nullptr)
    {
        const QFileInfo info(path);
        const auto permissions = info.exists() ? info.permissions() : QFile::Permissions();
        QFile::setPermissions(path, permissions | QFile::ReadOwner);
        const QByteArray before = fileBytes(path);
        QFile::setPermissions(path, permissions);
        Connection connection("open-test");
        try {
            connection.open(path);
            ADD_FAILURE() << "opened " << path.toStdString();
        } catch (const StoreError& e) {
            EXPECT_FALSE(QString(e.what()).isEmpty());
            if (expectedPart)
                EXPECT_TRUE(QString(e.what()).contains(expectedPart, Qt::CaseInsensitive)) << e.what();
        }
        EXPECT_FALSE(connection.isOpen());
        if (info.exists()) {
            QFile::setPermissions(path, permissions | QFile::ReadOwner);
            EXPECT_EQ(fileBytes(path), before);
            QFile::setPermissions(path, permissions);
        }
        EXPECT_FALSE(QFile::exists(path + "-journal"));
        EXPECT_FALSE(QFile::exists(path + "-wal"));
    }

    testing_support::TestEnvironment environment;
};

}  // namespace

TEST_F(OpenTest, MissingFileIsNotCreated)
{
    const QString path = environment.dataHome() + "/dbData.sqlite";
    expectRefusedAndUntouched(path, "does not exist");
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(OpenTest, FilesThatAreNotOurDatabaseAreRefusedAndLeftAlone)
{
    expectRefusedAndUntouched(write("text.sqlite", "This is a shopping list, not a database.\n"), "not a database");
    expectRefusedAndUntouched(write("empty.sqlite", ""), "tblEmployee");

    // A sound SQLite database of some other program.
    const QString other = environment.dataHome() + "/other.sqlite";
    {
        Connection template_("make-other");
        const QString seed = copyOfTemplate("seed.sqlite");
        template_.open(seed);
        template_.execute("drop view qrySunday");
        template_.close();
        QFile::rename(seed, other);
    }
    expectRefusedAndUntouched(other, "qrySunday");
}

TEST_F(OpenTest, DamagedDatabaseIsRefusedAndLeftAlone)
{
    QByteArray header = fileBytes(templatePath());
    ASSERT_GT(header.size(), 4096);
    header.replace(0, 16, QByteArray(16, 'X'));
    expectRefusedAndUntouched(write("badheader.sqlite", header));

    // A scrambled table page behind an intact header.
    QByteArray pages = fileBytes(templatePath());
    for (int i = 4096; i < pages.size(); ++i)
        pages[i] = static_cast<char>(i * 37 + 11);
    expectRefusedAndUntouched(write("badpages.sqlite", pages));

    QByteArray cut = fileBytes(templatePath());
    cut.truncate(cut.size() / 2 + 100);
    expectRefusedAndUntouched(write("cut.sqlite", cut));
}

TEST_F(OpenTest, FilesWithoutPermissionAreRefusedAndLeftAlone)
{
    const QString readOnly = copyOfTemplate("readonly.sqlite");
    QFile::setPermissions(readOnly, QFile::ReadOwner);
    if (QFileInfo(readOnly).isWritable())
        GTEST_SKIP() << "running with rights that ignore file permissions";
    expectRefusedAndUntouched(readOnly, "permission");

    const QString unreadable = copyOfTemplate("unreadable.sqlite");
    QFile::setPermissions(unreadable, QFile::Permissions());
    expectRefusedAndUntouched(unreadable, "permission");
}

TEST_F(OpenTest, FoldersWithBlanksSignsAndAccentsOpenTheFileItself)
{
    const QString folder = environment.dataHome() + QString::fromUtf8("/Rostelle Software #1 ?50% Zoë");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + "/dbData.sqlite";
    ASSERT_TRUE(QFile::copy(templatePath(), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);

    Connection connection("path-test");
    connection.open(path);
    insertEmployee(connection, "Ann", "Cook");
    connection.close();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"dbData.sqlite"});
    connection.open(path);
    EXPECT_EQ(listEmployees(connection).size(), 1u);
}

TEST_F(OpenTest, ClosedConnectionRefusesEveryStatement)
{
    Connection connection("closed-test");
    EXPECT_FALSE(connection.isOpen());
    EXPECT_THROW(connection.execute("delete from tblEmployee"), StoreError);
    EXPECT_THROW(connection.query("select * from tblEmployee"), StoreError);
    EXPECT_THROW(listEmployees(connection), StoreError);

    connection.open(copyOfTemplate("db.sqlite"));
    EXPECT_TRUE(connection.isOpen());
    connection.close();
    EXPECT_FALSE(connection.isOpen());
    try {
        insertEmployee(connection, "Ann", "Cook");
        ADD_FAILURE() << "inserted on a closed connection";
    } catch (const StoreError& e) {
        EXPECT_STREQ(e.what(), "The database is not open.");
    }
}

TEST_F(OpenTest, SharedConnectionIsReachableAndReportsItsState)
{
    EXPECT_EQ(&shared(), &shared());
    EXPECT_FALSE(sharedIsOpen());
    shared().open(copyOfTemplate("shared.sqlite"));
    EXPECT_TRUE(sharedIsOpen());
    insertEmployee(shared(), "Ann", "Cook");
    EXPECT_EQ(listEmployees(shared()).size(), 1u);
    shared().close();
    EXPECT_FALSE(sharedIsOpen());
}

TEST_P(StoreTest, RejectedStatementCarriesTheDatabasesDescription)
{
    try {
        db->execute("delete from tblNothing where fldid=1");
        ADD_FAILURE() << "statement accepted";
    } catch (const StoreError& e) {
        // Each store in its own words, without the server's severity prefix and code.
        EXPECT_STREQ(e.what(), backend() == store_testing::Backend::SQLite ? "no such table: tblNothing"
                                                                           : "relation \"tblnothing\" does not exist");
    }
    EXPECT_THROW(db->query("select fldNothing from tblEmployee"), StoreError);
}

TEST_F(SqliteStoreTest, OnlyOneStatementRunsPerCall)
{
    insertEmployee(*db, "Ann", "Cook");
    EXPECT_THROW(db->execute("insert into tblEmployee (fldName) values ('x'); delete from tblEmployee"), StoreError);
    EXPECT_EQ(rowCount("tblEmployee"), 1);
}

TEST_P(StoreTest, ColumnsAreFoundByPositionOrByNameInAnyCase)
{
    insertEmployee(*db, "Ann", "Cook");
    const Rows rows = db->query("select * from tblEmployee");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].value(1).toString(), "Ann");
    EXPECT_EQ(rows[0].value("FLDname").toString(), "Ann");
    EXPECT_EQ(rows[0].value("fldposition").toString(), "Cook");
    EXPECT_THROW(rows[0].value(3), StoreError);
    EXPECT_THROW(rows[0].value("fldTimeIn"), StoreError);
}

TEST_F(SqliteStoreTest, LockedDatabaseFailsWithTheDatabasesDescription)
{
    Connection other("locker");
    other.open(databasePath);
    other.execute("begin exclusive");
    try {
        insertEmployee(*db, "Ann", "Cook");
        ADD_FAILURE() << "wrote to a locked database";
    } catch (const StoreError& e) {
        EXPECT_TRUE(QString(e.what()).contains("locked")) << e.what();
    }
    other.execute("rollback");
    insertEmployee(*db, "Ann", "Cook");
    EXPECT_EQ(rowCount("tblEmployee"), 1);
}

TEST_F(OpenTest, ReadOnlyConnectionReadsAndRefusesEveryChangeLeavingTheFileAlone)
{
    const QString path = copyOfTemplate("readonly-use.sqlite");
    {
        Connection writer("seed");
        writer.open(path);
        insertEmployee(writer, "Ann", "Cook");
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QByteArray before = fileBytes(path);

    Connection reader("read-only");
    reader.open(path, Access::ReadOnly);
    ASSERT_TRUE(reader.isOpen());
    ASSERT_EQ(listEmployees(reader).size(), 1u);
    EXPECT_THROW(insertEmployee(reader, "Bob", "Cook"), StoreError);
    EXPECT_THROW(reader.execute("delete from tblEmployee"), StoreError);
    EXPECT_THROW(reader.execute("create table tblMore (x)"), StoreError);
    EXPECT_EQ(listEmployees(reader).size(), 1u);
    reader.close();

    EXPECT_EQ(fileBytes(path), before);
    EXPECT_FALSE(QFile::exists(path + "-journal"));
}

TEST_F(OpenTest, ReadOnlyConnectionStillRefusesFilesThatAreNotOurs)
{
    Connection connection("read-only-refusals");
    EXPECT_THROW(connection.open(environment.dataHome() + "/missing.sqlite", Access::ReadOnly), StoreError);
    EXPECT_THROW(connection.open(write("text.sqlite", "not a database at all, only words\n"), Access::ReadOnly),
                 StoreError);
    EXPECT_FALSE(connection.isOpen());
    EXPECT_FALSE(QFile::exists(environment.dataHome() + "/missing.sqlite"));
}

TEST_P(StoreTest, UsedUpIdentifiersAreNamedInPlainWordsAndOtherTablesGoOn)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Cook");
    insertShift(*db, Weekday::Friday, ann, "09:00:00 AM", "10:00:00 AM");
    useUpIdentifiers("tblEmployee");
    useUpIdentifiers("tblShiftFriday");

    for (const auto& attempt : std::vector<std::pair<const char*, std::function<void()>>>{
             {"tblEmployee", [&] { insertEmployee(*db, "Bob", "Cook"); }},
             {"tblShiftFriday", [&] { insertShift(*db, Weekday::Friday, ann, "11:00:00 AM", "12:00:00 PM"); }},
         }) {
        SCOPED_TRACE(attempt.first);
        try {
            attempt.second();
            ADD_FAILURE() << "stored past the largest identifier";
        } catch (const StoreError& e) {
            const QString text = e.description();
            EXPECT_TRUE(text.contains(attempt.first)) << e.what();
            EXPECT_TRUE(text.contains("used up its identifiers")) << e.what();
            EXPECT_FALSE(text.contains("disk")) << e.what();
        }
    }
    EXPECT_EQ(rowCount("tblEmployee"), 1);
    EXPECT_EQ(rowCount("tblShiftFriday"), 1);
    // Every other table still numbers its rows.
    EXPECT_GT(insertShift(*db, Weekday::Monday, ann, "09:00:00 AM", "10:00:00 AM"), 0);
}

TEST_F(SqliteStoreTest, AFullDiskIsNamedInPlainWordsAndNothingIsStored)
{
    insertEmployee(*db, "Ann", "Cook");
    // The database may not grow by a page: to SQLite that is a full disk.
    const int pages = db->query("pragma page_count").front().value(0).toInt();
    db->query("pragma max_page_count=" + QString::number(pages));
    try {
        insertEmployee(*db, QString(200000, 'x'), "Cook");
        ADD_FAILURE() << "stored on a full disk";
    } catch (const StoreError& e) {
        EXPECT_TRUE(e.description().contains("the disk is full")) << e.what();
        EXPECT_TRUE(e.description().contains(databasePath)) << e.what();
        EXPECT_FALSE(e.description().contains("identifiers")) << e.what();
    }
    EXPECT_EQ(rowCount("tblEmployee"), 1);
}
