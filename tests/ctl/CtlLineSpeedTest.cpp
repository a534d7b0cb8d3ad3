#include "CtlFixture.h"
#include "support/QtPrinters.h"

// lumoq4ctl closes its port right after writing, and the pty then falls back to its previous
// speed at once: the display judges what it hears by the speed the bytes were written at,
// however late it reads them.

namespace {

QString heard(DisplayEmulator& i_display) {
    return QString::fromLatin1(i_display.ReceivedBytes().toHex(' ').toUpper());
}

} // namespace

TEST_F(CtlFixture, AtAnAgreedSpeedEveryCommandFamilyIsHeardAsSentEvenWhenReadLate) {
    for (const int speed : {9600, 19200}) {
        for (const int readDelayMs : {0, 400}) {
            PtyDisplayOptions options;
            options.lineSpeed = speed;
            options.readDelayMs = readDelayMs;
            Attach(options);
            const QString baud = QString::number(speed);
            const std::string at =
                QString("%1 baud, read %2 ms late").arg(baud).arg(readDelayMs).toStdString();
            // Text that gets no answer, read back; a frame answered with ACK; a query; raw
            // bytes (the path of the EPSON and ASCII pages).
            EXPECT_EQ(Run({"--baud", baud, "send", "HELLO"}).exit, 0) << at;
            const CtlResult message = Run({"--baud", baud, "get"});
            EXPECT_TRUE(message.out.startsWith("HELLO")) << at << message.err.toStdString();
            EXPECT_EQ(Run({"--baud", baud, "cursor", "12"}).exit, 0) << at;
            EXPECT_EQ(Run({"--baud", baud, "version"}).out, "V1.07\n") << at;
            EXPECT_EQ(Run({"--baud", baud, "raw", "1b", "40"}).exit, 0) << at;
            EXPECT_EQ(heard(Display()),
                      "48 45 4C 4C 4F 04 01 54 17 04 01 50 3C 17 04 01 56 17 1B 40")
                << at;
        }
    }
}

TEST_F(CtlFixture, AtAnotherSpeedThanTheDisplaysEveryCommandArrivesGarbled) {
    for (const int readDelayMs : {0, 400}) {
        PtyDisplayOptions options;
        options.lineSpeed = 19200;
        options.readDelayMs = readDelayMs;
        Attach(options);
        EXPECT_EQ(Run({"--baud", "9600", "send", "HI"}).exit, 0);
        const CtlResult version = Run({"--baud", "9600", "version"});
        EXPECT_EQ(version.exit, 4);
        EXPECT_EQ(version.err, "lumoq4ctl: Device does not respond.\n");
        EXPECT_EQ(heard(Display()), "C3 E8 EF 80 C9 AE") << readDelayMs;
    }
}
