#include "core/common/LumoError.h"

LumoError::LumoError(qint32 i_lNumber, const QString& i_sDescription)
    : m_lNumber(i_lNumber), m_sDescription(i_sDescription), m_sWhat(i_sDescription.toUtf8()) {}
