// The one kind of failure the store raises: its message is the text the error report shows,
// usually the database's own description of what went wrong, kept whole even where it holds a NUL.
#pragma once

#include "errors/DescribedError.h"

#include <QString>

namespace store {

class StoreError : public errors::DescribedError {
public:
    explicit StoreError(const QString& description) : errors::DescribedError(description.toStdString()) {}
    QString description() const
    {
        const std::string& bytes = wholeDescription();
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
};

// The connection to the server was lost: every step after it that needs the roster fails the same
// way, and the user is told once.
class ConnectionLost : public StoreError {
public:
    using StoreError::StoreError;
};

}  // namespace store
