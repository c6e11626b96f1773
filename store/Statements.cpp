// The statement texts. Shapes and names are the program's own and stay as they are; only values
// are filled in: identifiers as bare decimal numbers in conditions, every value quoted in inserts.
#include "store/Statements.h"

#include "store/TimeText.h"

namespace store::sql {

namespace {

QString number(qint64 value)
{
    return QString::number(value);
}

}  // namespace

QString quoted(const QString& text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString employeeList(Engine engine)
{
    return QStringLiteral("select * from tblemployee order by ") + dialect::caselessOrder(engine, QStringLiteral("fldname"));
}

QString employeeInsert(const QString& name, const QString& position)
{
    return QStringLiteral("insert into tblemployee (fldname,fldposition) values (") + quoted(name) + ',' +
           quoted(position) + ')';
}

QString employeeDelete(qint64 employeeId)
{
    return QStringLiteral("delete from tblemployee where fldid=") + number(employeeId);
}

QString employeeShiftsDelete(Weekday day, qint64 employeeId)
{
    return QStringLiteral("delete from ") + shiftTableName(day) + QStringLiteral(" where fldEmpID=") +
           number(employeeId);
}

QString employeePresent(qint64 employeeId)
{
    return QStringLiteral("select count(*) from tblemployee where fldid=") + number(employeeId);
}

QString employeeLookup(Engine engine, const QString& name, const QString& position)
{
    return QStringLiteral("SELECT tblEmployee.fldID From tblEmployee where (") +
           dialect::caselessEquals(engine, QStringLiteral("tblEmployee.fldName"), quoted(name)) + QStringLiteral(" AND ") +
           dialect::caselessEquals(engine, QStringLiteral("tblEmployee.fldPosition"), quoted(position)) + ')';
}

QString shiftOverlap(Weekday day, qint64 employeeId, const QString& timeIn, const QString& timeOut)
{
    const QString in = quoted(storedFromListText(timeIn));
    const QString out = quoted(storedFromListText(timeOut));
    return QStringLiteral("select * from ") + shiftTableName(day) + QStringLiteral(" where ((fldtimein<=") + in +
           QStringLiteral(" and fldtimeout>=") + in + QStringLiteral(") or (fldtimein<=") + out +
           QStringLiteral(" and fldtimeout>=") + in + QStringLiteral(")) and fldempid=") + number(employeeId);
}

QString shiftInsert(Weekday day, qint64 employeeId, const QString& timeIn, const QString& timeOut)
{
    return QStringLiteral("insert into ") + shiftTableName(day) +
           QStringLiteral(" (fldempid,fldtimein,fldtimeout) values (") + quoted(number(employeeId)) + ',' +
           quoted(storedFromListText(timeIn)) + ',' + quoted(storedFromListText(timeOut)) + ')';
}

QString shiftList(Weekday day)
{
    return QStringLiteral("select a.fldid,fldname,fldtimein,fldtimeout from ") + shiftTableName(day) +
           QStringLiteral(" a inner join tblEmployee b on a.fldempid=b.fldid order by fldtimein");
}

QString dayShifts(Engine engine, Weekday day)
{
    return QStringLiteral("select a.fldid,fldempid,fldname,fldtimein,fldtimeout from ") + shiftTableName(day) +
           QStringLiteral(" a inner join tblEmployee b on a.fldempid=b.fldid order by ") +
           dialect::caselessOrder(engine, QStringLiteral("fldname")) + QStringLiteral(",fldempid,fldtimein,a.fldid");
}

QString dayShiftsDelete(Weekday day) { return QStringLiteral("delete from ") + shiftTableName(day); }

QString employeeDetails(qint64 employeeId)
{
    return QStringLiteral("select fldname,fldposition from tblemployee where fldid=") + number(employeeId);
}

QString employeeUpdate(qint64 employeeId, const QString& name, const QString& position)
{
    return QStringLiteral("update tblemployee set fldname=") + quoted(name) + QStringLiteral(",fldposition=") +
           quoted(position) + QStringLiteral(" where fldid=") + number(employeeId);
}

QString employeeShiftIds(Weekday day, qint64 employeeId)
{
    return QStringLiteral("select fldid from ") + shiftTableName(day) + QStringLiteral(" where fldempid=") +
           number(employeeId);
}

QString shiftEmployee(Weekday day, qint64 shiftId)
{
    return QStringLiteral("select fldempid from ") + shiftTableName(day) + QStringLiteral(" where fldid=") + number(shiftId);
}

QString shiftOverlapExcept(Weekday day, qint64 employeeId, const QString& timeIn, const QString& timeOut, qint64 shiftId)
{
    return shiftOverlap(day, employeeId, timeIn, timeOut) + QStringLiteral(" and fldid<>") + number(shiftId);
}

QString shiftUpdate(Weekday day, qint64 shiftId, const QString& timeIn, const QString& timeOut)
{
    return QStringLiteral("update ") + shiftTableName(day) + QStringLiteral(" set fldtimein=") +
           quoted(storedFromListText(timeIn)) + QStringLiteral(",fldtimeout=") + quoted(storedFromListText(timeOut)) +
           QStringLiteral(" where fldid=") + number(shiftId);
}

QString employeesLock() { return QStringLiteral("select fldid from tblEmployee for update"); }

QString shiftDelete(Weekday day, qint64 shiftId)
{
    return QStringLiteral("delete from ") + shiftTableName(day) + QStringLiteral(" where fldid=") + number(shiftId);
}

QString dayStart(Weekday day)
{
    return QStringLiteral("select min(fldTimeIn) from ") + weekdayQueryName(day);
}

QString dayEnd(Weekday day)
{
    return QStringLiteral("select max(fldTimeOut) from ") + weekdayQueryName(day);
}

QString daySpan(Weekday day)
{
    return QStringLiteral("select min(fldTimeIn),max(fldTimeOut) from ") + weekdayQueryName(day);
}

QString reportEmployeeList(Engine engine)
{
    return QStringLiteral("select fldid,fldName from tblEmployee order by ") +
           dialect::caselessOrder(engine, QStringLiteral("fldName"));
}

QString reportEmployeeShifts(Weekday day)
{
    return QStringLiteral("select * from ") + weekdayQueryName(day) + QStringLiteral(" where fldempid=?");
}

QString reportDayShifts(Weekday day)
{
    // In the order the shifts were stored, which the table is kept in: the reader groups them by
    // employee, each employee's shifts staying in that order, so no sort is needed.
    return QStringLiteral("select s.fldempid,s.fldtimein,s.fldtimeout,e.fldposition from ") + shiftTableName(day) +
           QStringLiteral(" s inner join tblEmployee e on s.fldempid=e.fldid order by s.fldid");
}

QString reportDayShiftTimes(Weekday day)
{
    return QStringLiteral("select s.fldempid,s.fldtimein,s.fldtimeout from ") + shiftTableName(day) +
           QStringLiteral(" s order by s.fldid");
}

QString reportPositions() { return QStringLiteral("select e.fldid,e.fldposition from tblEmployee e"); }

QString employeeIndexCount(Weekday day)
{
    return QStringLiteral("select count(*) from pragma_index_list(") + quoted(shiftTableName(day)) +
           QStringLiteral(") l, pragma_index_info(l.name) c where c.seqno=0 and c.name='fldEmpID' collate nocase");
}

QString employeeIndexCreate(Weekday day)
{
    return QStringLiteral("CREATE INDEX idxShift") + weekdayCaption(day) + QStringLiteral("Employee ON ") +
           shiftTableName(day) + QStringLiteral(" (fldEmpID)");
}

QString commit() { return QStringLiteral("commit"); }
QString rollback() { return QStringLiteral("rollback"); }

}  // namespace store::sql
