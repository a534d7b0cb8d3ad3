#include "DotMatrixView.h"

#include "DisplayEmulator.h"
#include "DotMatrixFont.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QTimer>

namespace {
// A cell is 5x7 dots plus an underline row for the cursor; cells are spaced by two dots.
constexpr int kDot = 6;
constexpr int kCellWidth = 5 * kDot + 2 * kDot;
constexpr int kCellHeight = 8 * kDot + 3 * kDot;
constexpr int kMargin = 28;

const QColor kLit(120, 255, 214);
const QColor kGlow(40, 255, 190);
const QColor kDark(22, 48, 44);
} // namespace

DotMatrixView::DotMatrixView(const DisplayEmulator& i_emulator, QWidget* i_pParent)
    : QWidget(i_pParent), m_emulator(i_emulator), m_pBlink(new QTimer(this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_pBlink->setInterval(250);
    connect(m_pBlink, &QTimer::timeout, this, [this] {
        ++m_iTicks;
        m_blnPhase = (m_iTicks / 2) % 2 == 0;
        update();
    });
    m_pBlink->start();
}

QSize DotMatrixView::sizeHint() const {
    return {2 * kMargin + m_emulator.Columns() * kCellWidth - 2 * kDot,
            2 * kMargin + m_emulator.Rows() * kCellHeight - 3 * kDot};
}

QSize DotMatrixView::minimumSizeHint() const {
    return sizeHint();
}

void DotMatrixView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    // Glass: near-black with a faint teal sheen, darker towards the rim.
    QLinearGradient glass(0, 0, 0, height());
    glass.setColorAt(0.0, QColor(10, 22, 22));
    glass.setColorAt(0.5, QColor(4, 12, 13));
    glass.setColorAt(1.0, QColor(2, 7, 8));
    painter.fillRect(rect(), glass);
    painter.setPen(QPen(QColor(40, 70, 66), 2));
    painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 10, 10);

    const DisplayState& state = m_emulator.State();
    // US E n blinks the whole screen; in VT100 mode ESC B dims it.
    const bool blankPhase = state.blinkInterval > 0 && state.blinkInterval < 255 && !m_blnPhase;
    const double level = m_emulator.CurrentMode() == DisplayEmulator::Mode::Vt100
                             ? 1.0 - 0.2 * state.brightness
                             : 1.0;
    QColor lit = kLit;
    lit.setAlphaF(static_cast<float>(level));
    QColor glow = kGlow;
    glow.setAlphaF(static_cast<float>(0.35 * level));

    const CellScreen& screen = m_emulator.Screen();
    const int ox = (width() - (screen.Columns() * kCellWidth - 2 * kDot)) / 2;
    const int oy = (height() - (screen.Rows() * kCellHeight - 3 * kDot)) / 2;
    const double radius = kDot * 0.42;

    for (int r = 0; r < screen.Rows(); ++r) {
        for (int c = 0; c < screen.Columns(); ++c) {
            const DotMatrixFont::Glyph glyph = DotMatrixFont::ForByte(screen.Cell(r, c));
            const bool reversed = screen.Reversed(r, c);
            const bool cursorHere = screen.CursorVisible() && r == screen.CursorRow() &&
                                    c == screen.CursorColumn() &&
                                    m_emulator.CurrentMode() != DisplayEmulator::Mode::Loader;
            const int x0 = ox + c * kCellWidth;
            const int y0 = oy + r * kCellHeight;
            for (int row = 0; row < 8; ++row) {
                for (int col = 0; col < 5; ++col) {
                    bool on = row < 7 && (glyph[static_cast<size_t>(col)] >> row) & 1;
                    if (reversed && row < 7) {
                        on = !on;
                    }
                    if (row == 7) {
                        on = cursorHere && m_blnPhase;
                    }
                    if (blankPhase) {
                        on = false;
                    }
                    const QPointF centre(x0 + col * kDot + kDot / 2.0,
                                         y0 + row * kDot + kDot / 2.0 + (row == 7 ? kDot : 0));
                    if (on) {
                        QRadialGradient halo(centre, kDot * 1.3);
                        halo.setColorAt(0.0, glow);
                        halo.setColorAt(1.0, Qt::transparent);
                        painter.setPen(Qt::NoPen);
                        painter.setBrush(halo);
                        painter.drawEllipse(centre, kDot * 1.3, kDot * 1.3);
                        painter.setBrush(lit);
                    } else if (row < 7) {
                        painter.setPen(Qt::NoPen);
                        painter.setBrush(kDark);
                    } else {
                        continue;
                    }
                    painter.drawEllipse(centre, radius, radius);
                }
            }
        }
    }

    // A soft reflection across the upper half of the glass.
    QLinearGradient sheen(0, 0, 0, height() / 2.0);
    sheen.setColorAt(0.0, QColor(255, 255, 255, 18));
    sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(sheen);
    painter.drawRoundedRect(QRectF(4, 4, width() - 8, height() / 2.0), 8, 8);
}
