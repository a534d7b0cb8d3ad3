#pragma once

#include "core/ports/SerialDevice.h"
#include "core/scan/ScanOutcome.h"

#include <QByteArray>
#include <QList>

class MSComm;
class ScanObserver;

// Find Display: looks for a customer display on the candidate devices at every line setting,
// with the native version query (04 01 56 17), and stops at the first well-formed version
// reply. The display found is then sent the native clear of all 40 cells (04 01 43 31 58 17),
// which wipes what the queries at the wrong settings left on its glass.
//
// A first pass waits at each setting only as long as the reply needs on the line plus a
// margin; when nothing answered, a second pass waits as long as the version query itself
// does. A device that is busy, not permitted, the system's console or gone is left out with
// its reason; its state is read again when its turn comes. Every wait goes through
// modLumo::WaitMilliseconds in short steps, and the observer's Cancelled is asked after each,
// so a cancel ends the scan at once, with the line closed.
//
//   DisplayScan scan(frmCLumo::Instance().MSComm1(), observer, 1);
//   const ScanOutcome outcome =
//       scan.Run(ScanPlan::Candidates(path, SerialDiscovery::List(), allDevices),
//                ScanPlan::Settings(rates, parities, current));
class DisplayScan {
public:
    // i_iPort is the port number the line is opened under (the devices are given by path).
    DisplayScan(MSComm& io_line, ScanObserver& io_observer, int i_iPort);

    ScanOutcome Run(const SerialDeviceList& i_candidates, const QList<ScanSetting>& i_settings);

    // A version reply as a display sends it: the session's version parser accepts it and,
    // framing bytes at either end aside, it is printable text with a digit. o_sVersion gets
    // that text.
    static bool WellFormedVersion(const QByteArray& i_bReply, QString& o_sVersion);

private:
    enum class Probe { Found, Silent, SettingRefused, DeviceFailed, Cancelled };

    Probe probe(const QString& i_sPath, const ScanSetting& i_setting, int i_iPass,
                QString& o_sVersion, QString& o_sWhy);
    Probe exchange(const ScanSetting& i_setting, int i_iPass, QString& o_sVersion);
    // Clears every cell of the display just found, on the line still open at its setting.
    void clearGlass();
    // Waits i_iMs in short steps; false as soon as the observer cancels.
    bool pause(int i_iMs);
    // Waits up to i_iMs for received bytes; Found when some are there, Silent or Cancelled.
    Probe awaitBytes(int i_iMs);
    bool cancelled();
    void closeLine();

    MSComm& m_line;
    ScanObserver& m_observer;
    int m_iPort;
};
