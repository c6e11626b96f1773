// The text of every SQL statement the program issues. User text enters a statement only as a
// quoted literal with its apostrophes doubled, so it can never change the statement; times enter
// as stored texts ('HH:MM:SS'), converted from the list texts (a malformed time throws StoreError).
#pragma once

#include "store/Dialect.h"
#include "store/Weekday.h"

#include <QString>

namespace store::sql {

// 'text' with every apostrophe doubled.
QString quoted(const QString& text);

// The statements that order or match names differ between the stores (see Dialect.h).
QString employeeList(Engine engine);                             // select * from tblemployee order by fldname
QString employeeInsert(const QString& name, const QString& position);
QString employeeDelete(qint64 employeeId);
QString employeeShiftsDelete(Weekday day, qint64 employeeId);    // delete from tblShiftMonday where fldEmpID=...
QString employeeLookup(Engine engine, const QString& name, const QString& position);
QString employeePresent(qint64 employeeId);                      // select count(*) from tblemployee where fldid=...

// timeIn and timeOut are list texts ("09:00:00 AM").
QString shiftOverlap(Weekday day, qint64 employeeId, const QString& timeIn, const QString& timeOut);
QString shiftInsert(Weekday day, qint64 employeeId, const QString& timeIn, const QString& timeOut);
QString shiftList(Weekday day);
QString shiftDelete(Weekday day, qint64 shiftId);
// Every shift of the weekday whose employee is on the roster, with the employee's name, in the
// employees' name order and then by time in: select a.fldid,fldempid,fldname,fldtimein,fldtimeout ...
QString dayShifts(Engine engine, Weekday day);
QString dayShiftsDelete(Weekday day);                            // delete from tblShiftMonday
// For editing and taking changes back.
QString employeeDetails(qint64 employeeId);                      // select fldname,fldposition from tblemployee where fldid=...
QString employeeUpdate(qint64 employeeId, const QString& name, const QString& position);
QString employeeShiftIds(Weekday day, qint64 employeeId);       // select fldid from tblShiftMonday where fldempid=...
QString shiftEmployee(Weekday day, qint64 shiftId);             // select fldempid from tblShiftMonday where fldid=...
// The overlap test of shiftOverlap, the shift itself left out.
QString shiftOverlapExcept(Weekday day, qint64 employeeId, const QString& timeIn, const QString& timeOut, qint64 shiftId);
QString shiftUpdate(Weekday day, qint64 shiftId, const QString& timeIn, const QString& timeOut);
// Locks every employee's row against changes to their shifts until the transaction ends.
QString employeesLock();

QString dayStart(Weekday day);                                   // select min(fldTimeIn) from qryMonday
QString dayEnd(Weekday day);                                     // select max(fldTimeOut) from qryMonday
// Both in one pass over the view, for the file.
QString daySpan(Weekday day);                                    // select min(fldTimeIn),max(fldTimeOut) from qryMonday
QString reportEmployeeList(Engine engine);                        // select fldid,fldName from tblEmployee order by fldName
QString reportEmployeeShifts(Weekday day);                       // select * from qryMonday where fldempid=?
// Every shift of the weekday with its employee's position, as the view gives them, in the order
// they were stored.
QString reportDayShifts(Weekday day);
// The same two halves on their own, for the file: every shift of the weekday without its
// employee, in the order they were stored, and every employee's position.
QString reportDayShiftTimes(Weekday day);
QString reportPositions();

// The index on a weekday table's employee column of the SQLite file: how many indexes lead with
// that column, and the one the template has.
QString employeeIndexCount(Weekday day);
QString employeeIndexCreate(Weekday day);

// The ends of a transaction (its beginnings differ between the stores, see Dialect.h).
QString commit();
QString rollback();

}  // namespace store::sql
