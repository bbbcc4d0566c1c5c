#include "settings_store.h"
#include "setting_checks.h"
#include "setting_lines.h"
#include "settings_files.h"
#include "settings_messages.h"
#include "settings_window.h"
#include "app/message_box.h"
#include "app/strings/string_table.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QLockFile>
#include <QPointer>
#include <QPushButton>

namespace corvexo {

std::array<QString, 6> CurrentSetting;
std::array<ConnectionSetting, kSettingSlots> SettingList;
std::array<ConnectionSetting, kSettingSlots> SettingBuffer;
qint16 SettingCount = 0;

namespace {

QPointer<QWidget> g_mainWindow;
QPointer<QComboBox> g_combo1;
QPointer<Form2> g_form2;
// The list as this window last read it from "SLItems": what it removed since is
// told apart from what another running copy added meanwhile.
QVector<ConnectionSetting> g_listAsRead;

QWidget *messageParent()
{
    if (g_form2 && g_form2->isVisible()) return g_form2;
    return g_mainWindow;
}

ConnectionSetting shownSetting(const Form2 *w)
{
    return {w->Text1->text(), w->Text4->text(), w->Text3->text(), w->portValue(), w->Text5->text()};
}

void showInFields(Form2 *w, const ConnectionSetting &s)
{
    w->Text1->setText(s.HostAddress);
    w->Text4->setText(s.Password);
    w->Text3->setText(s.UserName);
    w->MaskEdBox1->setText(s.PortAddress);
    w->Text5->setText(s.SettingName);
}

bool listHolds(const QListWidget *list, const QString &name)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == name) return true;
    return false;
}

bool anyValueUnfitForFile(const QStringList &fields)
{
    for (const QString &value : fields)
        if (!fitsQuotedForm(value)) return true;
    return false;
}

// "SLItems" with the records it holds, when it was read whole.
bool readListFileWhole(SettingsFileContent &content, bool &missing)
{
    QByteArray bytes;
    const FileRead result = readSettingsBytes(kListFileName, bytes, messageParent());
    missing = result == FileRead::Missing;
    if (result != FileRead::Read) return missing;
    content = readSettingsFile(bytes, kSettingSlots);
    return content.intact();
}

bool sameRecord(const ConnectionSetting &a, const ConnectionSetting &b)
{
    return fieldsOf(a) == fieldsOf(b);
}

bool removeOneRecord(QVector<ConnectionSetting> &records, const ConnectionSetting &record)
{
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (!sameRecord(records.at(i), record)) continue;
        records.removeAt(i);
        return true;
    }
    return false;
}

// The records of "SLItems" as it is now, less those this window removed since it read the list.
QVector<ConnectionSetting> listAfterRemovals(const QVector<ConnectionSetting> &onFileNow, int last)
{
    QVector<ConnectionSetting> held;
    for (int i = 0; i <= last; ++i)
        if (!SettingList[i].HostAddress.isEmpty()) held.append(SettingList[i]);
    QVector<ConnectionSetting> result = onFileNow;
    for (const ConnectionSetting &record : g_listAsRead)
        if (!removeOneRecord(held, record)) removeOneRecord(result, record);
    return result;
}

void reportUnreadLines(const SettingsFileContent &content)
{
    if (!content.badLines.isEmpty())
        showMessage(messageParent(), badLinesMessage(kListFileName, content.badLines));
    if (content.recordsBeyondLimit > 0)
        showMessage(messageParent(),
                    tooManyRecordsMessage(kListFileName, content.records.size(), content.recordsBeyondLimit));
}

} // namespace

void attachSettingsStore(QWidget *mainWindow, QComboBox *combo1)
{
    g_mainWindow = mainWindow;
    g_combo1 = combo1;
}

Form2 *settingsWindow()
{
    if (!g_form2) {
        // Known to the store before its load step runs, which fills it through the store.
        g_form2 = new Form2(g_mainWindow);
        g_form2->Form_Load();
    }
    return g_form2;
}

Form2 *existingSettingsWindow() { return g_form2; }

void unloadSettingsWindow()
{
    if (g_form2) delete g_form2.data();
}

void forgetSettingsWindow(Form2 *window)
{
    if (g_form2 == window) g_form2 = nullptr;
}

QComboBox *settingsCombo() { return g_combo1; }

bool listFileCanBeRewritten()
{
    SettingsFileContent content;
    bool missing = false;
    if (readListFileWhole(content, missing)) return true;
    if (!missing && (!content.badLines.isEmpty() || content.recordsBeyondLimit > 0))
        showMessage(messageParent(), listNotRewrittenMessage(kListFileName));
    return false;
}

bool useListedSetting(int index)
{
    if (index < 0 || index >= kSettingSlots || SettingList[index].HostAddress.isEmpty()) return false;
    const ConnectionSetting &listed = SettingList[index];
    CurrentSetting[1] = hostForCurrentSetting(listed.HostAddress).value_or(listed.HostAddress);
    CurrentSetting[2] = listed.Password;
    CurrentSetting[3] = listed.UserName;
    CurrentSetting[4] = listed.PortAddress;
    CurrentSetting[5] = listed.SettingName;
    return true;
}

void SaveDefault()
{
    const QStringList fields = {CurrentSetting[1], CurrentSetting[2], CurrentSetting[3],
                                CurrentSetting[4], CurrentSetting[5]};
    const std::optional<QString> line = faithfulLine(fields);
    if (!line) {
        showMessage(messageParent(), quoteNotSavedMessage(kDefaultFileName));
        return;
    }
    writeSettingsBytes(kDefaultFileName, line->toUtf8(), messageParent());
}

void LoadDefault()
{
    QByteArray bytes;
    if (readSettingsBytes(kDefaultFileName, bytes, messageParent()) != FileRead::Read) return;
    const std::optional<ConnectionSetting> setting = readDefaultSetting(bytes);
    if (!setting) {
        showMessage(messageParent(), badDefaultMessage(kDefaultFileName));
        return;
    }
    const QStringList fields = fieldsOf(*setting);
    for (int k = 1; k <= 5; ++k) CurrentSetting[k] = fields.at(k - 1);
    settingsWindow()->Text6->setText(setting->SettingName);
}

void SaveList(bool &Append)
{
    Form2 *w = settingsWindow();
    const std::unique_ptr<QLockFile> lock = lockSettingsFile(kListFileName, messageParent());
    if (!lock) return;
    if (!Append) {
        // From the file as it is now, so that what another running copy added stays.
        SettingsFileContent now;
        bool missing = false;
        if (!readListFileWhole(now, missing)) {
            if (!now.intact()) showMessage(messageParent(), listNotRewrittenMessage(kListFileName));
            return;
        }
        QByteArray bytes;
        const int last = std::min<int>(w->List1->count(), kSettingSlots - 1);
        for (const ConnectionSetting &record : listAfterRemovals(now.records, last)) {
            const std::optional<QString> line = faithfulLine(fieldsOf(record));
            if (!line) {
                showMessage(messageParent(), quoteNotSavedMessage(kListFileName));
                return;
            }
            bytes += line->toUtf8();
        }
        writeSettingsBytes(kListFileName, bytes, messageParent());
        return;
    }

    Append = false;
    const QString name = w->Text5->text();
    QByteArray bytes;
    if (readSettingsBytes(kListFileName, bytes, messageParent()) == FileRead::Failed) return;
    // Another running copy may have added settings since this window read the list.
    QStringList namesNow;
    for (const ConnectionSetting &record : readSettingsFile(bytes, kSettingSlots).records)
        namesNow.append(record.SettingName);
    if (listHolds(w->List1, name) || namesNow.contains(name)) {
        showMessage(messageParent(), text(129));
        return;
    }
    if (std::max<qsizetype>(w->List1->count(), namesNow.size()) >= kMaxSettings) {
        showMessage(messageParent(), text(130));
        return;
    }
    const ConnectionSetting record = shownSetting(w);
    if (anyValueUnfitForFile(fieldsOf(record))) {
        showMessage(messageParent(), quoteNotSavedMessage(kListFileName));
        return;
    }
    w->List1->addItem(name);
    SettingCount = static_cast<qint16>(w->List1->count() - 1);
    SettingBuffer[SettingCount] = record;
    // A hand-edited file may lack its last line end; the new line must not join that line.
    if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r')) bytes += "\r\n";
    bytes += quotedLine(fieldsOf(record)).toUtf8();
    writeSettingsBytes(kListFileName, bytes, messageParent());
}

void LoadList()
{
    Form2 *w = settingsWindow();
    w->List1->clear();
    if (g_combo1) g_combo1->clear();
    SettingCount = 0;
    g_listAsRead.clear();
    QByteArray bytes;
    if (readSettingsBytes(kListFileName, bytes, messageParent()) != FileRead::Read) return;
    const SettingsFileContent content = readSettingsFile(bytes, kSettingSlots);
    g_listAsRead = content.records;
    for (const ConnectionSetting &record : content.records) {
        SettingBuffer[SettingCount] = record;
        SettingList[SettingCount] = SettingBuffer[SettingCount];
        showInFields(w, record);
        w->List1->addItem(record.SettingName);
        if (g_combo1) g_combo1->addItem(record.SettingName);
        ++SettingCount;
    }
    reportUnreadLines(content);
}

void ShowItem()
{
    Form2 *w = settingsWindow();
    const int i = w->List1->currentRow();
    if (i < 0 || i >= kSettingSlots || !w->List1->item(i)->isSelected()) return;
    showInFields(w, SettingList[i]);
}

void ShowSettings(bool &ToDefault)
{
    Form2 *w = settingsWindow();
    const bool empty = w->List1->count() == 0;
    w->Command3->setEnabled(!empty);
    w->Command5->setEnabled(!empty);
    if (ToDefault) {
        ToDefault = false;
        CheckDefault();
    } else if (!empty) {
        w->List1->setCurrentRow(0);
        ShowItem();
    }
}

void ShowSettings()
{
    bool toDefault = false;
    ShowSettings(toDefault);
}

void CheckDefault()
{
    Form2 *w = settingsWindow();
    if (w->Text5->text().isEmpty()) return;
    bool inList = listHolds(w->List1, w->Text5->text());
    if (inList) {
        MakeDefault(inList);
        return;
    }
    if (askYesNo(messageParent(), text(131))) MakeDefault(inList);
}

void MakeDefault(bool &InList)
{
    Form2 *w = settingsWindow();
    if (w->Text6->text().isEmpty()) {
        if (!askYesNo(messageParent(), text(132))) showMessage(messageParent(), text(133));
        SaveDefault();
        LoadDefault();
    }
    if (!InList) {
        bool append = true;
        SaveList(append);
        LoadList();
    }
    InList = false;
}

void AddDefault()
{
    bool append = true;
    SaveList(append);
    LoadList();
    SaveDefault();
    LoadDefault();
}

} // namespace corvexo
