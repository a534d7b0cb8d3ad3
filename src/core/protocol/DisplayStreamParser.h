#pragma once

#include "core/protocol/PendingEvent.h"

// The bytes the program writes while the display listens with its own command sets: native
// frames, EPSON controls and sequences, plain text, fully lit cells (0xB2), and the aux-device
// pass-through that ESC G or ESC = 1 turns on. It follows the display: a native frame is
// looked for only between EPSON sequences (a parameter byte 0x04 stays a parameter), an
// unknown ESC or US sequence takes its code byte with it, and while only the aux device
// listens every byte but a frame, ESC =, ESC G and ESC S is handed on.
class DisplayStreamParser {
public:
    void Feed(quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events);
    // Ends a run of text, cells, pass-through or unknown bytes.
    void EndRuns(ProtocolEvents& o_events);
    // Ends everything, a half-received sequence as incomplete.
    void Flush(ProtocolEvents& o_events);
    // The display starts afresh (after a reboot): output to the display.
    void Reset();

    // The parameter bytes that follow ESC (i_cLead 0x1B) or US (0x1F) and the code i_cCode:
    // the display's own table, which the simulated display reads its input with as well.
    static int ParametersWanted(quint8 i_cLead, quint8 i_cCode);

private:
    enum class Peripheral { Display, AuxDevice, Both };

    void feedFresh(quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events);
    void feedFrame(quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events);
    void feedSequence(quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events);
    int parametersWanted() const;
    // True when the sequence so far is one the display acts on (or the loader's ESC "Load").
    bool knownSequence() const;
    void endSequence(EventKind i_kind, ProtocolEvents& o_events, quint8 i_flags = 0);
    void followPeripheral();
    void run(EventKind i_kind, quint8 i_cByte, quint64 i_lTag, ProtocolEvents& o_events);

    PendingEvent m_run;
    PendingEvent m_sequence;
    Peripheral m_peripheral = Peripheral::Display;
};
