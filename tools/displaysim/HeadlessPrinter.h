#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class DisplayEmulator;

// Prints the screen to standard output whenever it changes, for scripts:
//
//   +--------------------+
//   |HI                  |
//   |                    |
//   +--------------------+ cursor 1,3 display
//
// and each new journal line to standard error.
class HeadlessPrinter : public QObject {
    Q_OBJECT
public:
    explicit HeadlessPrinter(const DisplayEmulator& i_emulator, QObject* i_pParent = nullptr);

    // Prints the screen if it differs from the last one printed.
    void Refresh();

    // The block as printed.
    static QString Render(const DisplayEmulator& i_emulator);

private:
    const DisplayEmulator& m_emulator;
    QString m_sLast;
    quint64 m_lLogPrinted = 0;
};
