// Recording a change's rows and taking the change back.
#include "store/ChangeRecord.h"

#include "store/Statements.h"
#include "store/StoreError.h"
#include "store/TimeText.h"
#include "store/Weekday.h"
#include "store/WriteTransaction.h"

#include <algorithm>

namespace store {
namespace {

bool isEmployeeTable(const QString& table) { return table.compare(QLatin1String("tblEmployee"), Qt::CaseInsensitive) == 0; }

QStringList columnsOf(const QString& table)
{
    if (isEmployeeTable(table))
        return {QStringLiteral("fldName"), QStringLiteral("fldPosition")};
    return {QStringLiteral("fldEmpID"), QStringLiteral("fldTimeIn"), QStringLiteral("fldTimeOut")};
}

// The row's values in its table's column order, null fields as null texts; nothing when it is gone.
std::optional<QStringList> stateOf(Connection& connection, const QString& table, qint64 id)
{
    const Rows rows = connection.query(QStringLiteral("select ") + columnsOf(table).join(QLatin1Char(',')) +
                                       QStringLiteral(" from ") + table + QStringLiteral(" where fldid=") +
                                       QString::number(id));
    if (rows.empty())
        return std::nullopt;
    QStringList values;
    for (int i = 0; i < rows.front().size(); ++i) {
        const QVariant& value = rows.front().value(i);
        values << (value.isNull() ? QString() : value.toString());
    }
    return values;
}

QString literal(const QString& value, bool number)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    if (number) {
        bool ok = false;
        const qint64 n = value.toLongLong(&ok);
        return ok ? QString::number(n) : QStringLiteral("NULL");
    }
    return sql::quoted(value);
}

std::vector<QString> literals(const QString& table, const QStringList& values)
{
    std::vector<QString> out;
    for (qsizetype i = 0; i < values.size(); ++i)
        out.push_back(literal(values[i], !isEmployeeTable(table) && i == 0));
    return out;
}

QString describe(const QString& table, const QStringList& values)
{
    if (isEmployeeTable(table))
        return QStringLiteral("the employee \"%1\"").arg(values.value(0));
    QString day = table.mid(QStringLiteral("tblShift").size());
    const auto shown = [](const QString& stored) {
        const std::optional<QTime> time = parseStoredTime(stored);
        return time ? displayTimeText(*time) : stored;
    };
    return QStringLiteral("a shift of %1 from %2 to %3").arg(day, shown(values.value(1)), shown(values.value(2)));
}

}  // namespace

ChangeRecord::Row& ChangeRecord::rowFor(const QString& table, qint64 id)
{
    for (Row& row : rows_)
        if (row.id == id && row.table.compare(table, Qt::CaseInsensitive) == 0)
            return row;
    rows_.push_back({table, id, std::nullopt, std::nullopt});
    return rows_.back();
}

void ChangeRecord::before(Connection& connection, const QString& table, qint64 id)
{
    const bool known = std::any_of(rows_.begin(), rows_.end(), [&](const Row& row) {
        return row.id == id && row.table.compare(table, Qt::CaseInsensitive) == 0;
    });
    if (!known)
        rowFor(table, id).before = stateOf(connection, table, id);
}

void ChangeRecord::after(Connection& connection, const QString& table, qint64 id)
{
    rowFor(table, id).after = stateOf(connection, table, id);
}

QStringList ChangeRecord::takeBack(Connection& connection) const
{
    WriteTransaction change(connection, WriteRule::ChangeDay);
    QStringList changedSince;
    for (const Row& row : rows_)
        if (stateOf(connection, row.table, row.id) != row.after) {
            const std::optional<QStringList>& known = row.after ? row.after : row.before;
            changedSince << describe(row.table, known.value_or(QStringList()));
        }
    if (!changedSince.isEmpty())
        return changedSince;
    // In the reverse order of the change.
    for (auto it = rows_.rbegin(); it != rows_.rend(); ++it) {
        const QString id = QString::number(it->id);
        if (!it->before) {
            connection.execute(QStringLiteral("delete from ") + it->table + QStringLiteral(" where fldid=") + id);
            continue;
        }
        const QStringList columns = columnsOf(it->table);
        const std::vector<QString> values = literals(it->table, *it->before);
        if (!it->after) {
            QStringList all{QStringLiteral("fldid")};
            all << columns;
            QStringList given{id};
            for (const QString& value : values)
                given << value;
            connection.execute(QStringLiteral("insert into ") + it->table + QStringLiteral(" (") + all.join(',') +
                               QStringLiteral(") values (") + given.join(',') + ')');
        } else {
            QStringList sets;
            for (qsizetype i = 0; i < columns.size(); ++i)
                sets << columns[i] + '=' + values[static_cast<std::size_t>(i)];
            connection.execute(QStringLiteral("update ") + it->table + QStringLiteral(" set ") + sets.join(',') +
                               QStringLiteral(" where fldid=") + id);
        }
    }
    change.commit();
    return {};
}

}  // namespace store
