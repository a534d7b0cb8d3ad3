#include "Bytes.h"
#include "DisplayEmulator.h"

#include <gtest/gtest.h>

namespace {
// The block carrying "abc" and 125 bytes of padding, without its trailer.
QByteArray abcBlock(quint8 i_cNumber = 1) {
    QByteArray block;
    block += '\x01';
    block += static_cast<char>(i_cNumber);
    block += static_cast<char>(0xFF - i_cNumber);
    block += "abc";
    block += QByteArray(125, '\x1A');
    return block;
}

QByteArray dataBlock(quint8 i_cNumber, char i_cFill, bool i_blnCrc) {
    QByteArray block;
    block += '\x01';
    block += static_cast<char>(i_cNumber);
    block += static_cast<char>(0xFF - i_cNumber);
    const QByteArray data(128, i_cFill);
    block += data;
    // The trailer is worked out here bit by bit, independently of the code under test.
    if (i_blnCrc) {
        quint16 crc = 0;
        for (const char c : data) {
            crc ^= static_cast<quint16>(static_cast<quint8>(c) << 8);
            for (int i = 0; i < 8; ++i) {
                crc = (crc & 0x8000) ? static_cast<quint16>((crc << 1) ^ 0x1021)
                                     : static_cast<quint16>(crc << 1);
            }
        }
        block += static_cast<char>(crc >> 8);
        block += static_cast<char>(crc & 0xFF);
    } else {
        quint8 sum = 0;
        for (const char c : data) {
            sum = static_cast<quint8>(sum + static_cast<quint8>(c));
        }
        block += static_cast<char>(sum);
    }
    return block;
}

DisplayEmulator::Options loaderOptions(bool i_blnCrc, XModemReceiver::Faults i_faults = {}) {
    DisplayEmulator::Options options;
    options.crc = i_blnCrc;
    options.transferFaults = i_faults;
    return options;
}

// Walks the loader dialogue up to the receiver's start request.
QByteArray enterTransfer(DisplayEmulator& io_display, const char* i_sKindLine = "50 58 0D 0A") {
    const QByteArray first = io_display.Receive(H("1B 4C 6F 61 64")); // ESC "Load"
    EXPECT_TRUE(first.contains('>'));
    const QByteArray second = io_display.Receive(H("58 41 0D")); // "XA" CR
    EXPECT_TRUE(second.contains('>'));
    return io_display.Receive(H(i_sKindLine));
}
} // namespace

TEST(LoaderDialogue, PromptsThenStartRequestOfTheChosenKind) {
    DisplayEmulator crc(loaderOptions(true));
    EXPECT_EQ(enterTransfer(crc), H("43"));
    EXPECT_EQ(crc.CurrentMode(), DisplayEmulator::Mode::Loader);
    EXPECT_EQ(crc.Loader()->ImageKind(), 'P');

    DisplayEmulator checksum(loaderOptions(false));
    EXPECT_EQ(enterTransfer(checksum, "5A 58 0D 0A"), H("15"));
    EXPECT_EQ(checksum.Loader()->ImageKind(), 'Z');
}

TEST(LoaderDialogue, ImageCommandBeforeXaIsNotUnderstood) {
    DisplayEmulator display;
    display.Receive(H("1B 4C 6F 61 64"));
    const QByteArray answer = display.Receive(H("50 58 0D 0A"));
    EXPECT_TRUE(answer.contains('?'));
    EXPECT_FALSE(display.Loader()->Transferring());
}

TEST(LoaderDialogue, StartRequestRepeatsUntilTheFirstBlock) {
    DisplayEmulator display(loaderOptions(true));
    EXPECT_TRUE(display.Poll().isEmpty()); // not in the loader yet
    enterTransfer(display);
    EXPECT_EQ(display.Poll(), H("43"));
    EXPECT_EQ(display.Poll(), H("43"));
    display.Receive(abcBlock() + H("17 16"));
    EXPECT_TRUE(display.Poll().isEmpty());
}

TEST(XModemReceiver, AcceptsGoodBlocksWithEitherTrailer) {
    DisplayEmulator crc(loaderOptions(true));
    enterTransfer(crc);
    EXPECT_EQ(crc.Receive(abcBlock() + H("17 16")), H("06"));

    DisplayEmulator checksum(loaderOptions(false));
    enterTransfer(checksum);
    EXPECT_EQ(checksum.Receive(abcBlock() + H("D8")), H("06"));
    EXPECT_EQ(checksum.ReceivedImage(), QByteArray("abc") + QByteArray(125, '\x1A'));
}

TEST(XModemReceiver, BlockArrivingInPiecesIsAnsweredOnce) {
    DisplayEmulator display(loaderOptions(true));
    enterTransfer(display);
    const QByteArray block = abcBlock() + H("17 16");
    EXPECT_TRUE(display.Receive(block.left(3)).isEmpty());
    EXPECT_TRUE(display.Receive(block.mid(3, 128)).isEmpty());
    EXPECT_EQ(display.Receive(block.mid(131)), H("06"));
}

TEST(XModemReceiver, RefusesBadTrailerComplementAndNumber) {
    DisplayEmulator display(loaderOptions(true));
    enterTransfer(display);
    EXPECT_EQ(display.Receive(abcBlock() + H("17 17")), H("15"));
    QByteArray badComplement = abcBlock() + H("17 16");
    badComplement[2] = '\xFD';
    EXPECT_EQ(display.Receive(badComplement), H("15"));
    EXPECT_EQ(display.Receive(dataBlock(2, 'x', true)), H("15")); // block 2 before block 1
    EXPECT_TRUE(display.ReceivedImage().isEmpty());
    EXPECT_EQ(display.Receive(abcBlock() + H("17 16")), H("06"));
    EXPECT_EQ(display.ReceivedImage().size(), 128);
}

TEST(XModemReceiver, RepeatedBlockIsAcknowledgedButKeptOnce) {
    DisplayEmulator display(loaderOptions(false));
    enterTransfer(display);
    EXPECT_EQ(display.Receive(dataBlock(1, 'x', false)), H("06"));
    EXPECT_EQ(display.Receive(dataBlock(1, 'x', false)), H("06"));
    EXPECT_EQ(display.Receive(dataBlock(2, 'y', false)), H("06"));
    EXPECT_EQ(display.ReceivedImage(), QByteArray(128, 'x') + QByteArray(128, 'y'));
}

TEST(XModemReceiver, EotThenRebootIntoTheNewImage) {
    DisplayEmulator display(loaderOptions(true));
    enterTransfer(display);
    display.Receive(abcBlock() + H("17 16"));
    EXPECT_EQ(display.Receive(H("04")), H("06"));
    EXPECT_TRUE(display.ImageComplete());
    EXPECT_TRUE(display.Receive(H("1B 52 0D")).isEmpty()); // ESC "R" CR
    EXPECT_EQ(display.CurrentMode(), DisplayEmulator::Mode::Display);
    EXPECT_EQ(display.Reboots(), 1);
    EXPECT_TRUE(display.ImageComplete());
    EXPECT_EQ(display.ReceivedImage().left(3), QByteArray("abc"));
    // Back in the display's own command set.
    EXPECT_EQ(display.Receive(H("04 01 49 34 17")), H("06"));
}

TEST(XModemFaults, NakTheFirstBlocks) {
    XModemReceiver::Faults faults;
    faults.nakFirstBlocks = 2;
    DisplayEmulator display(loaderOptions(true, faults));
    enterTransfer(display);
    EXPECT_EQ(display.Receive(abcBlock() + H("17 16")), H("15"));
    EXPECT_EQ(display.Receive(abcBlock() + H("17 16")), H("15"));
    EXPECT_EQ(display.Receive(abcBlock() + H("17 16")), H("06"));
}

TEST(XModemFaults, CancelAtBlock) {
    XModemReceiver::Faults faults;
    faults.cancelAtBlock = 2;
    DisplayEmulator display(loaderOptions(false, faults));
    enterTransfer(display);
    EXPECT_EQ(display.Receive(dataBlock(1, 'x', false)), H("06"));
    EXPECT_EQ(display.Receive(dataBlock(2, 'x', false)), H("18"));
    EXPECT_TRUE(display.Receive(H("04")).isEmpty());
    display.Receive(H("1B 52 0D"));
    EXPECT_EQ(display.Reboots(), 1);
    EXPECT_FALSE(display.ImageComplete());
    EXPECT_EQ(display.ReceivedImage().size(), 128);
}

TEST(XModemFaults, SilentFromBlockButStillTakesTheReboot) {
    XModemReceiver::Faults faults;
    faults.silentAtBlock = 2;
    DisplayEmulator display(loaderOptions(false, faults));
    enterTransfer(display);
    EXPECT_EQ(display.Receive(dataBlock(1, 'x', false)), H("06"));
    EXPECT_TRUE(display.Receive(dataBlock(2, 'x', false)).isEmpty());
    EXPECT_TRUE(display.Receive(dataBlock(2, 'x', false)).isEmpty());
    EXPECT_TRUE(display.Receive(H("04")).isEmpty());
    display.Receive(H("1B 52 0D"));
    EXPECT_EQ(display.CurrentMode(), DisplayEmulator::Mode::Display);
}

TEST(XModemFaults, CBeforeAckOnceThenNormal) {
    XModemReceiver::Faults faults;
    faults.cBeforeAckAtBlock = 1;
    DisplayEmulator display(loaderOptions(true, faults));
    enterTransfer(display);
    EXPECT_EQ(display.Receive(abcBlock() + H("17 16")), H("43 06"));
    EXPECT_EQ(display.Receive(abcBlock() + H("17 16")), H("06"));
    EXPECT_EQ(display.ReceivedImage().size(), 128);
}

TEST(XModemReceiver, CanFromTheSenderDropsThePartAndTheLoaderTakesTheFileAgain) {
    DisplayEmulator display(loaderOptions(false));
    enterTransfer(display);
    EXPECT_EQ(display.Receive(dataBlock(1, 'x', false)), H("06"));
    EXPECT_TRUE(display.Receive(H("18 18")).isEmpty());
    EXPECT_TRUE(display.ReceivedImage().isEmpty());
    EXPECT_FALSE(display.ImageComplete());
    EXPECT_EQ(display.CurrentMode(), DisplayEmulator::Mode::Loader);
    EXPECT_EQ(display.LineText(1).trimmed(), "CANCELLED");
    EXPECT_TRUE(display.Poll().isEmpty()); // no start request until the file is asked for again

    EXPECT_EQ(enterTransfer(display), H("15"));
    EXPECT_EQ(display.Receive(dataBlock(1, 'y', false)), H("06"));
    EXPECT_EQ(display.Receive(H("04")), H("06"));
    display.Receive(H("1B 52 0D"));
    EXPECT_EQ(display.Reboots(), 1);
    EXPECT_TRUE(display.ImageComplete());
    EXPECT_EQ(display.ReceivedImage(), QByteArray(128, 'y'));
}
