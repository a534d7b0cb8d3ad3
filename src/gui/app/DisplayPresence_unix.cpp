#include "gui/app/DisplayPresence.h"

#include <QtGlobal>

namespace DisplayPresence {

bool Available() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace DisplayPresence
