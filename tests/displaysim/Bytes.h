#pragma once

#include <QByteArray>

// Bytes written as hexadecimal text, as they appear on the line: H("04 01 49 34 17").
inline QByteArray H(const char* i_sHex) {
    return QByteArray::fromHex(QByteArray(i_sHex));
}

inline QByteArray Spaces(int i_iCount) {
    return QByteArray(i_iCount, ' ');
}
