#include "core/serial/SerialSettings.h"

#include <QRegularExpression>

std::optional<SerialSettings> SerialSettings::Parse(const QString& i_sSettings) {
    static const QRegularExpression form(QStringLiteral(
        "^\\s*(\\d{1,8})\\s*([noemsNOEMS])\\s*,\\s*([5-8])\\s*,\\s*(1|1\\.5|2)\\s*$"));
    const QRegularExpressionMatch match = form.match(i_sSettings);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    SerialSettings settings;
    settings.baudRate = match.captured(1).toInt();
    if (settings.baudRate <= 0) {
        return std::nullopt;
    }
    settings.parity = match.captured(2).toLower().at(0).toLatin1();
    settings.dataBits = match.captured(3).toInt();
    const QString stop = match.captured(4);
    settings.stopBits = stop == QStringLiteral("1") ? 1 : stop == QStringLiteral("2") ? 2 : 3;
    return settings;
}

std::optional<QString> SerialSettings::FramingOf(const QString& i_sParity) {
    if (i_sParity == QLatin1String("NONE")) {
        return QStringLiteral("n,8,1");
    }
    if (i_sParity == QLatin1String("ODD")) {
        return QStringLiteral("o,7,1");
    }
    if (i_sParity == QLatin1String("EVEN")) {
        return QStringLiteral("e,7,1");
    }
    return std::nullopt;
}
