// The text of every SQL statement the program issues. User text enters a statement only as a
// quoted literal with its apostrophes doubled, so it can never change the statement; times enter
// as stored texts ('HH:MM:SS'), converted from the list texts (a malformed time throws StoreError).
#pragma once

#include "store/Weekday.h"

#include <QString>

namespace store::sql {

// 'text' with every apostrophe doubled.
QString quoted(const QString& text);

QString employeeList();                                          // select * from tblemployee order by fldname
QString employeeInsert(const QString& name, const QString& position);
QString employeeDelete(qint64 employeeId);
QString employeeShiftsDelete(Weekday day, qint64 employeeId);    // delete from tblShiftMonday where fldEmpID=...
QString employeeLookup(const QString& name, const QString& position);

// timeIn and timeOut are list texts ("09:00:00 AM").
QString shiftOverlap(Weekday day, qint64 employeeId, const QString& timeIn, const QString& timeOut);
QString shiftInsert(Weekday day, qint64 employeeId, const QString& timeIn, const QString& timeOut);
QString shiftList(Weekday day);
QString shiftDelete(Weekday day, qint64 shiftId);

QString dayStart(Weekday day);                                   // select min(fldTimeIn) from qryMonday
QString dayEnd(Weekday day);                                     // select max(fldTimeOut) from qryMonday
QString reportEmployeeList();                                    // select fldid,fldName from tblEmployee order by fldName
QString reportEmployeeShifts(Weekday day);                       // select * from qryMonday where fldempid=?

// The largest identifier a table has given out.
QString identifierSequence(const QString& table);

// The index on a weekday table's employee column: how many indexes lead with that column, and
// the one the template has.
QString employeeIndexCount(Weekday day);
QString employeeIndexCreate(Weekday day);

// Transactions: one that only reads, one that takes the write lock at once (so no other writer
// can come between its reads and its writes), and their ends.
QString beginReading();
QString beginWriting();
QString commit();
QString rollback();

}  // namespace store::sql
