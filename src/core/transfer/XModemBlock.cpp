#include "core/transfer/XModemBlock.h"

#include "core/common/NumberText.h"
#include "core/protocol/modLumo.h"

namespace XModemBlock {

QByteArray Header(qint64 i_lIndex) {
    const auto number = static_cast<quint8>(i_lIndex % 256);
    QByteArray header;
    header.append(SOH);
    header.append(static_cast<char>(number));
    header.append(static_cast<char>(255 - number));
    return header;
}

QByteArray Trailer(const QByteArray& i_bData, qint32 i_CheckSumType) {
    QByteArray trailer;
    if (i_CheckSumType == 1) {
        const qint32 crc = modLumo::GetCRC16(i_bData);
        trailer.append(static_cast<char>((crc >> 8) & 0xFF));
        trailer.append(static_cast<char>(crc & 0xFF));
    } else {
        trailer.append(static_cast<char>(modLumo::GetCheckSum(i_bData) & 0xFF));
    }
    return trailer;
}

QByteArray Padded(const QByteArray& i_bRest) {
    QByteArray block = i_bRest.left(DataSize);
    block.append(QByteArray(DataSize - block.size(), SUB));
    return block;
}

std::optional<char> StartRequest(qint32 i_CheckSumType) {
    switch (i_CheckSumType) {
    case 0:
        return NAK;
    case 1:
        return 'C';
    default:
        return std::nullopt;
    }
}

qint16 ProgressAfter(qint64 i_lIndex, qint64 i_lCount) {
    if (i_lCount <= 0) {
        return 100;
    }
    const double percent = static_cast<double>(i_lIndex) * 100.0 / static_cast<double>(i_lCount);
    return static_cast<qint16>(NumberText::RoundHalfEven(percent));
}

QByteArray RebootPrefix() {
    return QByteArray(1, ESC);
}

QByteArray RebootCommand() {
    return QByteArrayLiteral("R\r");
}

QByteArray Abort() {
    return QByteArray(2, CAN);
}

} // namespace XModemBlock
