#pragma once

#include <QLineEdit>
#include <QWidget>

class QToolButton;

// A pair of arrow buttons tied to a text box: each press steps the number in the box by one
// within the bounds. Typing into the box is not limited to the bounds.
class UpDown : public QWidget {
    Q_OBJECT

public:
    UpDown(const QString& i_sName, QLineEdit* i_pBuddy, int i_iMin, int i_iMax, QWidget* i_pParent);

    int Min() const { return m_iMin; }
    int Max() const { return m_iMax; }
    void setMax(int i_iMax) { m_iMax = i_iMax; }
    QLineEdit* Buddy() const { return m_pBuddy; }

    // Steps the number in the box by i_iDelta, kept within the bounds.
    void Step(int i_iDelta);

private:
    QLineEdit* m_pBuddy;
    int m_iMin;
    int m_iMax;
};
