// Once the program is ending, a running transfer stops at once so that the process can exit.
// Its own binary: the ending cannot be undone.
#include "TransferFixture.h"

namespace {

TEST_F(TransferFixture, EndingProgramStopsTheTransferPromptly) {
    receiver->answer = [](int write) {
        if (write == 1) {
            modLumo::AbandonWaits();
            return QByteArray();
        }
        return QByteArray("\x06");
    };
    comm->Queue("C");
    RunTransfer(MakeFile(QByteArray(100 * 128, 'x')), 1);
    EXPECT_EQ(receiver->blocks.size(), 2);
    EXPECT_EQ(Hex(receiver->others.join()), "18 18"); // the loader is told, not left mid-file
    EXPECT_EQ(lumo.LastTransferOutcome().end, XModemOutcome::End::StoppedByUser);
    EXPECT_EQ(lumo.LastTransferOutcome().block, 2);
    EXPECT_TRUE(prompt.entries.empty());
}

} // namespace
