// Reporting for the error trap.
#include "app/Trap.h"

#include "app/ErrorReport.h"

#include "store/StoreError.h"

namespace app {

QString currentFailureDescription()
{
    try {
        throw;
    } catch (const errors::DescribedError& e) {
        return fromSystemBytes(e.wholeDescription());
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown failure");
    }
}

Trap::Trap(const QString& owner, const QString& procedure) : label_(errorSourceLabel(owner, procedure)) {}

void Trap::reportCurrent(int line)
{
    bool lostConnection = false;
    try {
        throw;
    } catch (const store::ConnectionLost&) {
        lostConnection = true;
    } catch (...) {
    }
    if (lostConnection && lostConnectionShown_) {
        ++failures_;
        return;
    }
    lostConnectionShown_ = lostConnectionShown_ || lostConnection;
    report(line, currentFailureDescription());
}

void Trap::report(int line, const QString& description)
{
    ++failures_;
    ShowApplicationError(label_, line, description);
}

}  // namespace app
