#pragma once

#include "core/protocol/ProtocolDecoder.h"
#include "core/serial/LineTap.h"

// --trace: every event on the line decoded as the Line Monitor words it, one line each on
// standard error: seconds since the first event, the direction, the bytes and their meaning
// ("    0.052310  →  04 01 56 17  read the version"). Opens, failed opens and closes have a
// line of their own.
class LineTrace : public LineTapListener {
public:
    explicit LineTrace(LineTap& io_tap);
    ~LineTrace() override;
    LineTrace(const LineTrace&) = delete;
    LineTrace& operator=(const LineTrace&) = delete;

    void TapRecorded(const TapEvent& i_event) override;

    // Writes what the decoder still holds.
    void Finish();

private:
    void print(qint64 i_lUsec, const ProtocolEvents& i_events);
    void line(qint64 i_lUsec, const QString& i_sDirection, const QString& i_sRest);

    LineTap& m_tap;
    ProtocolDecoder m_decoder;
    qint64 m_lOrigin = -1;
    qint64 m_lLast = 0;
};
