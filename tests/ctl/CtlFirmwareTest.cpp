#include "CtlFixture.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>
#include <csignal>

namespace {

class CtlFirmware : public CtlFixture {
protected:
    void SetUp() override {
        CtlFixture::SetUp();
        ASSERT_TRUE(m_folder.isValid());
        m_sImage = WriteFile("image.bin", QByteArray(600, '\x5A')); // five blocks, the last padded
        m_environment.emplace_back("LUMOQ4_SERVICE_PASSWORD", "kqzd");
    }

    // A file of the test's folder holding i_bContent; its path.
    QString WriteFile(const QString& i_sName, const QByteArray& i_bContent) {
        const QString path = m_folder.filePath(i_sName);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(i_bContent);
        return path;
    }

    QTemporaryDir m_folder;
    QString m_sImage;
};

} // namespace

TEST_F(CtlFirmware, ImageArrivesWholeAndTheRunSaysSo) {
    Attach();
    const CtlResult result = Run({"--json", "firmware", m_sImage, "--crc", "--type", "zx"});
    EXPECT_EQ(result.exit, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, QString("{\"command\":\"firmware\",\"port\":\"%1\",\"status\":0,\"text\":"
                                  "\"Firmware Update OK!\",\"blocks\":5,\"accepted\":5,"
                                  "\"outcome\":\"complete\",\"exit\":0}\n")
                              .arg(Slave()));
    EXPECT_EQ(Display().ReceivedImage(), QByteArray(600, '\x5A') + QByteArray(40, '\x1A'));
    EXPECT_TRUE(m_pDisplay->Received().startsWith("\x1BLoadXA\rZX\r\n"));
    EXPECT_TRUE(m_pDisplay->Received().endsWith("\x04\x1B\x52\x0D"));
}

TEST_F(CtlFirmware, ProgressWithoutATerminalIsALineAtEachTenth) {
    Attach();
    const CtlResult result = Run({"firmware", m_sImage, "--crc"});
    EXPECT_EQ(result.exit, 0);
    EXPECT_EQ(result.out, "Firmware Update OK!\n");
    const QStringList lines = result.err.trimmed().split('\n');
    EXPECT_LE(lines.size(), 10);
    EXPECT_EQ(lines.last(), "firmware: 100 %, block 5 of 5");
    for (const QString& line : lines) {
        EXPECT_TRUE(line.startsWith("firmware: ") && line.endsWith(" of 5")) << line.toStdString();
    }
}

TEST_F(CtlFirmware, SigintStopsTheRunWithTheAbortAndOneHundredThirty) {
    Attach();
    WriteFile("image.bin", QByteArray(128 * 40, '\x33'));
    bool sent = false;
    const CtlResult result = Run({"firmware", m_sImage, "--crc"}, [&](QProcess& process) {
        // Interrupted once the third block has reached the display.
        if (!sent && m_pDisplay->Received().count(QByteArray("\x01\x03\xFC")) == 1) {
            ::kill(static_cast<pid_t>(process.processId()), SIGINT);
            sent = true;
        }
    });
    EXPECT_TRUE(sent);
    EXPECT_EQ(result.exit, 130);
    EXPECT_TRUE(m_pDisplay->Received().endsWith(QByteArray("\x18\x18")))
        << Received().right(60).toStdString();
    EXPECT_FALSE(m_pDisplay->Received().contains(QByteArray("\x1B\x52\x0D")));
    EXPECT_TRUE(Display().ReceivedImage().isEmpty());
    EXPECT_TRUE(result.err.contains("the transfer was stopped at block"))
        << result.err.toStdString();
}

TEST_F(CtlFirmware, WrongPasswordIsRefusedBeforeTheLine) {
    Attach();
    m_environment.back().second = "guess";
    const CtlResult result = Run({"--json", "firmware", m_sImage});
    EXPECT_EQ(result.exit, 77);
    EXPECT_EQ(result.err, "lumoq4ctl: Invalid Password!\n");
    EXPECT_EQ(result.out, QString("{\"command\":\"firmware\",\"port\":\"%1\",\"text\":\"Invalid "
                                  "Password!\",\"exit\":77}\n")
                              .arg(Slave()));
    EXPECT_EQ(Received(), "");
}

TEST_F(CtlFirmware, PasswordComesFromTheFileBeforeTheEnvironment) {
    Attach();
    const QString secret = WriteFile("secret", "nope\n");
    const CtlResult result = Run({"firmware", m_sImage, "--password-file", secret});
    EXPECT_EQ(result.exit, 77);
}

TEST_F(CtlFirmware, UnreadableFileEndsWithSixtySixAndNothingOnTheLine) {
    Attach();
    const CtlResult result = Run({"firmware", m_folder.filePath("missing.bin")});
    EXPECT_EQ(result.exit, 66);
    EXPECT_EQ(result.err.count('\n'), 1);
    EXPECT_EQ(Received(), "");
}

TEST_F(CtlFirmware, EmptyImageOrDeviceEndsWithSixtySixBeforeTheLoader) {
    const QString empty = WriteFile("empty.bin", QByteArray());
    const QStringList images = {empty, "/dev/null"};
    for (const QString& image : images) {
        SCOPED_TRACE(image.toStdString());
        Attach();
        const CtlResult result = Run({"--json", "firmware", image});
        EXPECT_EQ(result.exit, 66);
        EXPECT_TRUE(result.out.endsWith(",\"exit\":66}\n")) << result.out.toStdString();
        EXPECT_FALSE(result.out.contains("complete"));
        EXPECT_TRUE(result.err.startsWith("lumoq4ctl: Path/File access error: " + image))
            << result.err.toStdString();
        EXPECT_EQ(result.err.count('\n'), 1);
        EXPECT_EQ(Received(), ""); // not even ESC "Load"
    }
}

TEST_F(CtlFirmware, PasswordFileIsARegularFileOrAPipeAndOnlyItsFirstLineIsRead) {
    Attach();
    // A device that never ends is refused at once instead of being read into memory.
    CtlResult result = Run({"firmware", m_sImage, "--password-file", "/dev/zero"});
    EXPECT_EQ(result.exit, 66);
    EXPECT_EQ(result.err, "lumoq4ctl: /dev/zero: not a regular file or a pipe\n");
    const QString longLine = WriteFile("long", QByteArray(4096, 'k'));
    result = Run({"firmware", m_sImage, "--password-file", longLine});
    EXPECT_EQ(result.exit, 66);
    EXPECT_TRUE(result.err.endsWith("long: the first line is longer than 1 KiB\n"))
        << result.err.toStdString();
    // A pipe is read: its first line is the password, here a wrong one.
    m_wrapper = {"bash", "-c", "printf 'nope\\nkqzd\\n' | \"$@\" --password-file /dev/stdin",
                 "bash"};
    result = Run({"firmware", m_sImage});
    EXPECT_EQ(result.exit, 77) << result.err.toStdString();
    EXPECT_EQ(Received(), "");
}

TEST_F(CtlFirmware, WithoutCrcOrChecksumTheDisplaysStartRequestDecides) {
    for (const bool crc : {true, false}) {
        SCOPED_TRACE(crc ? "display asks with C" : "display asks with NAK");
        PtyDisplayOptions options;
        options.emulator.crc = crc;
        Attach(options);
        const CtlResult result = Run({"--quiet", "firmware", m_sImage});
        EXPECT_EQ(result.exit, 0) << result.err.toStdString();
        EXPECT_EQ(Display().ReceivedImage(), QByteArray(600, '\x5A') + QByteArray(40, '\x1A'));
    }
}

TEST_F(CtlFirmware, FailedStepWithNobodyToAskIsOneLineOnStandardError) {
    Attach();
    // The image shrinks under the sender after its first block: the read fails, nobody can
    // answer Retry, the run is abandoned.
    bool cut = false;
    const CtlResult result = Run({"--quiet", "firmware", m_sImage, "--crc"}, [&](QProcess&) {
        if (!cut && Display().ReceivedImage().size() >= 128) {
            cut = QFile::resize(m_sImage, 0);
        }
    });
    ASSERT_TRUE(cut);
    EXPECT_EQ(result.exit, 3);
    EXPECT_TRUE(result.err.startsWith("lumoq4ctl: Firmware update ")) << result.err.toStdString();
    EXPECT_EQ(result.err.count('\n'), 1) << result.err.toStdString();
    EXPECT_FALSE(result.err.contains("75")); // the error number means nothing here
}

TEST_F(CtlFirmware, EachStopSignalEndsTheLoaderDialogueOfASilentDisplayAtOnce) {
    PtyDisplayOptions silent;
    silent.silent = true;
    Attach(silent);
    const std::pair<int, int> stops[] = {{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}};
    for (const auto& [stop, status] : stops) {
        QElapsedTimer sinceSignal;
        const CtlResult result = Run({"firmware", m_sImage, "--crc"}, [&](QProcess& process) {
            if (!sinceSignal.isValid() && m_pDisplay->Received().endsWith("\x1BLoad")) {
                ::kill(static_cast<pid_t>(process.processId()), stop);
                sinceSignal.start();
            }
        });
        ASSERT_TRUE(sinceSignal.isValid());
        // The prompt wait alone lasts a minute; a generous bound for a loaded machine.
        EXPECT_LT(sinceSignal.elapsed(), 5000) << stop;
        EXPECT_EQ(result.exit, status);
        EXPECT_EQ(result.err, "lumoq4ctl: interrupted\n");
    }
    // The dialogue never reached "PX"/"ZX": nothing else went out, no abort either.
    EXPECT_EQ(Received(), "1B 4C 6F 61 64 1B 4C 6F 61 64 1B 4C 6F 61 64");
}

TEST_F(CtlFirmware, InterruptAfterTheImageRequestLeavesTheLoaderReadyForTheNextRun) {
    Attach();
    WriteFile("image.bin", QByteArray(128 * 40, '\x33'));
    // Right after "ZX" (the sender not yet begun), and in the middle of the blocks.
    const std::pair<QByteArray, int> moments[] = {{"ZX\r\n", SIGINT},
                                                  {QByteArray("\x01\x02\xFD"), SIGTERM}};
    for (const auto& [seen, stop] : moments) {
        const qsizetype before = m_pDisplay->Received().size();
        bool sent = false;
        const CtlResult stopped =
            Run({"firmware", m_sImage, "--crc", "--type", "zx"}, [&](QProcess& process) {
                if (!sent && m_pDisplay->Received().indexOf(seen, before) >= 0) {
                    ::kill(static_cast<pid_t>(process.processId()), stop);
                    sent = true;
                }
            });
        ASSERT_TRUE(sent);
        EXPECT_EQ(stopped.exit, 128 + stop);
        EXPECT_TRUE(m_pDisplay->Received().endsWith("\x18\x18")) << Received().toStdString();

        const CtlResult next = Run({"firmware", m_sImage, "--crc", "--type", "zx"});
        EXPECT_EQ(next.exit, 0) << next.err.toStdString();
        EXPECT_EQ(Display().ReceivedImage(), QByteArray(128 * 40, '\x33'));
    }
}
