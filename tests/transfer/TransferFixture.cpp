#include "TransferFixture.h"

#include "core/device/frmCLumo.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>

void TransferFixture::SetUp() {
    PrepareSession();
    ASSERT_EQ(lumo.Connect(), 0);
}

void TransferFixture::PrepareSession() {
    receiver = std::make_unique<ScriptedReceiver>(*comm);
    frmCLumo::Instance().setProgress(0);
    frmCLumo::Instance().setTransferOutcome(XModemOutcome());
    lumo.setUpdateFirmwareFinish(false);
    lumo.setCommPort(1);
    lumo.setBaudRate("19200");
    lumo.setParity("NONE");
}

void TransferFixture::TearDown() {
    lumo.StopSendFile();
    frmCLumo::Instance().ClearStop();
}

QString TransferFixture::MakeFile(const QByteArray& i_bContent, const QString& i_sName) {
    const QString path = dir.filePath(i_sName);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(i_bContent);
    return path;
}

void TransferFixture::RunTransfer(const QString& i_sFile, qint32 i_CheckSumType) {
    lumo.setCheckSumType(i_CheckSumType);
    lumo.setFile(i_sFile);
    lumo.StartSendFile();
    ASSERT_TRUE(frmCLumo::Instance().Timer1.isActive());
    frmCLumo::Instance().Timer1_Timer();
}

void TransferFixture::PumpEvents(int i_iMs) {
    QEventLoop loop;
    QTimer::singleShot(i_iMs, &loop, &QEventLoop::quit);
    loop.exec();
}

QString HexWithFill(const QByteArray& i_bHead, int i_iCount, char i_cFill) {
    return Hex(i_bHead + QByteArray(i_iCount, i_cFill));
}
