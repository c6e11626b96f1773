// Noticing that the roster was changed elsewhere (another window, another computer, a command),
// for a window that follows it. The SQLite file is asked its data version, which moves with every
// change another connection keeps and never with this connection's own, and holds no lock between
// checks. A server announces every change kept through the store's rules (NOTIFY in the change's
// transaction); the connection listens, and a check only takes what the server has already sent.
#pragma once

#include "store/Connection.h"

#include <optional>

namespace store {

class RosterWatch {
public:
    // Watches the connection from now on; it must be open. Throws StoreError.
    explicit RosterWatch(Connection& connection);

    // Whether the roster changed elsewhere since the last check (or since the watch began).
    // Throws StoreError when the store cannot be asked.
    bool changedElsewhere();

private:
    void listen();

    Connection& connection_;
    std::optional<qint64> dataVersion_;
    int reconnectionsSeen_ = 0;
};

}  // namespace store
