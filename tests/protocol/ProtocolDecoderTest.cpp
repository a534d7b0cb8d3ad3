#include "DecoderScript.h"

#include "core/protocol/EventMeaning.h"
#include "core/protocol/ProtocolDecoder.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// The block carrying "abc" and 125 bytes of padding, without its trailer; the trailer of that
// data is D8 as a checksum and 17 16 as a CRC.
QByteArray abcBlock(quint8 i_cNumber, quint8 i_cComplement) {
    QByteArray block;
    block += '\x01';
    block += static_cast<char>(i_cNumber);
    block += static_cast<char>(i_cComplement);
    block += "abc";
    block += QByteArray(125, '\x1A');
    return block;
}

QByteArray abcBlock(quint8 i_cNumber) {
    return abcBlock(i_cNumber, static_cast<quint8>(0xFF - i_cNumber));
}

void ExpectDecoded(const DecoderScript& i_script, const QStringList& i_expected) {
    EXPECT_EQ(Decode(i_script), i_expected);
    EXPECT_EQ(Disagreements(i_script), QStringList());
}

} // namespace

TEST(ProtocolDecoder, NativeFramesByNameWithTheirAnswers) {
    ExpectDecoded(
        {Out("04 01 49 34 17"),
         In("06"),
         Closed(),
         Out("04 01 43 31 58 17"),
         In("15"),
         Closed(),
         Out("04 01 42 36 4E 17"),
         In("06"),
         Closed(),
         Out("04 01 44 32 33 17"),
         In("06"),
         Closed(),
         Out("04 01 54 17"),
         In("01 48 82 20 20 17"),
         Closed(),
         Out("04 01 56 17"),
         In("56 31 2E 30 37"),
         Closed(),
         Out("04 01 5A 17"),
         In("15"),
         Closed(),
         Out("04 01 49 31 32 33")},
        {QStringLiteral("→ 04 01 49 34 17  set international code 4: Denmark I"),
         QStringLiteral("← 06  ACK"), QStringLiteral("→ 04 01 43 31 58 17  clear cells 1..40"),
         QStringLiteral("← 15  NAK"),
         QStringLiteral("→ 04 01 42 36 4E 17  set baud rate 300 or 38400, parity NONE"),
         QStringLiteral("← 06  ACK"),
         QStringLiteral("→ 04 01 44 32 33 17  demo message: Layer 2, Mode 3 (Blinking)"),
         QStringLiteral("← 06  ACK"), QStringLiteral("→ 04 01 54 17  read the message"),
         QStringLiteral("← 01 48 82 20 20 17  message \"Hé\""),
         QStringLiteral("→ 04 01 56 17  read the version"),
         QStringLiteral("← 56 31 2E 30 37  version \"V1.07\""),
         QStringLiteral("→ 04 01 5A 17  unknown native command \"Z\""), QStringLiteral("← 15  NAK"),
         QStringLiteral("→ 04 01 49 31 32 33  native frame without ETB")});
}

TEST(ProtocolDecoder, EveryOtherNativeCommandOfTheMainWindowByName) {
    ExpectDecoded({Out("04 01 53 32 17"), Out("04 01 50 3C 17"), Out("04 01 4F 31 17"),
                   Out("04 01 42 31 45 17"), Out("04 01 44 37 31 17"), Out("04 01 49 3E 17"),
                   Out("04 01 54 31 17")},
                  {QStringLiteral("→ 04 01 53 32 17  save the message to layer 2"),
                   QStringLiteral("→ 04 01 50 3C 17  cursor to position 12"),
                   QStringLiteral("→ 04 01 4F 31 17  show the saved message after reboot: Running"),
                   QStringLiteral("→ 04 01 42 31 45 17  set baud rate 9600, parity EVEN"),
                   QStringLiteral("→ 04 01 44 37 31 17  demo message: Layer 1 + 2 + 3, Mode 1 "
                                  "(Horizontal Scroll)"),
                   QStringLiteral("→ 04 01 49 3E 17  set international code E: Greek"),
                   QStringLiteral("→ 04 01 54 31 17  native command \"T\" with the wrong number "
                                  "of parameter bytes (1, it takes 0)")});
}

TEST(ProtocolDecoder, EveryEpsonButtonAndListOfTheMainWindowByName) {
    ExpectDecoded(
        {Out("1F 0A 0A 08 09 0B 1F 42 0D 1F 0D 0C 18"), Out("1F 43 30 1F 72 31"),
         Out("1B 53 1B 40 1F 40 1F 02 1B 3D 02")},
        {QStringLiteral("→ 1F 0A  US LF cursor up"), QStringLiteral("→ 0A  LF cursor down"),
         QStringLiteral("→ 08  BS cursor left"), QStringLiteral("→ 09  HT cursor right"),
         QStringLiteral("→ 0B  HOM cursor home"),
         QStringLiteral("→ 1F 42  US B cursor to the bottom position"),
         QStringLiteral("→ 0D  CR cursor to the left end"),
         QStringLiteral("→ 1F 0D  US CR cursor to the right end"),
         QStringLiteral("→ 0C  CLR clear the screen"), QStringLiteral("→ 18  CAN clear the line"),
         QStringLiteral("→ 1F 43 30  US C cursor off"),
         QStringLiteral("→ 1F 72 31  US r reverse characters"),
         QStringLiteral("→ 1B 53  ESC S aux device off"),
         QStringLiteral("→ 1B 40  ESC @ initialise"), QStringLiteral("→ 1F 40  US @ self-test"),
         QStringLiteral("→ 1F 02  US MD2 vertical-scroll mode"),
         QStringLiteral("→ 1B 3D 02  ESC = 2 output to display")});
}

TEST(ProtocolDecoder, RepliesCutShortByAClosedPortSaySo) {
    ExpectDecoded({Out("04 01 54 17"), In("01 48 49"), Closed(), Out("1B 4C 6F 61 64"),
                   InBytes("\r\nLumo"), Closed(), Hint(LineContext::Vt100), Out("1B 5B 30 63"),
                   In("1B 5B 3F 31"), Closed()},
                  {QStringLiteral("→ 04 01 54 17  read the message"),
                   QStringLiteral("← 01 48 49  message \"HI\" (cut short)"),
                   QStringLiteral("→ 1B 4C 6F 61 64  ESC \"Load\" enter the loader"),
                   QStringLiteral("← 0D 0A 4C 75 6D 6F  loader prompt \"Lumo\" (cut short)"),
                   QStringLiteral("→ 1B 5B 30 63  ESC [0c identification request"),
                   QStringLiteral("← 1B 5B 3F 31  identification \"[?1\" (cut short)")});
}

TEST(ProtocolDecoder, TextCellsEpsonSequencesAndThePrinterPassThrough) {
    ExpectDecoded(
        {Out("48 82 4C 4C 4F"), Out("1F 24 14 02"), Out("1B 52 0B"), Out("1F 43 31"), Out("0C"),
         Out("B2 B2 B2"), Out("1B 74 07"), Out("1F 45 C8"), Out("1B 3D 03"),
         Out("1B 47 61 62 0D 1B 53"), Out("41 04 43"), Closed()},
        {QStringLiteral("→ 48 82 4C 4C 4F  text \"HéLLO\""),
         QStringLiteral("→ 1F 24 14 02  US $ cursor to column 20, line 2"),
         QStringLiteral("→ 1B 52 0B  ESC R 11 national character set B: East Europe"),
         QStringLiteral("→ 1F 43 31  US C cursor on"), QStringLiteral("→ 0C  CLR clear the screen"),
         QStringLiteral("→ B2 B2 B2  3 cells fully lit"),
         QStringLiteral("→ 1B 74 07  ESC t 7 character code table 7"),
         QStringLiteral("→ 1F 45 C8  US E 200 blink interval 200"),
         QStringLiteral("→ 1B 3D 03  ESC = 3 output to both"),
         QStringLiteral("→ 1B 47  ESC G aux device on (pass-through)"),
         QStringLiteral("→ 61 62 0D  to the aux device \"ab<0D>\""),
         QStringLiteral("→ 1B 53  ESC S aux device off"), QStringLiteral("→ 41  text \"A\""),
         QStringLiteral("→ 04  unknown"), QStringLiteral("→ 43  text \"C\"")});
}

TEST(ProtocolDecoder, LoaderDialogueThenCrcBlocksAndTheReboot) {
    const QByteArray good1 = abcBlock(1) + QByteArray::fromHex("1716");
    const QByteArray bad2 = abcBlock(2) + QByteArray::fromHex("1717");
    const QByteArray good2 = abcBlock(2) + QByteArray::fromHex("1716");
    ExpectDecoded(
        {Out("1B 4C 6F 61 64"), InBytes("\r\nLumoQ4 loader\r\n>"), Out("58 41 0D"),
         InBytes("\r\nXModem ready\r\n>"), Out("50 58 0D 0A"), In("43"), OutBytes(good1), In("06"),
         OutBytes(bad2), In("15"), OutBytes(good2), In("06"), Out("04"), In("06"), Out("1B"),
         Out("52 0D"), Closed(), Out("04 01 49 34 17"), In("06")},
        {QStringLiteral("→ 1B 4C 6F 61 64  ESC \"Load\" enter the loader"),
         QStringLiteral("← 0D 0A 4C 75 6D 6F 51 34 20 6C 6F 61 64 65 72 0D 0A 3E  loader prompt "
                        "\"LumoQ4 loader >\""),
         QStringLiteral("→ 58 41 0D  \"XA\" get ready for XModem"),
         QStringLiteral("← 0D 0A 58 4D 6F 64 65 6D 20 72 65 61 64 79 0D 0A 3E  loader prompt "
                        "\"XModem ready >\""),
         QStringLiteral("→ 50 58 0D 0A  \"PX\" receive an encrypted image"),
         QStringLiteral("← 43  start request, CRC"),
         QStringLiteral("→ ") + HexOf(good1) + QStringLiteral("  block 1, CRC right"),
         QStringLiteral("← 06  ACK"),
         QStringLiteral("→ ") + HexOf(bad2) + QStringLiteral("  block 2, CRC wrong"),
         QStringLiteral("← 15  NAK"),
         QStringLiteral("→ ") + HexOf(good2) + QStringLiteral("  block 2, CRC right"),
         QStringLiteral("← 06  ACK"), QStringLiteral("→ 04  EOT end of transmission"),
         QStringLiteral("← 06  ACK"),
         QStringLiteral("→ 1B 52 0D  ESC \"R\" CR reboot into the new image"),
         QStringLiteral("→ 04 01 49 34 17  set international code 4: Denmark I"),
         QStringLiteral("← 06  ACK")});
}

TEST(ProtocolDecoder, ChecksumBlocksAskedForWithNakABadComplementAndTheAbort) {
    const QByteArray good1 = abcBlock(1) + QByteArray::fromHex("D8");
    const QByteArray badNumber = abcBlock(2, 0xFC) + QByteArray::fromHex("D8");
    ExpectDecoded(
        {Out("1B 4C 6F 61 64"), InBytes(">"), Out("5A 58 0D"), In("15"), Out("0A"), OutBytes(good1),
         In("06"), OutBytes(badNumber), In("15"), In("18"), Out("18 18"), Out("1B 4C 6F 61 64")},
        {QStringLiteral("→ 1B 4C 6F 61 64  ESC \"Load\" enter the loader"),
         QStringLiteral("← 3E  loader prompt \">\""),
         QStringLiteral("→ 5A 58 0D  \"ZX\" receive a plain image"),
         QStringLiteral("← 15  start request, checksum"),
         QStringLiteral("→ 0A  LF, the end of the loader line"),
         QStringLiteral("→ ") + HexOf(good1) + QStringLiteral("  block 1, checksum right"),
         QStringLiteral("← 06  ACK"),
         QStringLiteral("→ ") + HexOf(badNumber) +
             QStringLiteral("  block 2, complement FC does not match, checksum right"),
         QStringLiteral("← 15  NAK"), QStringLiteral("← 18  CAN cancel"),
         QStringLiteral("→ 18  CAN cancel"), QStringLiteral("→ 18  CAN cancel"),
         QStringLiteral("→ 1B 4C 6F 61 64  ESC \"Load\" enter the loader")});
}

TEST(ProtocolDecoder, Vt100SequencesAndTheDisplaysAnswers) {
    const QByteArray screen = QByteArray("HI") + QByteArray(78, ' ');
    ExpectDecoded({Hint(LineContext::Vt100), Out("1B 5B 32 4A"), Out("41 42 0D"),
                   Out("1B 5B 33 3B 37 48"), Out("1B 52 0B"), Out("1B 42 33"), Out("1B 5B 30 63"),
                   InBytes("\x1b[?1;2;3;4;5c"), Out("1B 54"), InBytes(screen), Out("1B 5B 48"),
                   Out("0C")},
                  {QStringLiteral("→ 1B 5B 32 4A  ESC [2J clear the screen"),
                   QStringLiteral("→ 41 42  text \"AB\""), QStringLiteral("→ 0D  CR"),
                   QStringLiteral("→ 1B 5B 33 3B 37 48  ESC [3;7H cursor to line 3, column 7"),
                   QStringLiteral("→ 1B 52 0B  ESC R 11 country code 0B - Spain 2"),
                   QStringLiteral("→ 1B 42 33  ESC B 3 brightness 25%"),
                   QStringLiteral("→ 1B 5B 30 63  ESC [0c identification request"),
                   QStringLiteral("← 1B 5B 3F 31 3B 32 3B 33 3B 34 3B 35 63  identification "
                                  "\"[?1;2;3;4;5c\""),
                   QStringLiteral("→ 1B 54  ESC T read the screen"),
                   QStringLiteral("← ") + HexOf(screen) + QStringLiteral("  screen \"HI\""),
                   QStringLiteral("→ 1B 5B 48  unknown"), QStringLiteral("→ 0C  text \"<0C>\"")});
}

TEST(ProtocolDecoder, BytesThatFitNothingAreShownAsUnknown) {
    ExpectDecoded({Out("00 01 41"), In("A7 3C 06"), Out("1B 5B 32")},
                  {QStringLiteral("→ 00 01  unknown"), QStringLiteral("→ 41  text \"A\""),
                   QStringLiteral("← A7 3C  unknown"), QStringLiteral("← 06  ACK"),
                   QStringLiteral("→ 1B 5B  unknown"), QStringLiteral("→ 32  text \"2\"")});
}

TEST(ProtocolDecoderContext, HalfSequenceWaitsAcrossClosedPortsButNotAcrossAHint) {
    // The VT100 window sends the brightness one byte per opening of the port.
    ExpectDecoded({Hint(LineContext::Vt100), Out("1B"), Closed(), Out("42"), Closed(), Out("33"),
                   Closed(), Out("1B 5B 31"), Hint(LineContext::Display), Out("1F 40")},
                  {QStringLiteral("→ 1B 42 33  ESC B 3 brightness 25%"),
                   QStringLiteral("→ 1B 5B 31  incomplete"),
                   QStringLiteral("→ 1F 40  US @ self-test")});
}

TEST(ProtocolDecoderContext, TheCallersCheckKindDecidesTheBlocks) {
    // The same 132 bytes end a checksum block, or wait for the second trailer byte of a CRC
    // block: the kind the caller gives decides.
    const QByteArray block = abcBlock(1) + QByteArray::fromHex("D8");
    ExpectDecoded(
        {Hint(LineContext::XModemChecksum), OutBytes(block), In("06"), Out("04")},
        {QStringLiteral("→ ") + HexOf(block) + QStringLiteral("  block 1, checksum right"),
         QStringLiteral("← 06  ACK"), QStringLiteral("→ 04  EOT end of transmission")});
    ExpectDecoded({Hint(LineContext::XModemCrc), OutBytes(block + QByteArray::fromHex("16"))},
                  {QStringLiteral("→ ") + HexOf(block + QByteArray::fromHex("16")) +
                   QStringLiteral("  block 1, CRC wrong")});
}

TEST(ProtocolDecoderContext, EventsCarryTheTagOfTheirFirstByteAndPeekChangesNothing) {
    ProtocolDecoder decoder;
    EXPECT_TRUE(decoder.Feed(LineDirection::ToDisplay, QByteArray::fromHex("0401"), 1).empty());
    const ProtocolEvents frame =
        decoder.Feed(LineDirection::ToDisplay, QByteArray::fromHex("493417"), 2);
    ASSERT_EQ(frame.size(), 1u);
    EXPECT_EQ(frame[0].tag, 1u);

    EXPECT_TRUE(decoder.Feed(LineDirection::ToDisplay, "HE", 3).empty());
    const ProtocolEvents peeked = decoder.Peek();
    ASSERT_EQ(peeked.size(), 1u);
    EXPECT_EQ(EventMeaning::Of(peeked[0]), QStringLiteral("text \"HE\""));
    decoder.Feed(LineDirection::ToDisplay, "LLO", 4);
    const ProtocolEvents text = decoder.Boundary();
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(text[0].bytes, QByteArray("HELLO"));
    EXPECT_EQ(text[0].tag, 3u);
}
