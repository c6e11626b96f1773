// Watching the roster for changes made elsewhere.
#include "store/RosterWatch.h"

#include "store/Dialect.h"

#include <QSqlDatabase>
#include <QSqlDriver>

namespace store {

RosterWatch::RosterWatch(Connection& connection, QObject* parent) : QObject(parent), connection_(connection)
{
    if (connection_.engine() == Engine::SQLite)
        dataVersion_ = connection_.query(dialect::dataVersion()).front().value(0).toLongLong();
    else
        listen();
}

void RosterWatch::listen()
{
    QSqlDriver* driver = QSqlDatabase::database(connection_.connectionName(), false).driver();
    if (!driver)
        return;
    if (!driver->subscribedToNotifications().contains(dialect::changeChannel()))
        driver->subscribeToNotification(dialect::changeChannel());
    connect(driver, &QSqlDriver::notification, this,
            [this](const QString& name, QSqlDriver::NotificationSource source, const QVariant&) {
                if (name == dialect::changeChannel() && source != QSqlDriver::SelfSource) {
                    announced_ = true;
                    emit announced();
                }
            },
            Qt::UniqueConnection);
}

bool RosterWatch::changedElsewhere()
{
    if (connection_.engine() != Engine::SQLite) {
        // A connection made again has lost its subscription, and may have missed announcements.
        if (connection_.reconnections() != reconnectionsSeen_) {
            reconnectionsSeen_ = connection_.reconnections();
            listen();
            announced_ = true;
        }
        const bool changed = announced_;
        announced_ = false;
        return changed;
    }
    const qint64 version = connection_.query(dialect::dataVersion()).front().value(0).toLongLong();
    const bool changed = dataVersion_ && version != *dataVersion_;
    dataVersion_ = version;
    return changed;
}

}  // namespace store
