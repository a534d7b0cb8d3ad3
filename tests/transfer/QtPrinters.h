#pragma once

#include <QString>
#include <QStringList>
#include <ostream>

// Readable gtest output for Qt strings.
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
