-- The empty template database: the employees, one shift table per weekday with an index on its
-- employee column (the schedule reads each employee's shifts in turn), and per weekday a view
-- giving each shift with its employee's position.
-- Times are 'HH:MM:SS' 24-hour texts, so text order is time order. Names and positions compare
-- without regard to case. Identifiers are never reused.

CREATE TABLE tblEmployee (
    fldID INTEGER PRIMARY KEY AUTOINCREMENT,
    fldName TEXT COLLATE NOCASE,
    fldPosition TEXT COLLATE NOCASE
);

CREATE TABLE tblShiftMonday    (fldID INTEGER PRIMARY KEY AUTOINCREMENT, fldEmpID INTEGER, fldTimeIn TEXT, fldTimeOut TEXT);
CREATE TABLE tblShiftTuesday   (fldID INTEGER PRIMARY KEY AUTOINCREMENT, fldEmpID INTEGER, fldTimeIn TEXT, fldTimeOut TEXT);
CREATE TABLE tblShiftWednesday (fldID INTEGER PRIMARY KEY AUTOINCREMENT, fldEmpID INTEGER, fldTimeIn TEXT, fldTimeOut TEXT);
CREATE TABLE tblShiftThursday  (fldID INTEGER PRIMARY KEY AUTOINCREMENT, fldEmpID INTEGER, fldTimeIn TEXT, fldTimeOut TEXT);
CREATE TABLE tblShiftFriday    (fldID INTEGER PRIMARY KEY AUTOINCREMENT, fldEmpID INTEGER, fldTimeIn TEXT, fldTimeOut TEXT);
CREATE TABLE tblShiftSaturday  (fldID INTEGER PRIMARY KEY AUTOINCREMENT, fldEmpID INTEGER, fldTimeIn TEXT, fldTimeOut TEXT);
CREATE TABLE tblShiftSunday    (fldID INTEGER PRIMARY KEY AUTOINCREMENT, fldEmpID INTEGER, fldTimeIn TEXT, fldTimeOut TEXT);

CREATE INDEX idxShiftMondayEmployee ON tblShiftMonday (fldEmpID);
CREATE INDEX idxShiftTuesdayEmployee ON tblShiftTuesday (fldEmpID);
CREATE INDEX idxShiftWednesdayEmployee ON tblShiftWednesday (fldEmpID);
CREATE INDEX idxShiftThursdayEmployee ON tblShiftThursday (fldEmpID);
CREATE INDEX idxShiftFridayEmployee ON tblShiftFriday (fldEmpID);
CREATE INDEX idxShiftSaturdayEmployee ON tblShiftSaturday (fldEmpID);
CREATE INDEX idxShiftSundayEmployee ON tblShiftSunday (fldEmpID);

CREATE VIEW qryMonday AS
    SELECT s.fldEmpID AS fldEmpID, s.fldTimeIn AS fldTimeIn, s.fldTimeOut AS fldTimeOut, e.fldPosition AS fldPosition
    FROM tblShiftMonday s INNER JOIN tblEmployee e ON s.fldEmpID = e.fldID;
CREATE VIEW qryTuesday AS
    SELECT s.fldEmpID AS fldEmpID, s.fldTimeIn AS fldTimeIn, s.fldTimeOut AS fldTimeOut, e.fldPosition AS fldPosition
    FROM tblShiftTuesday s INNER JOIN tblEmployee e ON s.fldEmpID = e.fldID;
CREATE VIEW qryWednesday AS
    SELECT s.fldEmpID AS fldEmpID, s.fldTimeIn AS fldTimeIn, s.fldTimeOut AS fldTimeOut, e.fldPosition AS fldPosition
    FROM tblShiftWednesday s INNER JOIN tblEmployee e ON s.fldEmpID = e.fldID;
CREATE VIEW qryThursday AS
    SELECT s.fldEmpID AS fldEmpID, s.fldTimeIn AS fldTimeIn, s.fldTimeOut AS fldTimeOut, e.fldPosition AS fldPosition
    FROM tblShiftThursday s INNER JOIN tblEmployee e ON s.fldEmpID = e.fldID;
CREATE VIEW qryFriday AS
    SELECT s.fldEmpID AS fldEmpID, s.fldTimeIn AS fldTimeIn, s.fldTimeOut AS fldTimeOut, e.fldPosition AS fldPosition
    FROM tblShiftFriday s INNER JOIN tblEmployee e ON s.fldEmpID = e.fldID;
CREATE VIEW qrySaturday AS
    SELECT s.fldEmpID AS fldEmpID, s.fldTimeIn AS fldTimeIn, s.fldTimeOut AS fldTimeOut, e.fldPosition AS fldPosition
    FROM tblShiftSaturday s INNER JOIN tblEmployee e ON s.fldEmpID = e.fldID;
CREATE VIEW qrySunday AS
    SELECT s.fldEmpID AS fldEmpID, s.fldTimeIn AS fldTimeIn, s.fldTimeOut AS fldTimeOut, e.fldPosition AS fldPosition
    FROM tblShiftSunday s INNER JOIN tblEmployee e ON s.fldEmpID = e.fldID;
