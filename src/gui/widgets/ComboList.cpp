#include "gui/widgets/ComboList.h"

#include "core/common/LumoError.h"

#include <QLineEdit>
#include <QSignalBlocker>

namespace ComboList {

QComboBox* Create(const QString& i_sName, const QStringList& i_entries, bool i_blnEditable,
                  QWidget* i_pParent) {
    auto* combo = new QComboBox(i_pParent);
    combo->setObjectName(i_sName);
    combo->setEditable(i_blnEditable);
    if (i_blnEditable) {
        // Typing edits the text part only; it never adds entries to the list.
        combo->setInsertPolicy(QComboBox::NoInsert);
    }
    combo->setMaxVisibleItems(16);
    Fill(combo, i_entries);
    return combo;
}

void Fill(QComboBox* i_pCombo, const QStringList& i_entries) {
    const QSignalBlocker blocker(i_pCombo);
    i_pCombo->clear();
    i_pCombo->addItems(i_entries);
    i_pCombo->setCurrentIndex(-1);
    if (i_pCombo->isEditable()) {
        i_pCombo->lineEdit()->clear();
    }
}

void Select(QComboBox* i_pCombo, int i_iIndex) {
    if (i_iIndex < -1 || i_iIndex >= i_pCombo->count()) {
        const QString range =
            i_pCombo->count() == 0
                ? QStringLiteral("it has no entries")
                : QStringLiteral("its entries are 0 to %1").arg(i_pCombo->count() - 1);
        throw LumoError(LumoErrorNumber::InvalidValue,
                        QStringLiteral("The list %1 has no entry %2: %3.")
                            .arg(i_pCombo->objectName())
                            .arg(i_iIndex)
                            .arg(range));
    }
    i_pCombo->setCurrentIndex(i_iIndex);
}

void SelectIfPresent(QComboBox* i_pCombo, int i_iIndex) {
    if (i_iIndex >= -1 && i_iIndex < i_pCombo->count()) {
        i_pCombo->setCurrentIndex(i_iIndex);
    }
}

void OnSelection(QComboBox* i_pCombo, const std::function<void(int)>& i_handler) {
    QObject::connect(i_pCombo, qOverload<int>(&QComboBox::currentIndexChanged), i_pCombo,
                     [i_handler](int index) { i_handler(index); });
}

} // namespace ComboList
