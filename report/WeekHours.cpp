// The week's hours and their table.
#include "report/WeekHours.h"

#include "store/StoreError.h"

#include <unordered_map>

namespace report {

int shiftMinutes(QTime in, QTime out)
{
    if (!in.isValid() || !out.isValid())
        return 0;
    const int from = in.hour() * 60 + in.minute();
    int to = out.hour() * 60 + out.minute();
    if (to < from)
        to += 24 * 60;
    return to - from;
}

QString hoursText(int minutes)
{
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

WeekHours weekHours(const std::vector<store::EmployeeEntry>& employees,
                    const std::array<std::vector<store::DayShift>, 7>& days)
{
    WeekHours hours;
    std::unordered_map<qint64, std::size_t> row;
    for (const store::EmployeeEntry& employee : employees) {
        row.emplace(employee.id, hours.employees.size());
        hours.employees.push_back({employee.id, employee.name, {}, 0});
    }
    for (std::size_t day = 0; day < days.size(); ++day)
        for (const store::DayShift& shift : days[day]) {
            const auto found = row.find(shift.employeeId);
            if (found == row.end())
                continue;
            const int minutes = shiftMinutes(shift.timeIn, shift.timeOut);
            EmployeeHours& employee = hours.employees[found->second];
            employee.minutes[day] += minutes;
            employee.week += minutes;
            hours.dayTotals[day] += minutes;
            hours.weekTotal += minutes;
        }
    return hours;
}

WeekHours readWeekHours(store::Connection& connection)
{
    // One state of the roster for the whole table.
    const bool own = !connection.inTransaction();
    if (own)
        connection.beginReading();
    try {
        std::array<std::vector<store::DayShift>, 7> days;
        for (const store::Weekday day : store::allWeekdays)
            days[static_cast<std::size_t>(store::weekdayIndex(day))] = store::dayShifts(connection, day);
        WeekHours hours = weekHours(store::listEmployees(connection), days);
        if (own)
            connection.commit();
        return hours;
    } catch (...) {
        if (own)
            connection.rollback();
        throw;
    }
}

std::vector<std::vector<QString>> hoursTable(const WeekHours& hours)
{
    std::vector<std::vector<QString>> table;
    std::vector<QString> header{QStringLiteral("Employee")};
    for (const store::Weekday day : store::allWeekdays)
        header.push_back(store::weekdayCaption(day));
    header.push_back(QStringLiteral("Total"));
    table.push_back(header);
    for (const EmployeeHours& employee : hours.employees) {
        std::vector<QString> line{employee.name};
        for (const int minutes : employee.minutes)
            line.push_back(hoursText(minutes));
        line.push_back(hoursText(employee.week));
        table.push_back(line);
    }
    std::vector<QString> totals{QStringLiteral("Total")};
    for (const int minutes : hours.dayTotals)
        totals.push_back(hoursText(minutes));
    totals.push_back(hoursText(hours.weekTotal));
    table.push_back(totals);
    return table;
}

QString tabSeparated(const std::vector<std::vector<QString>>& table)
{
    QString text;
    for (const auto& line : table) {
        QStringList cells;
        for (QString cell : line)
            // A tab or line break inside a name would split the row; a space stands in for it.
            cells << cell.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '))
                         .replace(QLatin1Char('\r'), QLatin1Char(' '));
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

QString csv(const std::vector<std::vector<QString>>& table)
{
    QString text;
    for (const auto& line : table) {
        QStringList fields;
        for (QString field : line) {
            if (field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"')) ||
                field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r')))
                field = QLatin1Char('"') + field.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
            fields << field;
        }
        text += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return text;
}

}  // namespace report
