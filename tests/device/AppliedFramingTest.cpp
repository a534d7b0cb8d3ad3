// The line settings a driver reports after the open, held against the settings text.
#include "core/serial/AppliedFraming.h"

#include <QStringList>
#include <gtest/gtest.h>

#ifdef Q_OS_UNIX

namespace {

// Line settings as a driver would report them.
termios Line(speed_t i_speed, tcflag_t i_cflag) {
    termios line{};
    ::cfsetispeed(&line, i_speed);
    ::cfsetospeed(&line, i_speed);
    line.c_cflag |= i_cflag;
    return line;
}

SerialSettings Wanted(const char* i_pText) {
    return *SerialSettings::Parse(QString::fromLatin1(i_pText));
}

TEST(AppliedFraming, EverythingAppliedLeavesNothingToSay) {
    EXPECT_EQ(AppliedFraming::NotApplied(Line(B19200, CS8), Wanted("19200n,8,1")), QStringList());
    EXPECT_EQ(AppliedFraming::NotApplied(Line(B4800, CS7 | PARENB | PARODD), Wanted("4800o,7,1")),
              QStringList());
    EXPECT_EQ(AppliedFraming::NotApplied(Line(B600, CS7 | PARENB), Wanted("600e,7,1")),
              QStringList());
}

TEST(AppliedFraming, ParityAndDataBitsThatDidNotTakeAreNamed) {
    // A driver that kept 8 data bits and no parity when odd parity with 7 was asked.
    EXPECT_EQ(AppliedFraming::NotApplied(Line(B19200, CS8), Wanted("19200o,7,1")),
              (QStringList{"7 data bits (the port has 8)", "odd parity (the port has no parity)"}));
    EXPECT_EQ(AppliedFraming::NotApplied(Line(B19200, CS7 | PARENB | PARODD), Wanted("19200e,7,1")),
              QStringList{"even parity (the port has odd parity)"});
}

TEST(AppliedFraming, RateAndStopBitsThatDidNotTakeAreNamed) {
    EXPECT_EQ(AppliedFraming::NotApplied(Line(B9600, CS8), Wanted("19200n,8,1")),
              QStringList{"19200 baud (the port runs at 9600)"});
    termios split = Line(B19200, CS8);
    ::cfsetispeed(&split, B2400); // only the receive side kept its old rate
    EXPECT_EQ(AppliedFraming::NotApplied(split, Wanted("19200n,8,1")),
              QStringList{"19200 baud (the port runs at 2400)"});
    EXPECT_EQ(AppliedFraming::NotApplied(Line(B19200, CS8 | CSTOPB), Wanted("19200n,8,1")),
              QStringList{"1 stop bit (the port has 2)"});
}

} // namespace

#endif
