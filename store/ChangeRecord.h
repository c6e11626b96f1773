// What a change did to the roster, row by row, so that it can be taken back: each row it touched
// as it was before and as it was after, read inside the change's own transaction. Taking it back
// puts every row as it was before, but only when each is still as the change left it: when
// another planner has changed one of them since, nothing is taken back and the rows so changed
// are named instead.
#pragma once

#include "store/Connection.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace store {

class ChangeRecord {
public:
    // Call before the change touches the row (a row about to be inserted has no state yet).
    void before(Connection& connection, const QString& table, qint64 id);
    // Call once the change is done with the row, before the change is kept.
    void after(Connection& connection, const QString& table, qint64 id);
    bool empty() const { return rows_.empty(); }

    // Restores every row in one change; returns the descriptions of the rows changed since (and
    // then nothing was restored), or nothing when all went back.
    QStringList takeBack(Connection& connection) const;

private:
    struct Row {
        QString table;
        qint64 id = 0;
        std::optional<QStringList> before;
        std::optional<QStringList> after;
    };
    Row& rowFor(const QString& table, qint64 id);

    std::vector<Row> rows_;
};

}  // namespace store
