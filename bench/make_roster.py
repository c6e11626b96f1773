#!/usr/bin/env python3
"""Writes a working database with a generated roster, for measuring the whole program at scale.

    make_roster.py TEMPLATE OUTPUT KIND EMPLOYEES

KIND is one of
  two-shifts    two shifts a day on every weekday on a quarter-hour grid (morning and afternoon)
  one-hourly    one shift a day on every weekday on the hour
  whole-day     one shift a day from 12:00 AM to 11:45 PM, so every weekday spans the whole day
OUTPUT is replaced. The shifts follow the same pattern as the report benchmark's roster.
"""
import shutil
import sqlite3
import sys

WEEKDAYS = ["Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"]
MORNING = ["06:00:00", "06:15:00", "06:30:00", "06:45:00", "07:00:00", "07:30:00", "08:00:00", "08:15:00"]
MORNING_END = ["10:00:00", "10:15:00", "10:30:00", "10:45:00", "11:00:00", "11:30:00", "12:00:00", "12:15:00"]
AFTERNOON = ["13:00:00", "13:15:00", "13:30:00", "13:45:00"]
AFTERNOON_END = ["17:00:00", "17:15:00", "17:30:00", "17:45:00"]


def shifts(kind, i):
    if kind == "two-shifts":
        return [(MORNING[i % 8], MORNING_END[i % 8]), (AFTERNOON[i % 4], AFTERNOON_END[i % 4])]
    if kind == "one-hourly":
        start = 6 + i % 8
        return [("%02d:00:00" % start, "%02d:00:00" % (start + 8))]
    if kind == "whole-day":
        return [("00:00:00", "23:45:00")]
    raise SystemExit("unknown kind: " + kind)


def main():
    if len(sys.argv) != 5:
        raise SystemExit(__doc__)
    template, output, kind, count = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
    shutil.copyfile(template, output)
    db = sqlite3.connect(output)
    with db:
        for i in range(count):
            cur = db.execute("insert into tblEmployee (fldName, fldPosition) values (?, ?)",
                             ("Employee %05d" % i, "Position %d" % (i % 12)))
            employee = cur.lastrowid
            for day in WEEKDAYS:
                for time_in, time_out in shifts(kind, i):
                    db.execute("insert into tblShift%s (fldEmpID, fldTimeIn, fldTimeOut) values (?, ?, ?)" % day,
                               (employee, time_in, time_out))
    db.close()


if __name__ == "__main__":
    main()
