#include "gui/widgets/PlainToolTip.h"

#include "core/common/ControlText.h"

#include <QStringList>
#include <QTextDocument>

namespace PlainToolTip {

QString Of(const QString& i_sText) {
    QStringList lines = i_sText.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        line = ControlText::Escaped(line);
    }
    const QString tip = lines.join(QLatin1Char('\n'));
    return Qt::mightBeRichText(tip) ? Qt::convertFromPlainText(tip) : tip;
}

} // namespace PlainToolTip
