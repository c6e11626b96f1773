// Font substitution and sizing for cell text.
#include "sheet/render/FontResolver.h"

#include "sheet/render/PixelMetrics.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>

#include <mutex>
#include <system_error>

#include <initializer_list>
#include <utility>

namespace sheet::render {
namespace {

struct Substitute {
    const char* requested;
    std::initializer_list<const char*> standIns;  // best first; faces of the same widths
};

const Substitute kSubstitutes[] = {
    {"Century Gothic", {"URW Gothic", "URW Gothic L", "TeX Gyre Adventor"}},
    {"Arial", {"Liberation Sans", "Arimo", "Nimbus Sans", "Nimbus Sans L"}},
    {"Helvetica", {"Liberation Sans", "Nimbus Sans", "Arimo"}},
    {"Times New Roman", {"Liberation Serif", "Tinos", "Nimbus Roman"}},
    {"Courier New", {"Liberation Mono", "Cousine", "Nimbus Mono PS"}},
    {"Calibri", {"Carlito"}},
    {"Cambria", {"Caladea"}},
};

QString lookUpInstalledFamily(const QString& requested)
{
    if (QFontDatabase::hasFamily(requested))
        return requested;
    for (const Substitute& s : kSubstitutes) {
        if (requested.compare(QLatin1String(s.requested), Qt::CaseInsensitive) != 0)
            continue;
        for (const char* standIn : s.standIns)
            if (QFontDatabase::hasFamily(QString::fromLatin1(standIn)))
                return QString::fromLatin1(standIn);
    }
    return requested;
}

}  // namespace

// Asking the font database for a family it does not hold costs a full font configuration match,
// milliseconds each, and every band of a picture asks again for its fonts: the answers are kept for
// the run. Painters on several threads ask at once.
QString installedFamily(const QString& requested)
{
    static std::mutex mutex;
    static QHash<QString, QString> known;
    {
        const std::lock_guard lock(mutex);
        if (const auto found = known.constFind(requested); found != known.constEnd())
            return *found;
    }
    const QString family = lookUpInstalledFamily(requested);
    const std::lock_guard lock(mutex);
    known.insert(requested, family);
    return family;
}

QFont cellFont(const sheet::Font& font)
{
    QFont f(installedFamily(QString::fromStdString(font.name)));
    f.setPixelSize(fontPixelSize(font.size));
    f.setBold(font.bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

FontWarmUp::FontWarmUp(std::vector<std::string> fontNames)
{
    try {
        thread_ = std::thread([names = std::move(fontNames)] {
            // The default cell font resolved and measured: the database is listed on the way.
            QFontMetrics(cellFont(sheet::Font{})).height();
            for (const std::string& name : names) {
                sheet::Font font;
                font.name = name;
                QFontMetrics(cellFont(font)).height();
            }
        });
    } catch (const std::system_error&) {
        // No thread to be had: the first painting gets the fonts ready itself.
    }
}

FontWarmUp::~FontWarmUp()
{
    if (thread_.joinable())
        thread_.join();
}

}  // namespace sheet::render
