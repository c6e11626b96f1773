// Watching the roster for changes made elsewhere.
#include "store/RosterWatch.h"

#include "store/Dialect.h"

namespace store {

RosterWatch::RosterWatch(Connection& connection) : connection_(connection)
{
    if (connection_.engine() == Engine::SQLite)
        dataVersion_ = connection_.query(dialect::dataVersion()).front().value(0).toLongLong();
    else
        listen();
}

void RosterWatch::listen()
{
    reconnectionsSeen_ = connection_.reconnections();
    connection_.execute(dialect::listenForChanges());
}

bool RosterWatch::changedElsewhere()
{
    if (connection_.engine() != Engine::SQLite) {
        // A connection made again listens no more, and may have missed announcements meanwhile.
        if (connection_.reconnections() != reconnectionsSeen_) {
            listen();
            return true;
        }
        return connection_.takeAnnouncements();
    }
    const qint64 version = connection_.query(dialect::dataVersion()).front().value(0).toLongLong();
    const bool changed = dataVersion_ && version != *dataVersion_;
    dataVersion_ = version;
    return changed;
}

}  // namespace store
