#include "core/settings/RememberedSelections.h"

#include "core/common/AppInfo.h"
#include "core/settings/SettingsStore.h"

namespace RememberedSelections {

const std::array<RememberedSelection, 10>& All() {
    // The order is start-up's: the display type first, because its handling refills the mode
    // and international-code lists and writes "0" to both keys before they are read.
    static const std::array<RememberedSelection, 10> selections{{
        {"cboLumoType", "Set", "LumoType", nullptr},
        {"cboComport", "Settings", "Comport", nullptr},
        {"cboBaudRate", "Settings", "BaudRate", nullptr},
        {"cboParity", "Settings", "Parity", nullptr},
        {"cboS_BaudRate", "Set", "BaudRate", nullptr},
        {"cboS_Parity", "Set", "Parity", nullptr},
        {"cboInternationalCode", "Set", "InternationalCode", "cboNational"},
        {"cboLayer", "Set", "Layer", nullptr},
        {"cboShowSavedMessageAfterRebootMode", "Set", "ShowSavedMessageAfterRebootMode", nullptr},
        {"cboMode", "Set", "Mode", nullptr},
    }};
    return selections;
}

const RememberedSelection* Of(const QString& i_sList) {
    for (const RememberedSelection& selection : All()) {
        if (i_sList == QLatin1String(selection.list) ||
            (selection.mirror != nullptr && i_sList == QLatin1String(selection.mirror))) {
            return &selection;
        }
    }
    return nullptr;
}

void Save(const QString& i_sList, int i_iIndex) {
    const RememberedSelection* selection = Of(i_sList);
    Q_ASSERT_X(selection != nullptr, "RememberedSelections::Save", "a list that is not remembered");
    if (selection == nullptr) {
        return;
    }
    SettingsStore::SaveSetting(AppInfo::Name(), QLatin1String(selection->section),
                               QLatin1String(selection->key), QString::number(i_iIndex));
}

QString Stored(const RememberedSelection& i_selection) {
    return SettingsStore::GetSetting(AppInfo::Name(), QLatin1String(i_selection.section),
                                     QLatin1String(i_selection.key), QStringLiteral("0"));
}

} // namespace RememberedSelections
