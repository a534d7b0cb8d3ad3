#include "ScriptedReceiver.h"

#include "core/protocol/modLumo.h"

ScriptedReceiver::ScriptedReceiver(FakeComm& i_comm) {
    answer = [](int) { return QByteArray("\x06"); };
    i_comm.onOutput = [this](FakeComm& comm, const QByteArray& bytes) {
        if (onWrite) {
            onWrite(bytes);
        }
        const qint64 now = modLumo::Clock().NowMs();
        if (bytes.size() == 3 && bytes.at(0) == '\x01') { // a header always starts a block
            m_bPartial = bytes;
            m_iStage = 1;
            blockTimes << now;
        } else if (m_iStage == 1 && bytes.size() == 128) {
            m_bPartial += bytes;
            m_iStage = 2;
        } else if (m_iStage == 2 && (bytes.size() == 1 || bytes.size() == 2)) {
            m_bPartial += bytes;
            m_iStage = 0;
            blocks << m_bPartial;
            const QByteArray reply = answer(static_cast<int>(blocks.size() - 1));
            if (!reply.isEmpty()) {
                comm.Queue(reply);
            }
        } else {
            m_iStage = 0;
            others << bytes;
            otherTimes << now;
        }
    };
}
