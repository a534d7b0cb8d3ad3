#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// Error numbers carried by LumoError. The serial-port numbers follow the classic
// communications-control numbering that technicians know from other tools.
namespace LumoErrorNumber {
constexpr qint32 Overflow = 6;
constexpr qint32 FileNotFound = 53;
constexpr qint32 FileAccess = 75;
constexpr qint32 InvalidValue = 380;
constexpr qint32 InvalidPortNumber = 8002;
constexpr qint32 PortAlreadyOpen = 8005;
constexpr qint32 PortUnavailable = 8010;
constexpr qint32 InvalidSettings = 8015;
constexpr qint32 PortNotOpen = 8018;
constexpr qint32 WriteFailed = 8021;
} // namespace LumoErrorNumber

// The one exception type inside the device link: a number and a description, like the
// errors that the program's message boxes show. Public device operations never let it out.
class LumoError : public std::exception {
public:
    LumoError(qint32 i_lNumber, const QString& i_sDescription);

    qint32 number() const noexcept { return m_lNumber; }
    const QString& description() const noexcept { return m_sDescription; }
    const char* what() const noexcept override { return m_sWhat.constData(); }

private:
    qint32 m_lNumber;
    QString m_sDescription;
    QByteArray m_sWhat;
};
