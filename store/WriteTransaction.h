// A rule that reads and then writes, held together against other planners doing the same at
// once: begun with the locks its rule needs (see Dialect.h), then kept whole or dropped whole.
#pragma once

#include "store/Connection.h"
#include "store/Dialect.h"

#include <optional>

namespace store {

class WriteTransaction {
public:
    // Never throws: a transaction that cannot begin makes every statement on the connection fail
    // with the reason until it ends, so each step that needs the roster says why, and none runs
    // unguarded. The employee is the one whose shifts the rule reads and writes, when known.
    // Begun while the connection is in a write transaction already, it is a part of that one:
    // kept or dropped on its own, stored only when the enclosing one is kept.
    WriteTransaction(Connection& connection, WriteRule rule, std::optional<qint64> employeeId = std::nullopt);
    // Drops whatever was not kept.
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    // Keeps the change; throws StoreError when it cannot be kept, and then nothing of it is. A
    // transaction that never began has nothing to keep (its steps have said why).
    void commit();
    // Drops the change.
    void rollback() noexcept;

private:
    void end() noexcept;

    Connection& connection_;
    bool began_ = false;
    bool part_ = false;
    bool refused_ = false;
};

}  // namespace store
