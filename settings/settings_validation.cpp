// OK, Add and Set-default: the fields are taken over into the current setting,
// checked together, and only then is the button's operation carried out.
#include "settings_window.h"
#include "setting_checks.h"
#include "setting_lines.h"
#include "settings_store.h"
#include "app/message_box.h"
#include "app/strings/string_table.h"

#include <QLineEdit>
#include <QListWidget>

namespace corvexo {

namespace {

bool listHolds(const QListWidget *list, const QString &name)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == name) return true;
    return false;
}

// A field that passes its check overwrites its slot at once, unless its value
// holds a double quote or a line break, which the settings files cannot keep.
void takeOver(int slot, const QString &value)
{
    if (fitsQuotedForm(value)) CurrentSetting[slot] = value;
}

} // namespace

void Form2::OKB(bool &PreOK, bool &PreAdd, bool &DeSITM)
{
    bool bURL = false, bPWO = false, bUNM = false, bPOR = false, bLIT = false;
    const std::optional<QString> host = hostForCurrentSetting(Text1->text());
    if (host) takeOver(1, *host);
    else bURL = true;
    if (!Text4->text().isEmpty()) takeOver(2, Text4->text());
    else bPWO = true;
    if (!Text3->text().isEmpty()) takeOver(3, Text3->text());
    else bUNM = true;
    if (portValue().isEmpty()) bPOR = true;
    else if (isPortNumber(portValue())) takeOver(4, portValue());
    if (!Text5->text().isEmpty()) takeOver(5, Text5->text());
    else bLIT = true;
    LMBoo(bURL, bPWO, bUNM, bPOR, bLIT);
    Problems += portRangeLine(portValue());
    Problems += doubleQuoteLine({Text1->text(), Text4->text(), Text3->text(), portValue(), Text5->text()});

    const bool add = PreAdd, ok = PreOK;
    PreOK = PreAdd = DeSITM = false;
    if (!Problems.isEmpty()) {
        showMessage(this, wrongSettingMessage(Problems));
        ShowSettings();
        show();
        return;
    }
    if (add) {
        bool append = true;
        SaveList(append);
    } else if (ok) {
        bool toDefault = true;
        ShowSettings(toDefault);
    } else if (List1->count() > 0 && listHolds(List1, Text5->text())) {
        SaveDefault();
        LoadDefault();
    } else {
        MunlessS();
    }
}

void Form2::LMBoo(bool &bURL, bool &bPWO, bool &bUNM, bool &bPOR, bool &bLIT)
{
    Problems = problemLines({bURL, bPWO, bUNM, bPOR, bLIT});
    bURL = bPWO = bUNM = bPOR = bLIT = false;
}

void Form2::MunlessS()
{
    if (askYesNo(this, text(120))) AddDefault();
    else showMessage(this, text(121));
}

} // namespace corvexo
