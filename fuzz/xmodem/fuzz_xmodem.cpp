// Runs the XModem sender against a receiver whose answers, timing and line faults come from the
// fuzzer, and checks what the firmware dialog relies on: every run ends, progress stays within
// 0..100, a run reported complete had every block accepted and raised the finish flag, a run
// without a start request raised nothing, and the reported block never passes the file's end.

#include "core/common/LumoError.h"
#include "core/device/CLumo.h"
#include "core/device/frmCLumo.h"
#include "core/serial/MSComm.h"
#include "support/FuzzSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

namespace {

// Answers come from the fuzzer; once its bytes run out the receiver falls silent.
class Receiver : public MSComm {
public:
    FuzzBytes* in = nullptr;
    int writes = 0;

    void setCommPort(qint16 port) override { m_port = port; }
    qint16 CommPort() const override { return m_port; }
    void setDevicePath(const QString&) override {}
    void setSettings(const QString& s) override { m_settings = s; }
    QString Settings() const override { return m_settings; }
    void setPortOpen(bool open) override { m_open = open; }
    bool PortOpen() const override { return m_open; }
    int InBufferCount() override {
        require();
        const uint8_t b = in->Byte();
        if (b == 0xFF) {
            m_open = false; // the line dies
            require();
        }
        if (b % 2 == 1) {
            const int n = 1 + b % 5;
            for (int i = 0; i < n; ++i) {
                // Mostly protocol bytes, so that the interesting answers come up often.
                static const char common[] = {'\x06', '\x15', '\x18', 'C', '\x04', '\x00'};
                const uint8_t c = in->Byte();
                m_waiting.append(c < 192 ? common[c % 6] : static_cast<char>(c));
            }
        }
        return static_cast<int>(m_waiting.size());
    }
    QByteArray Input() override {
        require();
        QByteArray out;
        out.swap(m_waiting);
        return out;
    }
    void Output(const QByteArray&) override {
        require();
        ++writes;
    }

private:
    void require() const {
        if (!m_open) {
            throw LumoError(8018, "the port is not open");
        }
    }
    bool m_open = false;
    qint16 m_port = 1;
    QString m_settings = QStringLiteral("19200n,8,1");
    QByteArray m_waiting;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static JumpClock clock;
    static QTemporaryDir folder;
    static Receiver* receiver = InstallComm<Receiver>(&clock);
    static CLumo lumo;

    FuzzBytes in(data, size);
    receiver->in = &in;
    receiver->setPortOpen(true);

    const int length = in.Byte() * 3; // 0 .. 765 bytes: up to six blocks, a padded one or none
    const QString path = folder.filePath(QStringLiteral("image.bin"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return 0;
    }
    file.write(QByteArray(length, '\x5A'));
    file.close();

    lumo.setCheckSumType(in.Byte() % 3);
    lumo.setFile(path);
    frmCLumo::Instance().Timer1_Timer();

    const XModemOutcome outcome = lumo.LastTransferOutcome();
    Check(outcome.Finished());
    Check(lumo.Progress() >= 0 && lumo.Progress() <= 100);
    Check(outcome.block >= 0 && outcome.block <= outcome.blocks);
    if (outcome.end == XModemOutcome::End::Complete) {
        Check(lumo.UpdateFirmwareFinish());
        Check(outcome.block == outcome.blocks);
    }
    if (outcome.end == XModemOutcome::End::NoStartRequest) {
        Check(!lumo.UpdateFirmwareFinish());
    }
    return 0;
}
