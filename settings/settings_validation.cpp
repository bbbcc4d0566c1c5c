// OK, Add and Set-default: the fields are checked together, and only when all
// pass are they taken over into the current setting and the button's
// operation carried out.
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

} // namespace

void Form2::OKB(bool &PreOK, bool &PreAdd, bool &DeSITM)
{
    const std::optional<QString> host = hostForCurrentSetting(Text1->text());
    bool bURL = !host;
    bool bPWO = Text4->text().isEmpty();
    bool bUNM = Text3->text().isEmpty();
    // An empty port means the protocol's own, which a host that names no protocol cannot tell.
    bool bPOR = portValue().isEmpty() && !host;
    bool bLIT = Text5->text().isEmpty();
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
    // Taken over whole and only now, so that no field of the setting before (its
    // password above all) stays behind to go to another server.
    CurrentSetting[1] = *host;
    CurrentSetting[2] = Text4->text();
    CurrentSetting[3] = Text3->text();
    CurrentSetting[4] = portValue();
    CurrentSetting[5] = Text5->text();
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
    Problems = problemLines({bURL, bPWO, bUNM, bPOR, bLIT}, Text1->text());
    bURL = bPWO = bUNM = bPOR = bLIT = false;
}

void Form2::MunlessS()
{
    if (askYesNo(this, text(120))) AddDefault();
    else showMessage(this, text(121));
}

} // namespace corvexo
