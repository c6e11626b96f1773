// Showing control characters and stray bytes.
#include "app/VisibleText.h"

namespace app {

QString visibleText(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const bool pairedLow = i > 0 && QChar::isHighSurrogate(text[i - 1].unicode());
        int hidden = -1;
        if (unit < 0x20 || (unit >= 0x7F && unit <= 0x9F))
            hidden = unit;
        else if (unit >= 0xDC80 && unit <= 0xDCFF && !pairedLow)
            hidden = unit - 0xDC00;
        if (hidden < 0)
            shown += text[i];
        else
            shown += QStringLiteral("\\x") + QString::number(hidden, 16).toUpper().rightJustified(2, QLatin1Char('0'));
    }
    return shown;
}

}  // namespace app
