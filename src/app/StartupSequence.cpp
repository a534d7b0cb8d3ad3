#include "app/StartupSequence.h"

#include "app/SelectionLists.h"
#include "app/SettingsStore.h"
#include "app/frmMain.h"
#include "common/AppInfo.h"
#include "common/LumoError.h"
#include "common/NumberText.h"
#include "common/Prompt.h"
#include "panels/AsciiPanel.h"
#include "panels/EpsonPanel.h"
#include "panels/SettingPanel.h"
#include "panels/VeltPanel.h"
#include "widgets/ComboList.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTabWidget>
#include <functional>

namespace {

// Runs one step; a failure is shown and the sequence goes on.
void step(const std::function<void()>& i_step) {
    try {
        i_step();
    } catch (const LumoError& e) {
        Prompt::Current().Show(Prompt::Icon::None, AppInfo::Name(), e.description());
    }
}

} // namespace

void StartupSequence::RestoreSelection(QComboBox* i_pCombo, const char* i_pSection,
                                       const char* i_pKey) {
    const QString stored = SettingsStore::GetSetting(AppInfo::Name(), QLatin1String(i_pSection),
                                                     QLatin1String(i_pKey), QStringLiteral("0"));
    const QString where =
        QStringLiteral("%1/%2").arg(QLatin1String(i_pSection), QLatin1String(i_pKey));
    const QString shown = stored.size() > 40 ? stored.left(40) + QStringLiteral("...") : stored;
    qint16 index = 0;
    try {
        index = NumberText::ReadInt16(stored);
    } catch (const LumoError&) {
        throw LumoError(LumoErrorNumber::Overflow,
                        QStringLiteral("The stored selection %1 = \"%2\" is out of range; the list "
                                       "%3 keeps no selection.")
                            .arg(where, shown, i_pCombo->objectName()));
    }
    try {
        ComboList::Select(i_pCombo, index);
    } catch (const LumoError& e) {
        throw LumoError(e.number(), QStringLiteral("The stored selection %1 = \"%2\" cannot be "
                                                   "restored. %3")
                                        .arg(where, shown, e.description()));
    }
}

void StartupSequence::Run(frmMain& w) {
    SettingPanel& setting = w.Setting();
    VeltPanel& velt = w.Velt();
    EpsonPanel& epson = w.Epson();

    step([&] { w.m_blnLoading = true; });
    step([&] {
        ComboList::Fill(setting.cboBaudRate, SelectionLists::BaudRates());
        ComboList::Fill(velt.cboS_BaudRate, SelectionLists::BaudRates());
        ComboList::Fill(setting.cboComport, SelectionLists::Comports());
        setting.DescribePorts();
        ComboList::Fill(velt.cboShowSavedMessageAfterRebootMode, SelectionLists::RebootModes());
        setting.cmdMis->hide();
        setting.Frame2->hide();
    });
    step([&] { w.FillDisplayTypeList(); });

    step([&] { RestoreSelection(setting.cboLumoType, "Set", "LumoType"); });
    step([&] { RestoreSelection(setting.cboComport, "Settings", "Comport"); });
    step([&] { RestoreSelection(setting.cboBaudRate, "Settings", "BaudRate"); });
    step([&] { RestoreSelection(setting.cboParity, "Settings", "Parity"); });
    step([&] { RestoreSelection(velt.cboS_BaudRate, "Set", "BaudRate"); });
    step([&] { RestoreSelection(velt.cboS_Parity, "Set", "Parity"); });
    step([&] { RestoreSelection(velt.cboInternationalCode, "Set", "InternationalCode"); });
    step([&] { ComboList::Select(epson.cboNational, velt.cboInternationalCode->currentIndex()); });
    step([&] { RestoreSelection(velt.cboLayer, "Set", "Layer"); });
    step([&] {
        RestoreSelection(velt.cboShowSavedMessageAfterRebootMode, "Set",
                         "ShowSavedMessageAfterRebootMode");
    });

    step([&] { w.FillModeList(); });
    step([&] { RestoreSelection(velt.cboMode, "Set", "Mode"); });
    step([&] { w.ApplyDisplayGeometry(); });
    step([&] { w.ApplyTabAvailability(); });

    step([&] { ComboList::Select(epson.cboExpand, 0); });
    step([&] { ComboList::Select(epson.cboOperation, 0); });
    step([&] { ComboList::Select(epson.cboPeripheral, 1); });
    step([&] { ComboList::Select(epson.cboRow, 0); });
    step([&] { ComboList::Select(epson.cboColumn, 0); });
    step([&] { ComboList::Select(velt.cboDevice, 0); });

    step([&] {
        for (int i = 0; i <= 4; ++i) {
            epson.cmdEPSON[static_cast<size_t>(i)]->setIcon(
                QIcon(QStringLiteral(":/icons/%1.png").arg(101 + i)));
        }
    });
    step([&] { w.SSTab1->setCurrentIndex(0); });
    step([&] { w.setWindowTitle(AppInfo::Title()); });
    step([&] { ComboList::Select(setting.cboLumoType, 4); });
    step([&] { w.m_blnLoading = false; });
}
