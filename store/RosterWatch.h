// Noticing that the roster was changed elsewhere (another window, another computer, a command),
// for a window that follows it. The SQLite file is asked its data version, which moves with every
// change another connection keeps and never with this connection's own, and holds no lock between
// checks. A server announces every kept change (NOTIFY in the change's transaction), and the
// connection listens; a check then asks nothing of the server.
#pragma once

#include "store/Connection.h"

#include <QObject>

#include <optional>

namespace store {

class RosterWatch : public QObject {
    Q_OBJECT
public:
    // Watches the connection from now on; it must be open.
    explicit RosterWatch(Connection& connection, QObject* parent = nullptr);

    // Whether the roster changed elsewhere since the last check (or since the watch began).
    // Throws StoreError when the file cannot be asked.
    bool changedElsewhere();

signals:
    // A server announced a change; the next check says so.
    void announced();

private:
    void listen();

    Connection& connection_;
    std::optional<qint64> dataVersion_;
    bool announced_ = false;
    int reconnectionsSeen_ = 0;
};

}  // namespace store
