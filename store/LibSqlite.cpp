// The file's rows read through SQLite's own calls on the connection's handle.
#include "store/LibSqlite.h"

#include "store/LibraryFunctions.h"

#include "store/StoreError.h"
#include "store/TimeText.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

#include <dlfcn.h>
#include <sqlite3.h>

#include <memory>

namespace store::libsqlite {

struct Api {
    decltype(&sqlite3_prepare_v2) prepare = nullptr;
    decltype(&sqlite3_step) step = nullptr;
    decltype(&sqlite3_reset) reset = nullptr;
    decltype(&sqlite3_finalize) finalize = nullptr;
    decltype(&sqlite3_errmsg16) errmsg16 = nullptr;
    decltype(&sqlite3_column_count) columnCount = nullptr;
    decltype(&sqlite3_column_type) columnType = nullptr;
    decltype(&sqlite3_column_int64) columnInt64 = nullptr;
    decltype(&sqlite3_column_double) columnDouble = nullptr;
    decltype(&sqlite3_column_blob) columnBlob = nullptr;
    decltype(&sqlite3_column_bytes) columnBytes = nullptr;
    decltype(&sqlite3_column_text) columnText = nullptr;
    decltype(&sqlite3_column_bytes16) columnBytes16 = nullptr;
    decltype(&sqlite3_column_text16) columnText16 = nullptr;
    decltype(&sqlite3_column_value) columnValue = nullptr;
    decltype(&sqlite3_value_type) valueType = nullptr;
    decltype(&sqlite3_value_int64) valueInt64 = nullptr;
    decltype(&sqlite3_value_text) valueText = nullptr;
    decltype(&sqlite3_value_bytes) valueBytes = nullptr;
    bool complete = false;
};

namespace {

// The functions as the driver's library finds them: the SQLite it is linked against, or the copy
// it carries when that copy's functions can be seen. Never closed: Qt keeps its drivers loaded.
Api load(const QSqlDriver& driver)
{
    Api api;
    Dl_info found{};
    if (::dladdr(driver.metaObject(), &found) == 0 || found.dli_fname == nullptr)
        return api;
    void* library = ::dlopen(found.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    if (library == nullptr)
        return api;
    const auto bind = [library](const char* name, auto& into) { return bindLibraryFunction(library, name, into); };
    api.complete = bind("sqlite3_prepare_v2", api.prepare) &&
                   bind("sqlite3_step", api.step) &&
                   bind("sqlite3_reset", api.reset) &&
                   bind("sqlite3_finalize", api.finalize) &&
                   bind("sqlite3_errmsg16", api.errmsg16) &&
                   bind("sqlite3_column_count", api.columnCount) &&
                   bind("sqlite3_column_type", api.columnType) &&
                   bind("sqlite3_column_int64", api.columnInt64) &&
                   bind("sqlite3_column_double", api.columnDouble) &&
                   bind("sqlite3_column_blob", api.columnBlob) &&
                   bind("sqlite3_column_bytes", api.columnBytes) &&
                   bind("sqlite3_column_text", api.columnText) &&
                   bind("sqlite3_column_bytes16", api.columnBytes16) &&
                   bind("sqlite3_column_text16", api.columnText16) &&
                   bind("sqlite3_column_value", api.columnValue) &&
                   bind("sqlite3_value_type", api.valueType) &&
                   bind("sqlite3_value_int64", api.valueInt64) &&
                   bind("sqlite3_value_text", api.valueText) &&
                   bind("sqlite3_value_bytes", api.valueBytes);
    return api;
}

// Every SQLite connection of the program comes from the one SQLite driver.
const Api& api(const QSqlDriver& driver)
{
    static const Api loaded = load(driver);
    return loaded;
}

bool isAscii(const char* text, qsizetype length)
{
    for (qsizetype i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    }
    return true;
}

// The current row of a statement. A field holding what is asked for is read as it is; any other
// is made into the QVariant Qt's SQLite driver makes of it and read from that. The quick readings
// go through the field's own value, which SQLite lets a connection used by one thread at a time
// read without the locking and checks of the column calls.
class StatementFields final : public Fields {
public:
    StatementFields(const Api& api, sqlite3_stmt* statement)
        : api_(api), statement_(statement), count_(api.columnCount(statement))
    {
    }

    QVariant field(int position) const override
    {
        check(position);
        switch (api_.columnType(statement_, position)) {
        case SQLITE_BLOB:
            return QByteArray(static_cast<const char*>(api_.columnBlob(statement_, position)),
                              api_.columnBytes(statement_, position));
        case SQLITE_INTEGER:
            return QVariant(static_cast<qlonglong>(api_.columnInt64(statement_, position)));
        case SQLITE_FLOAT:
            return QVariant(api_.columnDouble(statement_, position));
        case SQLITE_NULL:
            return QVariant(QMetaType::fromType<QString>());
        default:
            return QString(reinterpret_cast<const QChar*>(api_.columnText16(statement_, position)),
                           api_.columnBytes16(statement_, position) / static_cast<int>(sizeof(QChar)));
        }
    }

    qint64 identifier(int position) const override
    {
        if (const auto integer = storedInteger(position))
            return *integer;
        return Fields::identifier(position);
    }

    std::optional<qint64> storedInteger(int position) const override
    {
        sqlite3_value* value = valueAt(position);
        if (api_.valueType(value) == SQLITE_INTEGER)
            return api_.valueInt64(value);
        return std::nullopt;
    }

    QString text(int position) const override
    {
        if (const auto bytes = textAt(position); !bytes.isEmpty() && isAscii(bytes.data(), bytes.size()))
            return QString::fromLatin1(bytes);
        return Fields::text(position);
    }

    QTime storedTime(int position) const override
    {
        if (const auto bytes = textAt(position); !bytes.isNull()) {
            if (bytes.isEmpty())
                return {};
            if (const auto time = parseStoredTimeUtf8(bytes))
                return *time;
        }
        // Whatever else the field holds reads as its QVariant reads, and a malformed text is
        // named as that QVariant holds it.
        return Fields::storedTime(position);
    }

private:
    void check(int position) const
    {
        if (position < 0 || position >= count_)
            noSuchColumn(position);
    }

    sqlite3_value* valueAt(int position) const
    {
        check(position);
        return api_.columnValue(statement_, position);
    }

    // The field's UTF-8 bytes where it holds text; null for anything else.
    QByteArrayView textAt(int position) const
    {
        sqlite3_value* value = valueAt(position);
        if (api_.valueType(value) != SQLITE_TEXT)
            return {};
        const char* text = reinterpret_cast<const char*>(api_.valueText(value));
        if (text == nullptr)
            return {};
        return QByteArrayView(text, api_.valueBytes(value));
    }

    const Api& api_;
    sqlite3_stmt* statement_;
    int count_;
};

// The failure as Qt's SQLite driver words it: its own text, SQLite's message and SQLite's code.
QSqlError driverError(const Api& api, sqlite3* handle, const char* what, QSqlError::ErrorType type, int code)
{
    return QSqlError(QString::fromLatin1(what), QString(reinterpret_cast<const QChar*>(api.errmsg16(handle))), type,
                     QString::number(code));
}

}  // namespace

std::optional<Handle> Handle::of(const QSqlDatabase& database)
{
    if (!database.isOpen())
        return std::nullopt;
    const QSqlDriver* driver = database.driver();
    const QVariant handle = driver->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return std::nullopt;
    const Api& functions = api(*driver);
    if (!functions.complete)
        return std::nullopt;
    return Handle(functions, *static_cast<sqlite3* const*>(handle.constData()));
}

std::optional<QSqlError> Handle::eachRow(const QString& sql, const std::function<void(const Fields&)>& each) const
{
    const Api& api = *api_;
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* prepared = nullptr;
    const char* rest = nullptr;
    const int made = api.prepare(handle_, text.constData(), static_cast<int>(text.size()) + 1, &prepared, &rest);
    const auto finalize = [&api](sqlite3_stmt* statement) { api.finalize(statement); };
    const std::unique_ptr<sqlite3_stmt, decltype(finalize)> statement(prepared, finalize);
    if (made != SQLITE_OK)
        return driverError(api, handle_, "Unable to execute statement", QSqlError::StatementError, made);
    if (rest != nullptr && !QString::fromUtf8(rest).trimmed().isEmpty())
        return driverError(api, handle_, "Unable to execute multiple statements at a time", QSqlError::StatementError,
                           SQLITE_MISUSE);
    if (!statement)
        return QSqlError(QStringLiteral("Unable to fetch row"), QStringLiteral("No query"), QSqlError::ConnectionError);

    const StatementFields fields(api, statement.get());
    for (;;) {
        int result = api.step(statement.get());
        if (result == SQLITE_ROW) {
            each(fields);
            continue;
        }
        if (result == SQLITE_DONE)
            return std::nullopt;
        // A generic failure is told precisely by resetting the statement.
        if (result == SQLITE_ERROR || result == SQLITE_CONSTRAINT)
            result = api.reset(statement.get());
        return driverError(api, handle_, "Unable to fetch row", QSqlError::ConnectionError, result);
    }
}

}  // namespace store::libsqlite
