#include "gui/app/StartupSequence.h"

#include "core/common/AppInfo.h"
#include "core/common/LumoError.h"
#include "core/common/NumberText.h"
#include "core/common/Prompt.h"
#include "core/settings/RememberedSelections.h"
#include "gui/widgets/ComboList.h"

#include <QComboBox>

StartupSequence::StartupSequence(QWidget& i_window) : m_window(i_window) {}

void StartupSequence::Step(const std::function<void()>& i_step) {
    try {
        i_step();
    } catch (const LumoError& e) {
        Prompt::Current().Show(Prompt::Icon::None, AppInfo::Name(), e.description());
    }
}

void StartupSequence::Select(const char* i_pList, int i_iIndex) {
    Step([this, i_pList, i_iIndex] { ComboList::Select(List(i_pList), i_iIndex); });
}

void StartupSequence::Restore(const RememberedSelection& i_selection) {
    Step([this, &i_selection] { RestoreStep(i_selection); });
    if (i_selection.mirror != nullptr) {
        Step([this, &i_selection] {
            ComboList::Select(List(i_selection.mirror), List(i_selection.list)->currentIndex());
        });
    }
}

QComboBox* StartupSequence::List(const char* i_pName) const {
    auto* list = m_window.findChild<QComboBox*>(QLatin1String(i_pName));
    if (list == nullptr) {
        throw LumoError(LumoErrorNumber::InvalidValue,
                        QStringLiteral("The window has no list %1.").arg(QLatin1String(i_pName)));
    }
    return list;
}

void StartupSequence::RestoreStep(const RememberedSelection& i_selection) {
    QComboBox* list = List(i_selection.list);
    const QString stored = RememberedSelections::Stored(i_selection);
    const QString where = QStringLiteral("%1/%2").arg(QLatin1String(i_selection.section),
                                                      QLatin1String(i_selection.key));
    const QString shown = stored.size() > 40 ? stored.left(40) + QStringLiteral("...") : stored;
    qint16 index = 0;
    try {
        index = NumberText::ReadInt16(stored);
    } catch (const LumoError&) {
        throw LumoError(LumoErrorNumber::Overflow,
                        QStringLiteral("The stored selection %1 = \"%2\" is out of range; the list "
                                       "%3 keeps no selection.")
                            .arg(where, shown, list->objectName()));
    }
    try {
        ComboList::Select(list, index);
    } catch (const LumoError& e) {
        throw LumoError(e.number(), QStringLiteral("The stored selection %1 = \"%2\" cannot be "
                                                   "restored. %3")
                                        .arg(where, shown, e.description()));
    }
}
