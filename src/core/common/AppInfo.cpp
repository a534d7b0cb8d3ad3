#include "core/common/AppInfo.h"

#include <QCoreApplication>
#include <QDir>

namespace AppInfo {

QString Name() {
    return QStringLiteral("LumoQ4 Utility");
}

QString Title() {
    return QStringLiteral("%1 V%2.%3R%4")
        .arg(Name())
        .arg(LUMOQ4_VERSION_MAJOR)
        .arg(LUMOQ4_VERSION_MINOR)
        .arg(LUMOQ4_VERSION_PATCH);
}

QString ProgramFolder() {
    if (QCoreApplication::instance() == nullptr) {
        return QDir::currentPath();
    }
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

} // namespace AppInfo
