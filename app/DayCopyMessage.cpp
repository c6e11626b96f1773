// The message after a day was copied.
#include "app/DayCopyMessage.h"

#include "store/TimeText.h"

#include <QStringList>

namespace app {
namespace {

constexpr int kListedSkips = 10;

QString timeOrBlank(QTime time) { return time.isValid() ? store::displayTimeText(time) : QStringLiteral("no time"); }

}  // namespace

QString dayCopyMessage(const store::DayCopy& copy)
{
    const QString from = store::weekdayCaption(copy.from);
    int total = 0;
    QStringList parts;
    for (const auto& [day, count] : copy.copied) {
        total += count;
        parts << QStringLiteral("%1 to %2").arg(count).arg(store::weekdayCaption(day));
    }
    QString text;
    if (total == 0 && copy.skipped.empty())
        text = QStringLiteral("%1 has no shifts to copy; nothing was changed.").arg(from);
    else
        text = QStringLiteral("Shifts of %1 copied: %2.").arg(from, parts.join(QStringLiteral(", ")));
    if (!copy.skipped.empty()) {
        QStringList skipped;
        for (std::size_t i = 0; i < copy.skipped.size() && i < kListedSkips; ++i) {
            const store::CopiedShift& shift = copy.skipped[i];
            skipped << QStringLiteral("%1, %2 to %3, on %4")
                           .arg(shift.employee, timeOrBlank(shift.timeIn), timeOrBlank(shift.timeOut),
                                store::weekdayCaption(shift.day));
        }
        QString list = skipped.join(QStringLiteral("; "));
        if (copy.skipped.size() > kListedSkips)
            list += QStringLiteral("; and %1 more").arg(copy.skipped.size() - kListedSkips);
        text += QStringLiteral("\nSkipped %1, which would overlap a shift already there: %2.")
                    .arg(copy.skipped.size())
                    .arg(list);
    }
    return text;
}

std::optional<store::Weekday> weekdayFromName(const QString& name)
{
    for (const store::Weekday day : store::allWeekdays)
        if (store::weekdayCaption(day).compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return day;
    return std::nullopt;
}

}  // namespace app
