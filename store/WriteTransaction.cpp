// Write transactions for the rules that read and then write.
#include "store/WriteTransaction.h"

#include "store/StoreError.h"

namespace store {

WriteTransaction::WriteTransaction(Connection& connection, WriteRule rule, std::optional<qint64> employeeId)
    : connection_(connection)
{
    try {
        part_ = connection_.isWriting();
        if (part_)
            connection_.beginPart(rule, employeeId);
        else
            connection_.beginWriting(rule, employeeId);
        began_ = true;
    } catch (const StoreError& failure) {
        connection_.refuseStatements(failure.description());
        refused_ = true;
    }
}

WriteTransaction::~WriteTransaction() { rollback(); }

void WriteTransaction::commit()
{
    if (!began_) {
        end();
        return;
    }
    began_ = false;
    if (part_) {
        connection_.keepPart();
        return;
    }
    // Windows that follow the roster elsewhere hear of the change once it is kept.
    if (const QString announce = dialect::announceChange(connection_.engine()); !announce.isEmpty()) {
        try {
            connection_.execute(announce);
        } catch (const StoreError&) {
            connection_.rollback();
            throw;
        }
    }
    connection_.commit();
}

void WriteTransaction::rollback() noexcept
{
    if (began_ && part_)
        connection_.dropPart();
    else if (began_)
        connection_.rollback();
    began_ = false;
    end();
}

void WriteTransaction::end() noexcept
{
    if (refused_)
        connection_.acceptStatements();
    refused_ = false;
}

}  // namespace store
