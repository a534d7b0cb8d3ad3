#pragma once

#include "ctl/JsonLine.h"

#include <QString>
#include <QStringList>
#include <optional>

// What one run of lumoq4ctl tells: on success the command's text on standard output (nothing
// with --quiet), on failure one line on standard error; with --json exactly one object on
// standard output either way. Keys in order: "command", "port", "status", "text", the
// command's own results, "exit".
class CtlReport {
public:
    // Exit statuses besides a device status's magnitude.
    static constexpr int kUsage = 64;
    static constexpr int kNoInput = 66;
    static constexpr int kPermission = 77;
    static constexpr int kInterrupted = 130;

    void SetCommand(const QString& i_sCommand) { m_sCommand = i_sCommand; }
    QString Command() const { return m_sCommand; }
    void SetPort(const QString& i_sPath) { m_sPort = i_sPath; }

    // The device status and its text ("OK" for 0). A failure gives the status's magnitude as
    // exit status and i_sLine (the text when empty) on standard error.
    void SetStatus(int i_iStatus, const QString& i_sText, const QString& i_sLine = QString());

    // A failure that is no device status: the exit status and the line on standard error.
    void Fail(int i_iExit, const QString& i_sLine);
    void Usage(const QString& i_sWhat);
    // Replaces the exit status (an interrupted run ends with 128 + the signal, whatever it
    // reached).
    void SetExit(int i_iExit) { m_iExit = i_iExit; }

    // The text of a run that needs no device (--help, --version).
    void SetText(const QString& i_sText) { m_sText = i_sText; }

    // A result of the command, for JSON; and a line of its text output.
    JsonLine& Results() { return m_results; }
    void Say(const QString& i_sLine) { m_lines << i_sLine; }

    int Exit() const { return m_iExit; }

    // Writes what the run tells and returns the exit status.
    int Print(bool i_blnJson, bool i_blnQuiet) const;

private:
    QString m_sCommand;
    QString m_sPort;
    std::optional<int> m_status;
    QString m_sText;
    JsonLine m_results;
    QStringList m_lines;
    QString m_sError;
    int m_iExit = 0;
};
