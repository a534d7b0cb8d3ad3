#include "Vt100WindowFixture.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

void Vt100WindowTest::SetUp() {
    lumo = std::make_unique<CLumo>();
    lumo->setCommPort(1);
    lumo->setBaudRate(QStringLiteral("19200"));
    lumo->setParity(QStringLiteral("NONE"));
    window = std::make_unique<frmVT100>(*lumo);
    Timer()->stop();
    window->show();
}

void Vt100WindowTest::TearDown() {
    window.reset();
}

QLabel* Vt100WindowTest::Label(int i_iIndex) const {
    return FindChild<QLabel>(*window, QStringLiteral("lbl(%1)").arg(i_iIndex));
}

QPushButton* Vt100WindowTest::Button(int i_iIndex) const {
    return FindChild<QPushButton>(*window, QStringLiteral("cmdCtrl(%1)").arg(i_iIndex));
}

QTimer* Vt100WindowTest::Timer() const {
    return FindChild<QTimer>(*window, "Timer1");
}

QColor Vt100WindowTest::Background(int i_iIndex) const {
    return Label(i_iIndex)->palette().color(QPalette::Window);
}

QColor Vt100WindowTest::TextColour(int i_iIndex) const {
    return Label(i_iIndex)->palette().color(QPalette::WindowText);
}

QList<int> Vt100WindowTest::MarkedCells() const {
    QList<int> marked;
    for (int i = 0; i < 80; ++i) {
        if (Background(i) != QColor(0, 64, 0)) {
            marked << i;
        }
    }
    return marked;
}

QString Vt100WindowTest::Captions(int i_iFirst, int i_iCount) const {
    QString out;
    for (int i = i_iFirst; i < i_iFirst + i_iCount; ++i) {
        const QString caption = Label(i)->text();
        out += caption.isEmpty() ? QStringLiteral(".") : caption;
    }
    return out;
}

bool Vt100WindowTest::Busy() const {
    return window->testAttribute(Qt::WA_SetCursor) && window->cursor().shape() == Qt::WaitCursor;
}

void Vt100WindowTest::Tick() {
    QMetaObject::invokeMethod(Timer(), "timeout", Qt::DirectConnection);
}

void Vt100WindowTest::AnswerAfter(const QByteArray& i_bAfter, const QByteArray& i_bAnswer,
                                  qint64 i_lDelayMs) {
    comm->onOutput = [i_bAfter, i_bAnswer, i_lDelayMs](FakeComm& c, const QByteArray&) {
        if (c.Written().endsWith(i_bAfter)) {
            c.Queue(i_bAnswer, i_lDelayMs);
        }
    };
}
