#pragma once

// lumoq4ctl as a technician runs it: the built program in a child process, its port the slave
// side of a pty whose master side is the simulated display, in this process's event loop. So
// the test reads what reached the display. Each test has its own settings folder.

#include "PtyDisplay.h"
#include "support/TestEnvironment.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

struct CtlResult {
    int exit = -1;
    QString out;
    QString err;
};

class CtlFixture : public ::testing::Test {
protected:
    void SetUp() override { TestEnvironment::FreshSettingsFolder(); }

    void Attach(const PtyDisplayOptions& i_options = PtyDisplayOptions()) {
        m_pDisplay = std::make_unique<PtyDisplay>(i_options);
        ASSERT_TRUE(m_pDisplay->IsOpen());
    }

    QString Slave() const { return m_pDisplay->SlavePath(); }
    DisplayEmulator& Display() { return m_pDisplay->Emulator(); }

    // Environment of the program besides the test's; an empty value removes the variable.
    // Runs lumoq4ctl with --port at the display and the arguments; i_whileRunning is called
    // every 50 ms with the running process.
    CtlResult Run(const QStringList& i_args,
                  const std::function<void(QProcess&)>& i_whileRunning = {}) {
        QStringList args = i_args;
        if (m_pDisplay) {
            args.prepend(Slave());
            args.prepend(QStringLiteral("--port"));
        }
        return RunBare(args, i_whileRunning);
    }

    CtlResult RunBare(const QStringList& i_args,
                      const std::function<void(QProcess&)>& i_whileRunning = {}) {
        QProcess process;
        if (m_wrapper.isEmpty()) {
            process.setProgram(QStringLiteral(LUMOQ4CTL));
            process.setArguments(i_args);
        } else {
            process.setProgram(m_wrapper.first());
            process.setArguments(m_wrapper.mid(1) + QStringList{QStringLiteral(LUMOQ4CTL)} +
                                 i_args);
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // Never the machine's own ports: every port leads nowhere unless the test says.
        environment.insert(QStringLiteral("LUMOQ4_PORT"), QStringLiteral("/nonexistent/lumoq4"));
        for (int port = 1; port <= 16; ++port) {
            environment.insert(QStringLiteral("LUMOQ4_COM%1").arg(port),
                               QStringLiteral("/nonexistent/lumoq4"));
        }
        for (const auto& [name, value] : m_environment) {
            if (value.isEmpty()) {
                environment.remove(name);
            } else {
                environment.insert(name, value);
            }
        }
        process.setProcessEnvironment(environment);
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (i_whileRunning) {
                i_whileRunning(process);
            }
        });
        process.start();
        EXPECT_TRUE(process.waitForStarted(10000));
        poll.start(50);
        // A generous limit for a loaded machine; a firmware run takes seconds.
        QTimer::singleShot(180000, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_EQ(process.state(), QProcess::NotRunning);
        // What the program wrote last may still be on its way through the pty.
        QTimer::singleShot(200, &loop, &QEventLoop::quit);
        loop.exec();
        CtlResult result;
        result.exit = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

    // What reached the display, as hexadecimal bytes.
    QString Received() const {
        return QString::fromLatin1(m_pDisplay->Received().toHex(' ').toUpper());
    }

    std::vector<std::pair<QString, QString>> m_environment;
    // A program that runs lumoq4ctl (its path and the arguments follow the wrapper's own).
    QStringList m_wrapper;
    std::unique_ptr<PtyDisplay> m_pDisplay;
};
