#include "NativeFrameParser.h"

namespace {
constexpr quint8 kEot = 0x04;
constexpr quint8 kSoh = 0x01;
constexpr quint8 kEtb = 0x17;
// EOT SOH letter p1 p2 ETB
constexpr int kLongestFrame = 6;
} // namespace

NativeFrameParser::Step NativeFrameParser::Feed(quint8 i_cByte) {
    Step step;
    const char byte = static_cast<char>(i_cByte);
    switch (m_state) {
    case State::Idle:
        if (i_cByte == kEot) {
            m_state = State::SawEot;
        } else {
            step.passOn.append(byte);
        }
        break;
    case State::SawEot:
        if (i_cByte == kSoh) {
            m_state = State::InFrame;
            m_bFrame = QByteArray("\x04\x01", 2);
        } else if (i_cByte == kEot) {
            // The first EOT was a stray byte; this one may start the frame.
            step.passOn.append(static_cast<char>(kEot));
        } else {
            m_state = State::Idle;
            step.passOn.append(static_cast<char>(kEot));
            step.passOn.append(byte);
        }
        break;
    case State::InFrame:
        m_bFrame.append(byte);
        if (i_cByte == kEtb && m_bFrame.size() > 3) {
            step.frameDone = true;
        } else if (m_bFrame.size() >= kLongestFrame) {
            step.frameDone = true;
            step.overlong = true;
        }
        if (step.frameDone) {
            step.frame = m_bFrame;
            m_bFrame.clear();
            m_state = State::Idle;
        }
        break;
    }
    return step;
}
