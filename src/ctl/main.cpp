#include "core/common/AppInfo.h"
#include "ctl/CtlRun.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The window's application name, so that both read the same settings file.
    QCoreApplication::setApplicationName(AppInfo::Name());
    return CtlRun::Main(QCoreApplication::arguments().mid(1));
}
