// Reading typed values out of result rows, with a clear failure for a field that does not fit.
#pragma once

#include "store/Connection.h"
#include "store/StoreError.h"

namespace store {

inline qint64 identifierAt(const Row& row, int position)
{
    bool ok = false;
    const qint64 id = row.value(position).toLongLong(&ok);
    if (!ok)
        throw StoreError(QStringLiteral("The stored identifier \"%1\" is not a number.")
                             .arg(row.value(position).toString()));
    return id;
}

inline qint64 identifierAt(const Row& row, const QString& column)
{
    bool ok = false;
    const qint64 id = row.value(column).toLongLong(&ok);
    if (!ok)
        throw StoreError(
            QStringLiteral("The stored identifier \"%1\" is not a number.").arg(row.value(column).toString()));
    return id;
}

}  // namespace store
