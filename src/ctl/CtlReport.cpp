#include "ctl/CtlReport.h"

#include "core/common/ControlText.h"
#include "ctl/CtlOptions.h"

#include <cstdio>
#include <cstdlib>

namespace {

void write(FILE* i_pStream, const QByteArray& i_bLine) {
    std::fwrite(i_bLine.constData(), 1, static_cast<size_t>(i_bLine.size()), i_pStream);
    std::fputc('\n', i_pStream);
    std::fflush(i_pStream);
}

// A line for the terminal: what came from the display may carry control bytes.
QByteArray shown(const QString& i_sLine) {
    return ControlText::Escaped(i_sLine).toLocal8Bit();
}

} // namespace

void CtlReport::SetStatus(int i_iStatus, const QString& i_sText, const QString& i_sLine) {
    m_status = i_iStatus;
    m_sText = i_sText;
    if (i_iStatus != 0) {
        m_iExit = std::abs(i_iStatus);
        m_sError = i_sLine.isEmpty() ? i_sText : i_sLine;
    }
}

void CtlReport::Fail(int i_iExit, const QString& i_sLine) {
    m_iExit = i_iExit;
    m_sText = i_sLine;
    m_sError = i_sLine;
}

void CtlReport::Usage(const QString& i_sWhat) {
    Fail(kUsage, i_sWhat + QStringLiteral(" (usage: ") + CtlOptions::UsageLine() +
                     QStringLiteral("; see lumoq4ctl --help)"));
}

int CtlReport::Print(bool i_blnJson, bool i_blnQuiet) const {
    if (i_blnJson) {
        JsonLine line;
        line.Add(QStringLiteral("command"), m_sCommand);
        if (!m_sPort.isEmpty()) {
            line.Add(QStringLiteral("port"), m_sPort);
        }
        if (m_status) {
            line.Add(QStringLiteral("status"), *m_status);
        }
        line.Add(QStringLiteral("text"), m_sText);
        line.Append(m_results).Add(QStringLiteral("exit"), m_iExit);
        write(stdout, line.Compact());
    } else if (m_iExit != 0) {
        write(stderr, shown(QStringLiteral("lumoq4ctl: %1").arg(m_sError)));
    } else if (!i_blnQuiet) {
        for (const QString& text : m_lines) {
            write(stdout, shown(text));
        }
    }
    if (m_iExit != 0 && i_blnJson) {
        write(stderr, shown(QStringLiteral("lumoq4ctl: %1").arg(m_sError)));
    }
    return m_iExit;
}
