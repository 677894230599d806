#include "ui/qt/dialog_template.h"

#include <QFont>
#include <QFontMetrics>

namespace quorlin {

DialogUnits dialogUnitsFor(const QFont& font)
{
    // The average width of the 52 Latin letters, rounded, as the dialog manager
    // measures it.
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters + 26) / 52, metrics.height()};
}

}  // namespace quorlin
