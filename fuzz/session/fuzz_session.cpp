// Runs the session's operations over a serial port whose answers, timing and faults come from
// the fuzzer, and checks that every operation returns only a status it documents and leaves
// the port in the state it promises.

#include "core/common/LumoError.h"
#include "core/device/CLumo.h"
#include "core/serial/MSComm.h"
#include "support/FuzzSupport.h"

#include <QCoreApplication>
#include <cstdint>
#include <initializer_list>

namespace {

// Each poll of the receive count takes one input byte: most polls see nothing, some see a few
// answer bytes, a few see the line go dead.
class FuzzComm : public MSComm {
public:
    FuzzBytes* in = nullptr;

    void setCommPort(qint16 port) override {
        if (port < 1) {
            throw LumoError(8002, "Invalid port number");
        }
        m_port = port;
    }
    qint16 CommPort() const override { return m_port; }
    void setDevicePath(const QString&) override {}
    void setSettings(const QString& s) override { m_settings = s; }
    QString Settings() const override { return m_settings; }
    void setPortOpen(bool open) override {
        if (open && in->Byte() == 0xEE) {
            throw LumoError(8010, "/dev/fuzz: No such device");
        }
        m_open = open;
        m_waiting.clear();
    }
    bool PortOpen() const override { return m_open; }
    int InBufferCount() override {
        requireOpen();
        const uint8_t b = in->Byte();
        if (b == 0xFF) {
            m_open = false;
            requireOpen();
        }
        if (b % 3 == 0) {
            const int n = b % 7;
            for (int i = 0; i < n; ++i) {
                m_waiting.append(static_cast<char>(in->Byte()));
            }
        }
        return static_cast<int>(m_waiting.size());
    }
    QByteArray Input() override {
        requireOpen();
        QByteArray out;
        out.swap(m_waiting);
        return out;
    }
    void Output(const QByteArray&) override {
        requireOpen();
        if (in->Byte() == 0xFD) {
            m_open = false;
            throw LumoError(8021, "Write failed");
        }
    }

private:
    void requireOpen() const {
        if (!m_open) {
            throw LumoError(8018, "not open");
        }
    }
    bool m_open = false;
    qint16 m_port = 0;
    QString m_settings;
    QByteArray m_waiting;
};

bool oneOf(int status, std::initializer_list<int> allowed) {
    for (const int a : allowed) {
        if (status == a) {
            return true;
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static JumpClock clock;
    static FuzzComm* comm = InstallComm<FuzzComm>(&clock);
    static CLumo lumo;

    FuzzBytes in(data, size);
    comm->in = &in;
    comm->setPortOpen(false);
    lumo.setCommPort(in.Byte() % 3); // 0 opens nothing
    lumo.setBaudRate(in.Byte() % 2 ? QStringLiteral("4800") : QStringLiteral("19200"));
    lumo.setParity(QStringLiteral("NONE"));

    const std::initializer_list<int> command = {0, -2, -3, -4, -5, -6, -8};
    while (!in.Empty()) {
        const uint8_t op = in.Byte() % 18;
        const auto p = static_cast<qint16>(static_cast<int8_t>(in.Byte())) * 3;
        QString text;
        QByteArray bytes;
        int status = 0;
        bool leavesOpen = false;
        switch (op) {
        case 0:
            status = lumo.SetBaudRate(QStringLiteral("9600"), QStringLiteral("ODD"));
            break;
        case 1:
            status = lumo.SetInternationalCode(p);
            break;
        case 2:
            status = lumo.SaveMessage(p);
            break;
        case 3:
            status = lumo.SetPosition(p);
            break;
        case 4:
            status = lumo.ClearDisplay(p / 2.0, p + 0.5);
            break;
        case 5:
            status = lumo.DisplayShowSavedMessageAfterRebootMode(p);
            break;
        case 6:
            status = lumo.DisplayDemoMessage(p, 1.5);
            break;
        case 7:
            status = lumo.SendMessage(QStringLiteral("Hi \u00e9\u20ac\u03a9"));
            break;
        case 8:
            status = lumo.SendMessageB(static_cast<quint8>(p));
            break;
        case 9:
            status = lumo.SendMessageByteArray(QByteArray(3, '\x41'));
            break;
        case 10:
            status = lumo.SendMessageStringAndByte(QStringLiteral("\x1B\x74"), 0xC8);
            break;
        case 11:
            status = lumo.FullyLightTube(p);
            break;
        case 12:
            status = lumo.GetMessage(text);
            break;
        case 13:
            status = lumo.GetVersion(text);
            break;
        case 14:
            status = p % 2 ? lumo.PrinterOn() : lumo.PrinterOff();
            Check(oneOf(status, {0, -1, -2, -3}));
            break;
        case 15:
            status = lumo.SendMessageB_VT100(static_cast<quint8>(p));
            leavesOpen = true;
            break;
        case 16:
            lumo.GetCommDataB(bytes);
            leavesOpen = true;
            break;
        default:
            status = lumo.InBufferCount();
            Check(status >= 0);
            status = 0;
            leavesOpen = true;
            break;
        }
        Check(oneOf(status, command) || (op == 14 && status == -1));
        if (!leavesOpen) {
            Check(!comm->PortOpen()); // every command closes the port behind itself
        }
    }
    lumo.Disconnect();
    return 0;
}
