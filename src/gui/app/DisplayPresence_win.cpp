#include "gui/app/DisplayPresence.h"

namespace DisplayPresence {

bool Available() {
    return true;
}

} // namespace DisplayPresence
