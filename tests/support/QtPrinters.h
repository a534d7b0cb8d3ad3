#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>

// Readable gtest failures for Qt values: texts in quotes, lists of texts in braces, bytes in the
// hexadecimal form the tests compare against.
inline void PrintTo(const QString& i_sText, std::ostream* o_pStream) {
    *o_pStream << '"' << i_sText.toStdString() << '"';
}

inline void PrintTo(const QStringList& i_list, std::ostream* o_pStream) {
    *o_pStream << '{';
    for (const QString& s : i_list) {
        *o_pStream << " \"" << s.toStdString() << '"';
    }
    *o_pStream << " }";
}

inline void PrintTo(const QByteArray& i_bBytes, std::ostream* o_pStream) {
    *o_pStream << '[' << i_bBytes.toHex(' ').toUpper().toStdString() << ']';
}
