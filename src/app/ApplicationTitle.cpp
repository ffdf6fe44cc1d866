#include "ApplicationTitle.h"

namespace velmora {

QString MakeApplicationTitle(const QString& productTitle) {
    constexpr qsizetype longest = 40;
    QString title = productTitle;
    do {
        const qsizetype blank = title.lastIndexOf(QLatin1Char(' '));
        if (blank < 0)
            break;
        title.truncate(blank);
    } while (title.size() > longest);
    return title;
}

} // namespace velmora
