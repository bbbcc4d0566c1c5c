// Remove and Initialize: a setting, or the whole list, leaves the list box,
// the main window's setting box and "SLItems"; the default follows.
#include "settings_window.h"
#include "settings_store.h"
#include "app/message_box.h"
#include "app/strings/string_table.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

namespace corvexo {

void Form2::ClorRe(bool &CRtheItem)
{
    const bool clearAll = CRtheItem;
    CRtheItem = false;
    // A list file that was not read whole would lose what was not read.
    if (!listFileCanBeRewritten()) return;
    QComboBox *combo1 = settingsCombo();
    if (!clearAll) {
        if (!askYesNo(this, text(118))) return;
        const int i = List1->currentRow();
        if (i < 0 || i >= kSettingSlots) return;
        if (List1->item(i)->text() != Text6->text()) {
            // Not the default: "Sfile" and the default's name stay as they are.
            delete List1->takeItem(i);
            if (combo1) combo1->removeItem(i);
            bool keepDefault = false;
            DlDefaultItem(keepDefault, i);
        } else {
            if (!askYesNo(this, text(119))) return;
            delete List1->takeItem(i);
            if (combo1) combo1->removeItem(i);
            bool dropDefault = true;
            DlDefaultItem(dropDefault, i);
        }
    } else {
        if (!askYesNo(this, text(117))) return;
        for (SettingCount = 0; SettingCount < List1->count(); ++SettingCount)
            SettingList[SettingCount] = ConnectionSetting{};
        if (combo1) combo1->clear();
        List1->clear();
        bool dropDefault = true;
        DlDefaultItem(dropDefault, 0);
    }
    bool append = false;
    SaveList(append);
    LoadList();
    ShowSettings();
    List1->update();
}

void Form2::DlDefaultItem(bool &CorD, int CntI)
{
    for (QLineEdit *field : {Text1, MaskEdBox1, Text3, Text4, Text5}) field->clear();
    if (CntI >= 0 && CntI < kSettingSlots) SettingList[CntI] = ConnectionSetting{};
    // Only a cleared default is written; rewriting "Sfile" otherwise would make
    // whatever the current setting holds the next start-up's default.
    if (!CorD) return;
    CorD = false;
    Text6->clear();
    for (QString &slot : CurrentSetting) slot.clear();
    SaveDefault();
    LoadDefault();
}

} // namespace corvexo
