#include "core/scan/DisplayScan.h"

#include "core/common/Cp1252.h"
#include "core/common/LumoError.h"
#include "core/common/LumoStatus.h"
#include "core/ports/DeviceState.h"
#include "core/protocol/NativeFrames.h"
#include "core/protocol/modLumo.h"
#include "core/scan/ScanObserver.h"
#include "core/scan/ScanPlan.h"
#include "core/serial/MSComm.h"
#include "core/serial/SerialSettings.h"

#include <algorithm>

namespace {

// The longest single wait: short enough that a cancel is seen at once.
constexpr int kStepMs = 20;

bool framingByte(char c) {
    switch (c) {
    case '\x01':
    case '\x02':
    case '\x03':
    case '\x06':
    case '\x17':
    case '\r':
    case '\n':
        return true;
    default:
        return false;
    }
}

} // namespace

DisplayScan::DisplayScan(MSComm& io_line, ScanObserver& io_observer, int i_iPort)
    : m_line(io_line), m_observer(io_observer), m_iPort(std::max(1, i_iPort)) {}

bool DisplayScan::WellFormedVersion(const QByteArray& i_bReply, QString& o_sVersion) {
    QByteArray text;
    if (NativeFrames::ParseVersionReply(i_bReply, text) != LumoStatus::Success) {
        return false;
    }
    while (!text.isEmpty() && framingByte(text.front())) {
        text.remove(0, 1);
    }
    while (!text.isEmpty() && framingByte(text.back())) {
        text.chop(1);
    }
    const bool printable =
        std::all_of(text.cbegin(), text.cend(), [](char c) { return c >= 0x20 && c <= 0x7E; });
    const bool digit =
        std::any_of(text.cbegin(), text.cend(), [](char c) { return c >= '0' && c <= '9'; });
    if (text.isEmpty() || !printable || !digit) {
        return false;
    }
    o_sVersion = Cp1252::Decode(text);
    return true;
}

ScanOutcome DisplayScan::Run(const SerialDeviceList& i_candidates,
                             const QList<ScanSetting>& i_settings) {
    ScanOutcome outcome;
    outcome.settingsPerDevice = static_cast<int>(i_settings.size());
    closeLine(); // a port left open by an earlier command would hold the lock
    QStringList dropped;
    const int count = static_cast<int>(i_candidates.size() * i_settings.size() * 2);
    int index = 0;
    for (int pass = 1; pass <= 2 && outcome.result == ScanOutcome::Result::NotFound; ++pass) {
        outcome.passes = pass;
        for (const SerialDevice& candidate : i_candidates) {
            const QString& path = candidate.path;
            if (dropped.contains(path)) {
                index += static_cast<int>(i_settings.size());
                continue;
            }
            SerialDevice now = candidate;
            now.state = DeviceState::Of(path, candidate.alias, now.lockPid);
            if (now.state != SerialDevice::State::Free) {
                outcome.skipped << QStringLiteral("%1: %2").arg(path, now.StateText());
                dropped << path;
                index += static_cast<int>(i_settings.size());
                continue;
            }
            for (const ScanSetting& setting : i_settings) {
                m_observer.Trying(ScanStep{path, setting, pass, index++, count});
                if (cancelled()) {
                    outcome.result = ScanOutcome::Result::Cancelled;
                    break;
                }
                QString version;
                QString why;
                const Probe result = probe(path, setting, pass, version, why);
                const bool opened =
                    result != Probe::DeviceFailed && result != Probe::SettingRefused;
                if (opened && !outcome.tried.contains(path)) {
                    outcome.tried << path;
                }
                if (result == Probe::Found) {
                    outcome.result = ScanOutcome::Result::Found;
                    outcome.path = path;
                    outcome.setting = setting;
                    outcome.version = version;
                    break;
                }
                if (result == Probe::Cancelled) {
                    outcome.result = ScanOutcome::Result::Cancelled;
                    break;
                }
                if (result == Probe::DeviceFailed) {
                    outcome.skipped << why;
                    dropped << path;
                    break;
                }
                if (result == Probe::SettingRefused && pass == 1) {
                    outcome.skipped << why;
                }
            }
            if (outcome.result != ScanOutcome::Result::NotFound) {
                break;
            }
        }
    }
    closeLine();
    m_line.setDevicePath(QString());
    return outcome;
}

DisplayScan::Probe DisplayScan::probe(const QString& i_sPath, const ScanSetting& i_setting,
                                      int i_iPass, QString& o_sVersion, QString& o_sWhy) {
    const std::optional<QString> framing = SerialSettings::FramingOf(i_setting.parity);
    try {
        m_line.setDevicePath(i_sPath);
        m_line.setCommPort(static_cast<qint16>(m_iPort));
        m_line.setSettings(i_setting.baudRate + framing.value_or(QString()));
        m_line.setPortOpen(true);
    } catch (const LumoError& e) {
        closeLine();
        o_sWhy = e.description();
        // A setting the device cannot take leaves the others to try; any other failure
        // (gone, not permitted, taken) leaves the device out.
        return e.number() == LumoErrorNumber::InvalidSettings ||
                       e.number() == LumoErrorNumber::InvalidValue
                   ? Probe::SettingRefused
                   : Probe::DeviceFailed;
    }
    Probe result = Probe::Silent;
    try {
        result = exchange(i_setting, i_iPass, o_sVersion);
        if (result == Probe::Found) {
            clearGlass();
        }
    } catch (const LumoError& e) {
        o_sWhy = e.description();
        result = Probe::DeviceFailed;
    }
    closeLine();
    return result;
}

DisplayScan::Probe DisplayScan::exchange(const ScanSetting& i_setting, int i_iPass,
                                         QString& o_sVersion) {
    m_line.Input(); // whatever was waiting belongs to no query of ours
    m_line.Output(NativeFrames::Frame('V'));
    const int replyWait = i_iPass == 1
                              ? ScanPlan::FirstPassWaitMs(i_setting.baudRate)
                              : NativeFrames::VersionIdleMs * (NativeFrames::VersionMaxCount + 1);
    const Probe begun = awaitBytes(replyWait);
    if (begun != Probe::Found) {
        return begun;
    }
    const int settle = i_iPass == 1 ? ScanPlan::FirstPassSettleMs(i_setting.baudRate)
                                    : NativeFrames::VersionSettleMs;
    if (!pause(settle)) {
        return Probe::Cancelled;
    }
    return WellFormedVersion(m_line.Input(), o_sVersion) ? Probe::Found : Probe::Silent;
}

void DisplayScan::clearGlass() {
    // The queries at the wrong settings reached the display as other bytes, which it may show
    // as text: the native clear of cells 1 to 40 wipes them, at the setting it answered at. Its
    // acknowledgement is read and dropped; a display that does not give one was found anyway.
    m_line.Output(NativeFrames::Frame('C', {0x31, 0x58}));
    if (awaitBytes(NativeFrames::VersionIdleMs * (NativeFrames::VersionMaxCount + 1)) ==
        Probe::Found) {
        m_line.Input();
    }
}

DisplayScan::Probe DisplayScan::awaitBytes(int i_iMs) {
    WaitClock& clock = modLumo::Clock();
    const qint64 start = clock.NowMs();
    for (;;) {
        if (m_line.InBufferCount() > 0) {
            return Probe::Found;
        }
        const qint64 left = i_iMs - (clock.NowMs() - start);
        if (left <= 0) {
            return Probe::Silent;
        }
        modLumo::WaitMilliseconds(std::min<qint64>(kStepMs, left));
        if (cancelled()) {
            return Probe::Cancelled;
        }
    }
}

bool DisplayScan::pause(int i_iMs) {
    WaitClock& clock = modLumo::Clock();
    const qint64 start = clock.NowMs();
    for (qint64 left = i_iMs; left > 0; left = i_iMs - (clock.NowMs() - start)) {
        modLumo::WaitMilliseconds(std::min<qint64>(kStepMs, left));
        if (cancelled()) {
            return false;
        }
    }
    return true;
}

bool DisplayScan::cancelled() {
    // Once the program ends, every wait returns at once: the scan ends as if cancelled.
    return m_observer.Cancelled() || modLumo::WaitsAbandoned();
}

void DisplayScan::closeLine() {
    try {
        if (m_line.PortOpen()) {
            m_line.setPortOpen(false);
        }
    } catch (const LumoError&) {
        // A line that fails to close is closed as far as the scan is concerned.
    }
}
