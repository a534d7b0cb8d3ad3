#include "SessionFixture.h"

#include "core/common/LumoError.h"

int ProbeComm::InBufferCount() {
    ++polls;
    if (countFailsStaysOpen && PortOpen()) {
        throw LumoError(8020, QStringLiteral("Read refused")); // a read the component refuses
    }
    return FakeComm::InBufferCount();
}

void ProbeComm::Output(const QByteArray& i_bData) {
    if (writeFailsStaysOpen && PortOpen()) {
        journal << QStringLiteral("refused %1").arg(Hex(i_bData));
        throw LumoError(LumoErrorNumber::WriteFailed, QStringLiteral("Write refused"));
    }
    FakeComm::Output(i_bData);
}

void SessionFixture::SetUp() {
    m_pLumo = std::make_unique<CLumo>();
    lumo().setCommPort(1);
    lumo().setBaudRate("19200");
    lumo().setParity("NONE");
}

void SessionFixture::TearDown() {
    m_pLumo.reset();
}

QStringList SessionFixture::WriteCalls() const {
    QStringList out;
    for (const QByteArray& w : m_pComm->writes) {
        out << Hex(w);
    }
    return out;
}
