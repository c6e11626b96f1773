// Reading typed values out of result rows, with a clear failure for a field that does not fit.
#pragma once

#include "store/Connection.h"
#include "store/StoreError.h"

namespace store {

inline qint64 identifierFrom(const QVariant& field)
{
    bool ok = false;
    const qint64 id = field.toLongLong(&ok);
    if (!ok)
        throw StoreError(QStringLiteral("The stored identifier \"%1\" is not a number.").arg(field.toString()));
    return id;
}

inline qint64 identifierAt(const Row& row, int position) { return identifierFrom(row.value(position)); }

inline qint64 identifierAt(const Row& row, const QString& column) { return identifierFrom(row.value(column)); }

}  // namespace store
