// The one kind of failure the store raises: its message is the text the error report shows,
// usually the database's own description of what went wrong.
#pragma once

#include <QString>

#include <stdexcept>

namespace store {

class StoreError : public std::runtime_error {
public:
    explicit StoreError(const QString& description) : std::runtime_error(description.toStdString()) {}
    QString description() const { return QString::fromUtf8(what()); }
};

}  // namespace store
