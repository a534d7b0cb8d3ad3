#include "core/scan/ScanPlan.h"

#include "core/ports/SerialDiscovery.h"

#include <cmath>

namespace ScanPlan {
namespace {

// Start bit, 8 data bits (or 7 and parity) and a stop bit.
constexpr int kBitsPerByte = 10;
constexpr int kQueryBytes = 4;
constexpr int kReplyBytes = 16;
constexpr int kAnswerMarginMs = 100;
constexpr int kSettleMarginMs = 20;

int lineMs(int i_iBytes, const QString& i_sBaudRate) {
    const double baud = i_sBaudRate.toDouble();
    if (baud <= 0) {
        return 0;
    }
    return static_cast<int>(std::ceil(i_iBytes * kBitsPerByte * 1000.0 / baud));
}

} // namespace

QList<ScanSetting> Settings(const QStringList& i_rates, const QStringList& i_parities,
                            const ScanSetting& i_current) {
    QStringList rates;
    for (const QString& rate : {i_current.baudRate, QStringLiteral("19200"), QStringLiteral("9600"),
                                QStringLiteral("38400")}) {
        if (i_rates.contains(rate) && !rates.contains(rate)) {
            rates << rate;
        }
    }
    for (const QString& rate : i_rates) {
        if (!rates.contains(rate)) {
            rates << rate;
        }
    }
    QStringList parities;
    if (i_parities.contains(i_current.parity)) {
        parities << i_current.parity;
    }
    for (const QString& parity : i_parities) {
        if (!parities.contains(parity)) {
            parities << parity;
        }
    }
    QList<ScanSetting> settings;
    for (const QString& rate : rates) {
        for (const QString& parity : parities) {
            settings << ScanSetting{rate, parity};
        }
    }
    return settings;
}

SerialDeviceList Candidates(const QString& i_sSelected, const SerialDeviceList& i_devices,
                            bool i_blnAllDevices) {
    SerialDeviceList out;
    if (!i_sSelected.isEmpty()) {
        out << SerialDiscovery::Describe(i_sSelected, i_devices);
    }
    if (!i_blnAllDevices) {
        return out;
    }
    for (const SerialDevice& device : i_devices) {
        if (SerialDiscovery::IndexOf(device.path, out) < 0) {
            out << device;
        }
    }
    return out;
}

int FirstPassWaitMs(const QString& i_sBaudRate) {
    return lineMs(kQueryBytes + kReplyBytes, i_sBaudRate) + kAnswerMarginMs;
}

int FirstPassSettleMs(const QString& i_sBaudRate) {
    return lineMs(kReplyBytes, i_sBaudRate) + kSettleMarginMs;
}

} // namespace ScanPlan
