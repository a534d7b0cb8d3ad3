#include "core/transfer/ServicePassword.h"

namespace ServicePassword {

bool Accepts(const QString& i_sGiven) {
    return i_sGiven.toUpper() == QLatin1String("KQZD");
}

} // namespace ServicePassword
