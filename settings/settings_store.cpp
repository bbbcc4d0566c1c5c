#include "settings_store.h"
#include "settings_window.h"

#include <QComboBox>
#include <QPointer>

namespace corvexo {

std::array<QString, 6> CurrentSetting;
std::array<ConnectionSetting, kSettingSlots> SettingList;
std::array<ConnectionSetting, kSettingSlots> SettingBuffer;
qint16 SettingCount = 0;

namespace {
QPointer<QWidget> g_mainWindow;
QPointer<QComboBox> g_combo1;
QPointer<Form2> g_form2;
} // namespace

void attachSettingsStore(QWidget *mainWindow, QComboBox *combo1)
{
    g_mainWindow = mainWindow;
    g_combo1 = combo1;
}

Form2 *settingsWindow()
{
    if (!g_form2) g_form2 = new Form2(g_mainWindow);
    return g_form2;
}

Form2 *existingSettingsWindow() { return g_form2; }

void unloadSettingsWindow()
{
    if (g_form2) delete g_form2.data();
}

// TODO(settings): the store's operations.
void SaveDefault() {}
void LoadDefault() {}
void SaveList(bool &Append) { Append = false; }
void LoadList() {}
void ShowItem() {}
void ShowSettings(bool &ToDefault) { ToDefault = false; }
void ShowSettings() { bool toDefault = false; ShowSettings(toDefault); }
void CheckDefault() {}
void MakeDefault(bool &InList) { InList = false; }
void AddDefault() {}

} // namespace corvexo
