#include "gui/vt100/frmVT100.h"

#include "core/common/AppInfo.h"
#include "core/common/Cp1252.h"
#include "core/device/CLumo.h"
#include "core/protocol/modLumo.h"
#include "core/settings/SelectionLists.h"
#include "core/vt100/IdentificationAnswer.h"
#include "gui/widgets/UpDown.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <exception>

namespace {

constexpr int kRows = 4;
constexpr int kCols = 20;
constexpr int kCells = kRows * kCols;

const QColor kBackground(0, 64, 0);
const QColor kCharacter(0, 255, 0);
const QColor kBlink(128, 255, 255);
const QColor kScreen(0, 24, 0);

// The buttons of cmdCtrl by index: 0 to 7 in the first frame, 8 and 9 in the second.
enum CtrlButton {
    BackspaceButton = 0,
    LineFeedButton = 1,
    CarriageReturnButton = 2,
    DeleteDisplayButton = 3,
    PositionCursorButton = 4,
    DeleteToEndOfLineButton = 5,
    CountryCodeButton = 6,
    IdentificationButton = 7,
    SpecialCharactersButton = 8,
    ReadScreenButton = 9,
};

const std::array<const char*, 10> kCaptions{
    "Backspace - BS",
    "Line feed - LF",
    "Carriage return - CR",
    "Delete display - ESC [2J",
    "Position cursor - ESC [Py;PxH",
    "Delete to end of line - ESC [0K",
    "Set country code - ESC Rn",
    "Call display identification - ESC [0c",
    "Special Characters Set",
    "Get Display Message",
};

// The colour in which the desktop draws the title bar of the active window.
QColor ActiveTitleBar() {
    return QApplication::palette().color(QPalette::Active, QPalette::Highlight);
}

// What a cell shows: the Windows-1252 character of its code, nothing for 0.
QString CellText(qint16 i_iCode) {
    if (i_iCode <= 0 || i_iCode > 255) {
        return QString();
    }
    return Cp1252::Decode(QByteArray(1, static_cast<char>(i_iCode)));
}

// A failing step of a command is skipped; the command goes on with the next one.
template <typename Step> void Try(Step i_step) {
    try {
        i_step();
    } catch (const std::exception&) {
    }
}

QLabel* SmallLabel(const QString& i_sText, QWidget* i_pParent) {
    auto* label = new QLabel(i_sText, i_pParent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

frmVT100::frmVT100(CLumo& i_lumo, QWidget* i_pParent) : QDialog(i_pParent), m_lumo(i_lumo) {
    setObjectName(QStringLiteral("frmVT100"));
    setWindowTitle(QStringLiteral("VT100 Mode Test"));
    BuildControls();
    Form_Load();
}

frmVT100::~frmVT100() {
    Timer1->stop();
}

// --- Controls -----------------------------------------------------------------------------

void frmVT100::BuildControls() {
    pic = new QFrame(this);
    pic->setObjectName(QStringLiteral("pic"));
    pic->setFrameShape(QFrame::Panel);
    pic->setFrameShadow(QFrame::Sunken);
    pic->setLineWidth(2);
    pic->setFocusPolicy(Qt::StrongFocus);
    pic->setAutoFillBackground(true);
    QPalette screen = pic->palette();
    screen.setColor(QPalette::Window, kScreen);
    pic->setPalette(screen);
    pic->installEventFilter(this);

    QFont cellFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    cellFont.setPixelSize(28);
    cellFont.setBold(true);
    auto* grid = new QGridLayout(pic);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setSpacing(3);
    for (int i = 0; i < kCells; ++i) {
        auto* cell = new QLabel(pic);
        cell->setObjectName(QStringLiteral("lbl(%1)").arg(i));
        cell->setTextFormat(Qt::PlainText);
        cell->setAlignment(Qt::AlignCenter);
        cell->setFont(cellFont);
        cell->setFixedSize(30, 40);
        cell->setAutoFillBackground(true);
        cell->installEventFilter(this);
        grid->addWidget(cell, i / kCols, i % kCols);
        lbl[static_cast<size_t>(i)] = cell;
    }

    auto* settings = new QHBoxLayout;
    settings->addWidget(BuildBrightnessFrame(), 3);
    settings->addWidget(BuildCountryFrame(), 3);
    settings->addWidget(BuildPositionFrame(), 2);

    BuildButtonFrames();
    auto* commands = new QHBoxLayout;
    commands->addWidget(fraCtrl, 2);
    commands->addWidget(fraRead, 1);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(12, 12, 12, 12);
    main->setSpacing(10);
    main->addWidget(pic, 0, Qt::AlignHCenter);
    main->addLayout(settings);
    main->addLayout(commands);
    main->setSizeConstraint(QLayout::SetFixedSize);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, &frmVT100::Timer1_Timer);
}

QGroupBox* frmVT100::BuildBrightnessFrame() {
    fraBrightness = new QGroupBox(QStringLiteral("Brightness"), this);
    fraBrightness->setObjectName(QStringLiteral("fraBrightness"));
    Slider1 = new QSlider(Qt::Horizontal, fraBrightness);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setRange(0, 3);
    Slider1->setPageStep(1);
    Slider1->setTickPosition(QSlider::TicksBelow);
    Slider1->setTickInterval(1);
    Slider1->setTracking(false); // one change when the handle is let go, not one per step
    connect(Slider1, &QSlider::valueChanged, this, &frmVT100::Slider1_Change);
    auto* row = new QHBoxLayout(fraBrightness);
    row->addWidget(SmallLabel(QStringLiteral("0"), fraBrightness));
    row->addWidget(Slider1, 1);
    row->addWidget(SmallLabel(QStringLiteral("100%"), fraBrightness));
    return fraBrightness;
}

QGroupBox* frmVT100::BuildCountryFrame() {
    fraContryCode = new QGroupBox(QStringLiteral("Contry Code"), this);
    fraContryCode->setObjectName(QStringLiteral("fraContryCode"));
    cboContryCode = new QComboBox(fraContryCode);
    cboContryCode->setObjectName(QStringLiteral("cboContryCode"));
    {
        const QSignalBlocker quiet(cboContryCode);
        cboContryCode->addItems(SelectionLists::Countries());
        cboContryCode->setCurrentIndex(-1);
    }
    // A choice in the list hands the keyboard back to the screen.
    connect(cboContryCode, &QComboBox::activated, pic, [this] { pic->setFocus(); });
    connect(cboContryCode, &QComboBox::currentIndexChanged, pic, [this] { pic->setFocus(); });
    auto* row = new QHBoxLayout(fraContryCode);
    row->addWidget(cboContryCode);
    return fraContryCode;
}

QGroupBox* frmVT100::BuildPositionFrame() {
    fraPosition = new QGroupBox(QStringLiteral("Position Cursor"), this);
    fraPosition->setObjectName(QStringLiteral("fraPosition"));
    auto* row = new QHBoxLayout(fraPosition);
    auto addField = [this, row](const QString& i_sLabel, const QString& i_sName, int i_iMax,
                                const QString& i_sUpDown, QLineEdit*& o_pText, UpDown*& o_pUpDown) {
        row->addWidget(SmallLabel(i_sLabel, fraPosition));
        o_pText = new QLineEdit(QStringLiteral("1"), fraPosition);
        o_pText->setObjectName(i_sName);
        o_pText->setFixedWidth(36);
        o_pText->setAlignment(Qt::AlignRight);
        o_pUpDown = new UpDown(i_sUpDown, o_pText, 1, i_iMax, fraPosition);
        // A press on either arrow hands the keyboard back to the screen.
        for (QToolButton* arrow : o_pUpDown->findChildren<QToolButton*>()) {
            connect(arrow, &QToolButton::clicked, pic, [this] { pic->setFocus(); });
        }
        auto* pair = new QHBoxLayout;
        pair->setSpacing(0);
        pair->addWidget(o_pText);
        pair->addWidget(o_pUpDown);
        row->addLayout(pair);
    };
    addField(QStringLiteral("Y:"), QStringLiteral("txtY"), kRows, QStringLiteral("UpDown1"), txtY,
             UpDown1);
    row->addSpacing(8);
    addField(QStringLiteral("X:"), QStringLiteral("txtX"), kCols, QStringLiteral("UpDown2"), txtX,
             UpDown2);
    row->addStretch(1);
    return fraPosition;
}

void frmVT100::BuildButtonFrames() {
    fraCtrl = new QFrame(this);
    fraCtrl->setObjectName(QStringLiteral("fraCtrl"));
    fraRead = new QFrame(this);
    fraRead->setObjectName(QStringLiteral("fraRead"));
    auto* ctrlGrid = new QGridLayout(fraCtrl);
    auto* readColumn = new QVBoxLayout(fraRead);
    for (int i = 0; i < static_cast<int>(cmdCtrl.size()); ++i) {
        auto* button = new QPushButton(QString::fromLatin1(kCaptions[static_cast<size_t>(i)]),
                                       i < SpecialCharactersButton ? fraCtrl : fraRead);
        button->setObjectName(QStringLiteral("cmdCtrl(%1)").arg(i));
        button->setAutoDefault(false);
        button->setMinimumHeight(30);
        button->setMinimumWidth(button->sizeHint().width() + 16);
        connect(button, &QPushButton::clicked, this, [this, i] { cmdCtrl_Click(i); });
        if (i < SpecialCharactersButton) {
            // Two columns: the line controls on the left, the escape sequences on the right.
            ctrlGrid->addWidget(button, i % 4, i / 4);
        } else {
            readColumn->addWidget(button);
        }
        cmdCtrl[static_cast<size_t>(i)] = button;
    }
    ctrlGrid->setColumnStretch(0, 1);
    ctrlGrid->setColumnStretch(1, 1);
    readColumn->addStretch(1);
}

// --- Load and unload ----------------------------------------------------------------------

void frmVT100::Form_Load() {
    m_VT100.SetDisplaySize(kRows, kCols);
    for (QLabel* cell : lbl) {
        cell->clear();
    }
    for (int i = 0; i < kCells; ++i) {
        PaintCell(i, kBackground);
    }
    cboContryCode->setCurrentIndex(0);
    m_blnFirstTick = true;
    // The two button frames show no border.
    fraCtrl->setFrameShape(QFrame::NoFrame);
    fraRead->setFrameShape(QFrame::NoFrame);
    pic->setFocus();
    // Nothing is sent now: the first tick sends the first byte.
    Timer1->start();
}

bool frmVT100::Form_Unload() {
    if (IsBusy()) {
        // A running read notices this after its next wait and closes the window itself.
        m_blnCloseRequested = true;
        return false;
    }
    Timer1->stop();
    m_lumo.Disconnect(); // the terminal stream left the port open
    return true;
}

void frmVT100::reject() {
    if (Form_Unload()) {
        QDialog::reject();
    }
}

// --- Events -------------------------------------------------------------------------------

bool frmVT100::eventFilter(QObject* i_pWatched, QEvent* i_pEvent) {
    if (i_pWatched == pic && i_pEvent->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(i_pEvent);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            return false; // still moves the focus
        }
        if (key->key() != Qt::Key_Delete) {
            for (const char c : Cp1252::Encode(key->text())) {
                pic_KeyPress(static_cast<quint8>(c));
            }
        }
        return true;
    }
    if (i_pEvent->type() == QEvent::MouseButtonRelease) {
        for (int i = 0; i < kCells; ++i) {
            if (i_pWatched == lbl[static_cast<size_t>(i)]) {
                lbl_Click(i);
                return true;
            }
        }
    }
    return QDialog::eventFilter(i_pWatched, i_pEvent);
}

void frmVT100::keyPressEvent(QKeyEvent* i_pEvent) {
    if (i_pEvent->key() == Qt::Key_Escape) {
        i_pEvent->accept(); // not the dialog's own Esc, which would close the window
        return;
    }
    QDialog::keyPressEvent(i_pEvent);
}

void frmVT100::mouseReleaseEvent(QMouseEvent* i_pEvent) {
    // Only a click on the window itself, not one that a control let through.
    if (i_pEvent->button() == Qt::LeftButton && rect().contains(i_pEvent->position().toPoint()) &&
        childAt(i_pEvent->position().toPoint()) == nullptr) {
        Form_Click();
    }
    QDialog::mouseReleaseEvent(i_pEvent);
}

void frmVT100::Form_Click() {
    if (!IsBusy()) {
        cmdCtrl_Click(BackspaceButton);
        pic->setFocus();
    }
}

void frmVT100::lbl_Click(int) {
    if (!IsBusy()) {
        pic->setFocus();
    }
}

void frmVT100::Timer1_Timer() {
    if (m_blnFirstTick) {
        cmdCtrl_Click(BackspaceButton);
        m_blnFirstTick = false;
    }
    QLabel* cell = lbl[static_cast<size_t>(m_iCursorCell)];
    const bool lit = cell->palette().color(QPalette::Window) == kBlink;
    PaintCell(m_iCursorCell, lit ? kBackground : kBlink);
}

// --- The terminal stream ------------------------------------------------------------------

void frmVT100::pic_KeyPress(qint16 i_iKey) {
    if (i_iKey < 0) {
        // A double-byte character: its high byte.
        i_iKey = static_cast<qint16>((static_cast<quint16>(i_iKey) >> 8) & 0xFF);
    }
    m_VT100.setKey(i_iKey);
    DrawGrid();
    // The grid shows the byte before it leaves.
    m_lumo.SendMessageB_VT100(static_cast<quint8>(i_iKey));
}

void frmVT100::DrawGrid() {
    std::vector<qint16> cells(kCells, 0);
    m_VT100.GetData(cells);
    for (int i = 0; i < kCells; ++i) {
        lbl[static_cast<size_t>(i)]->setText(CellText(cells[static_cast<size_t>(i)]));
        PaintCell(i, kBackground);
    }
    qint16 y = 1;
    qint16 x = 1;
    m_VT100.GetCursorPosition(y, x);
    const int cell = (y - 1) * kCols + (x - 1);
    m_iCursorCell = static_cast<qint16>(cell >= 0 && cell < kCells ? cell : 0);
    PaintCell(m_iCursorCell, ActiveTitleBar());
}

void frmVT100::PaintCell(int i_iIndex, const QColor& i_background) {
    QLabel* cell = lbl[static_cast<size_t>(i_iIndex)];
    QPalette colours = cell->palette();
    colours.setColor(QPalette::Window, i_background);
    colours.setColor(QPalette::WindowText, kCharacter);
    cell->setPalette(colours);
}

void frmVT100::Keys(std::initializer_list<quint8> i_bKeys) {
    for (const quint8 key : i_bKeys) {
        Try([&] { pic_KeyPress(key); });
    }
}

void frmVT100::KeysOfText(const QString& i_sText) {
    for (const char c : Cp1252::Encode(i_sText)) {
        Try([&] { pic_KeyPress(static_cast<quint8>(c)); });
    }
}

// --- Commands -----------------------------------------------------------------------------

void frmVT100::SetFramesEnabled(bool i_blnEnabled) {
    for (QWidget* part : std::initializer_list<QWidget*>{pic, fraBrightness, fraContryCode,
                                                         fraPosition, fraCtrl, fraRead}) {
        part->setEnabled(i_blnEnabled);
    }
}

void frmVT100::cmdCtrl_Click(int i_iIndex) {
    if (!m_busy.Begin()) {
        return;
    }
    SetFramesEnabled(false);
    Try([&] { RunCommand(i_iIndex); });
    EndBusy();
}

void frmVT100::EndBusy() {
    modLumo::ProcessEvents();
    m_busy.End();
    SetFramesEnabled(true);
    pic->setFocus();
}

void frmVT100::RunCommand(int i_iIndex) {
    switch (i_iIndex) {
    case BackspaceButton:
        Keys({0x08});
        break;
    case LineFeedButton:
        Keys({0x0A});
        break;
    case CarriageReturnButton:
        Keys({0x0D});
        break;
    case DeleteDisplayButton:
        Keys({0x1B, 0x5B, 0x32, 0x4A});
        break;
    case PositionCursorButton:
        Keys({0x1B, 0x5B});
        KeysOfText(txtY->text());
        Keys({0x3B});
        KeysOfText(txtX->text());
        Keys({0x48});
        break;
    case DeleteToEndOfLineButton:
        Keys({0x1B, 0x5B, 0x30, 0x4B});
        break;
    case CountryCodeButton:
        SendCountryCode();
        break;
    case IdentificationButton:
        Keys({0x1B, 0x5B, 0x30, 0x63});
        IdentificationRead();
        break;
    case SpecialCharactersButton:
        Keys({0x23, 0x24, 0x40, 0x5B, 0x5C, 0x5D, 0x5E, 0x60, 0x7B, 0x7C, 0x7D, 0x7E, 0x80});
        break;
    case ReadScreenButton:
        Keys({0x1B, 0x54});
        ScreenRead();
        break;
    default:
        break;
    }
}

void frmVT100::SendCountryCode() {
    // Straight to the display: the model and the grid do not see these bytes.
    Try([&] { m_lumo.SendMessageB_VT100(0x1B); });
    Try([&] { m_lumo.SendMessageB_VT100(0x52); });
    const int code = cboContryCode->currentIndex();
    if (code >= 0) {
        Try([&] { m_lumo.SendMessageB_VT100(static_cast<quint8>(code)); });
    }
}

bool frmVT100::WaitForAnswer(int i_iBytes, int i_iMaxCount) {
    for (int count = 1;; ++count) {
        modLumo::WaitMilliseconds(200);
        if (m_blnCloseRequested) {
            m_busy.End();
            close();
            return false;
        }
        if (m_lumo.InBufferCount() >= i_iBytes || count > i_iMaxCount) {
            return true;
        }
    }
}

void frmVT100::IdentificationRead() {
    modLumo::ProcessEvents();
    if (!WaitForAnswer(15, 10)) {
        return;
    }
    modLumo::WaitMilliseconds(100);
    QString answer;
    m_lumo.GetCommData(answer);
    m_busy.End();
    QMessageBox box(QMessageBox::Information, AppInfo::Name(),
                    IdentificationAnswer::MessageText(answer), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText); // the answer is the display's: never read as markup
    box.exec();
}

void frmVT100::ScreenRead() {
    if (!WaitForAnswer(kCells, 20)) {
        return;
    }
    modLumo::WaitMilliseconds(100);
    QByteArray screen;
    m_lumo.GetCommDataB(screen);
    // Captions only: the colours and the cursor cell stay as they are.
    for (qsizetype i = 0; i < screen.size() && i < kCells; ++i) {
        lbl[static_cast<size_t>(i)]->setText(CellText(static_cast<quint8>(screen[i])));
    }
    m_VT100.SetData(screen); // the model's cursor does not move
}

void frmVT100::Slider1_Change() {
    if (!m_busy.Begin()) {
        return;
    }
    Slider1->setEnabled(false);
    SetFramesEnabled(false);
    // Position 0 is the dim end (digit 3), position 3 the "100%" end (digit 0). Each byte opens
    // and closes the port.
    const auto level = static_cast<quint8>('0' + (3 - Slider1->value()));
    for (const quint8 byte : {quint8{0x1B}, quint8{0x42}, level}) {
        Try([&] { m_lumo.SendMessageB(byte); });
    }
    EndBusy();
    Slider1->setEnabled(true);
}
