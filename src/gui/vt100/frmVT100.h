#pragma once

#include "core/vt100/CVT100.h"
#include "gui/widgets/BusyPointer.h"

#include <QColor>
#include <QDialog>
#include <array>
#include <initializer_list>

class CLumo;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTimer;
class UpDown;

// The VT100 mode test: drives a 4x20 display that runs in VT100 mode key by key and mirrors
// every byte it should show on a grid of 80 labels drawn from its own screen model, with a
// blinking cursor cell. It also reads the display's identification and screen back, and sets
// its brightness and country code. All traffic goes through the session it is given; the
// terminal stream leaves the port open, and closing the window closes it.
//
// While a command runs the window is busy and the pointer shows the hourglass. New commands
// are refused then, and a close is remembered and carried out by a running read.
class frmVT100 : public QDialog {
    Q_OBJECT

public:
    explicit frmVT100(CLumo& i_lumo, QWidget* i_pParent = nullptr);
    ~frmVT100() override;

public slots:
    // Every way of closing the window ends here (the title bar, close()).
    void reject() override;

protected:
    bool eventFilter(QObject* i_pWatched, QEvent* i_pEvent) override;
    void mouseReleaseEvent(QMouseEvent* i_pEvent) override;
    // Esc in a field does nothing: the window closes only through its own close.
    void keyPressEvent(QKeyEvent* i_pEvent) override;

private:
    void BuildControls();
    QGroupBox* BuildBrightnessFrame();
    QGroupBox* BuildCountryFrame();
    QGroupBox* BuildPositionFrame();
    void BuildButtonFrames();

    void Form_Load();
    bool Form_Unload();
    void Form_Click();
    void pic_KeyPress(qint16 i_iKey);
    void cmdCtrl_Click(int i_iIndex);
    void Slider1_Change();
    void Timer1_Timer();
    void lbl_Click(int i_iIndex);

    void RunCommand(int i_iIndex);
    void Keys(std::initializer_list<quint8> i_bKeys);
    void KeysOfText(const QString& i_sText);
    void SendCountryCode();
    void IdentificationRead();
    void ScreenRead();
    // Polls every 200 ms until i_iBytes bytes wait or the count has passed i_iMaxCount.
    // False when a close was requested meanwhile: the window has been unloaded.
    bool WaitForAnswer(int i_iBytes, int i_iMaxCount);

    bool IsBusy() const { return m_busy.Busy(); }
    void SetFramesEnabled(bool i_blnEnabled);
    // Processes pending events, restores the pointer and the controls, focuses the screen.
    void EndBusy();
    void DrawGrid();
    void PaintCell(int i_iIndex, const QColor& i_background);

    CLumo& m_lumo;
    CVT100 m_VT100;
    qint16 m_iCursorCell = 0;
    bool m_blnFirstTick = true;
    bool m_blnCloseRequested = false;
    BusyPointer m_busy{*this};

    QFrame* pic = nullptr;
    std::array<QLabel*, 80> lbl{};
    QGroupBox* fraBrightness = nullptr;
    QSlider* Slider1 = nullptr;
    QGroupBox* fraContryCode = nullptr;
    QComboBox* cboContryCode = nullptr;
    QGroupBox* fraPosition = nullptr;
    QLineEdit* txtY = nullptr;
    QLineEdit* txtX = nullptr;
    UpDown* UpDown1 = nullptr;
    UpDown* UpDown2 = nullptr;
    QFrame* fraCtrl = nullptr;
    QFrame* fraRead = nullptr;
    std::array<QPushButton*, 10> cmdCtrl{};
    QTimer* Timer1 = nullptr;
};
