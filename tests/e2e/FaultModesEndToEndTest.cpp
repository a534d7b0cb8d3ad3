#include "E2EFixture.h"

#include <QFile>
#include <QTest>

namespace {

class FaultModes : public E2EFixture {
protected:
    // After a fault the next command on a healthy display works.
    void ExpectRecovers() {
        ExpectUsable();
        Attach();
        Combo("cboInternationalCode")->setCurrentIndex(3);
        Press("cmdVELT(1)");
        EXPECT_EQ(Status(), "OK");
        EXPECT_EQ(Display().State().internationalSet, 3);
    }
};

TEST_F(FaultModes, ASilentDisplayDoesNotRespond) {
    PtyDisplayOptions options;
    options.silent = true;
    Start(options);
    Press("cmdVELT(1)");
    EXPECT_EQ(Status(), "Device does not respond.");
    Press("cmdVELT(7)");
    EXPECT_EQ(Status(), "Device does not respond.");
    ExpectRecovers();
}

TEST_F(FaultModes, ARefusingDisplayGivesGetNack) {
    PtyDisplayOptions options;
    options.emulator.refuseAllFrames = true;
    Start(options);
    Press("cmdVELT(1)");
    EXPECT_EQ(Status(), "Get Nack");
    ExpectRecovers();
}

TEST_F(FaultModes, ALateAnswerWithinThePollsIsStillAccepted) {
    PtyDisplayOptions options;
    options.delayMs = 400;
    Start(options);
    Press("cmdVELT(1)");
    EXPECT_EQ(Status(), "OK");
}

TEST_F(FaultModes, NoiseBetweenAnswersIsDrainedBeforeTheNextCommand) {
    PtyDisplayOptions options;
    options.noise = true;
    options.noiseDelayMs = 50;
    Start(options);
    for (int i = 0; i < 3; ++i) {
        Press("cmdVELT(1)");
        EXPECT_EQ(Status(), "OK") << i;
        // Let the noise arrive while the port is closed and when it reopens.
        QTest::qWait(120);
    }
}

TEST_F(FaultModes, NoDeviceAtTheMappedPathCannotBeOpened) {
    Start();
    qputenv("LUMOQ4_COM1", "/dev/lumoq4-no-such-device");
    Press("cmdVELT(1)");
    EXPECT_EQ(Status(), "Commport open failed.");
    EXPECT_TRUE(Edit("txtStatus")
                    ->toolTip()
                    .contains("/dev/lumoq4-no-such-device: No such file or directory"));
    ExpectRecovers();
}

TEST_F(FaultModes, AHangUpDuringACommandEndsItAndTheWindowGoesOn) {
    PtyDisplayOptions options;
    options.hangupAfter = 3; // the line dies in the middle of the frame
    options.silent = true;
    Start(options);
    Press("cmdVELT(1)");
    EXPECT_NE(Status(), "OK");
    EXPECT_FALSE(Status().isEmpty());
    ExpectRecovers();
}

} // namespace
