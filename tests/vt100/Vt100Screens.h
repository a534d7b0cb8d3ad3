#pragma once

// The system's two VT100 screens behind one face, so that the same byte stream can be fed to
// both and what they show compared: the window's screen model CVT100 and the simulated display
// in VT100 mode. They are written separately on purpose; the agreement test and the
// differential fuzz target hold them against each other.
//
// Both are fed the terminal stream: the bytes the VT100 window passes through its key step.
// The display's own commands ESC R n (country code) and ESC B n (brightness) are not part of
// it: the window sends them past the model, and the model is built to swallow ESC R with two
// characters and to end a sequence at ESC B, where the display takes one parameter byte each.
// IsDisplayCommand tells the byte that would start one.

#include "DisplayEmulator.h"
#include "core/vt100/CVT100.h"

#include <QString>
#include <utility>
#include <vector>

class Vt100Screen {
public:
    virtual ~Vt100Screen() = default;
    virtual void Feed(quint8 i_cByte) = 0;
    // The 4 lines of 20 cells, row by row, as Latin-1 characters; an empty cell is a blank.
    virtual QString Text() const = 0;
    // 1-based, as the window's model reports it.
    virtual int CursorLine() const = 0;
    virtual int CursorColumn() const = 0;

    void Feed(const QByteArray& i_bBytes) {
        for (const char c : i_bBytes) {
            Feed(static_cast<quint8>(c));
        }
    }

protected:
    // A cell as the window draws it: code 0 shows nothing, a blank.
    static QChar Shown(int i_iCode) { return QChar(i_iCode == 0 ? 0x20 : i_iCode); }
};

// The window's screen model, sized as the window sizes it.
class ModelScreen : public Vt100Screen {
public:
    ModelScreen() { m_model.SetDisplaySize(4, 20); }

    void Feed(quint8 i_cByte) override { m_model.setKey(i_cByte); }
    using Vt100Screen::Feed;

    QString Text() const override {
        std::vector<qint16> cells(80, 0);
        m_model.GetData(cells);
        QString text;
        for (const qint16 code : cells) {
            text += Shown(code);
        }
        return text;
    }
    int CursorLine() const override { return Cursor().first; }
    int CursorColumn() const override { return Cursor().second; }

    // True when i_cByte, coming next, would start ESC R or ESC B (see above).
    bool IsDisplayCommand(quint8 i_cByte) const {
        return m_model.InEscape() && m_model.EscapeBuffer().isEmpty() &&
               (i_cByte == 'R' || i_cByte == 'B');
    }

private:
    std::pair<int, int> Cursor() const {
        qint16 y = 0;
        qint16 x = 0;
        m_model.GetCursorPosition(y, x);
        return {y, x};
    }

    CVT100 m_model;
};

// The simulated display in VT100 mode, as the simulator runs it.
class SimulatorScreen : public Vt100Screen {
public:
    SimulatorScreen() : m_display(Vt100Options()) {}

    void Feed(quint8 i_cByte) override {
        m_display.Receive(QByteArray(1, static_cast<char>(i_cByte)));
    }
    using Vt100Screen::Feed;

    QString Text() const override {
        QString text;
        for (const char c : m_display.Cells()) {
            text += Shown(static_cast<quint8>(c));
        }
        return text;
    }
    int CursorLine() const override { return m_display.CursorRow() + 1; }
    int CursorColumn() const override { return m_display.CursorColumn() + 1; }

private:
    static DisplayEmulator::Options Vt100Options() {
        DisplayEmulator::Options options;
        options.vt100 = true;
        return options;
    }

    DisplayEmulator m_display;
};
