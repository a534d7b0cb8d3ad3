#pragma once

#include <QWidget>

class DisplayEmulator;
class QTimer;

// The tube: dark glass with glowing 5x7 dot-matrix cells, the cursor as an underline that
// blinks, reversed cells drawn inverted, and the whole screen blinking when US E asks.
class DotMatrixView : public QWidget {
    Q_OBJECT
public:
    explicit DotMatrixView(const DisplayEmulator& i_emulator, QWidget* i_pParent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* i_pEvent) override;

private:
    const DisplayEmulator& m_emulator;
    QTimer* m_pBlink;
    bool m_blnPhase = true;
    int m_iTicks = 0;
};
