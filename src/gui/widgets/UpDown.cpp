#include "gui/widgets/UpDown.h"

#include "core/common/NumberText.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

UpDown::UpDown(const QString& i_sName, QLineEdit* i_pBuddy, int i_iMin, int i_iMax,
               QWidget* i_pParent)
    : QWidget(i_pParent), m_pBuddy(i_pBuddy), m_iMin(i_iMin), m_iMax(i_iMax) {
    setObjectName(i_sName);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto makeArrow = [this, layout](Qt::ArrowType arrow, int delta, const QString& tip) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFixedSize(18, 11);
        button->setFocusPolicy(Qt::NoFocus);
        button->setToolTip(tip);
        connect(button, &QToolButton::clicked, this, [this, delta] { Step(delta); });
        layout->addWidget(button);
    };
    makeArrow(Qt::UpArrow, +1, tr("One more"));
    makeArrow(Qt::DownArrow, -1, tr("One less"));
}

void UpDown::Step(int i_iDelta) {
    const double current = NumberText::RoundHalfEven(NumberText::LeadingNumber(m_pBuddy->text()));
    double next = current + i_iDelta;
    const int upper = std::max(m_iMin, m_iMax);
    next = std::min<double>(std::max<double>(next, m_iMin), upper);
    m_pBuddy->setText(QString::number(static_cast<qint64>(next)));
}
