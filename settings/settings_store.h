#pragma once
// The connection settings between runs: the default in "Sfile", the named
// list in "SLItems", the current setting the main window connects with, and
// the operations that move settings between the files, the settings window
// Form2 and the main window's setting box Combo1.

#include <QString>

#include <array>

class QComboBox;
class QWidget;

namespace corvexo {

class Form2;

struct ConnectionSetting {
    QString HostAddress;
    QString Password;
    QString UserName;
    QString PortAddress;
    QString SettingName;
};

inline constexpr int kSettingSlots = 101;  // indexes 0..100
inline constexpr int kMaxSettings = 100;

// Module-level state of the store.
extern std::array<QString, 6> CurrentSetting;  // slots 1..5: host (no "ftp://"), password, user, port, name
extern std::array<ConnectionSetting, kSettingSlots> SettingList;
extern std::array<ConnectionSetting, kSettingSlots> SettingBuffer;
extern qint16 SettingCount;

// The main window the store works with: the parent of Form2 and the owner of Combo1.
void attachSettingsStore(QWidget *mainWindow, QComboBox *combo1);
// Form2, created hidden on first use (its load fills the lists); there is only one.
Form2 *settingsWindow();
// Form2 if it exists, else nullptr.
Form2 *existingSettingsWindow();
// Unloads Form2 (closes and deletes it) when it exists.
void unloadSettingsWindow();
// Form2 is being destroyed (Esc, title-bar close): the next use creates a new one.
void forgetSettingsWindow(Form2 *window);

// The main window's setting box, when one is attached.
QComboBox *settingsCombo();

// True when "SLItems" can be rewritten without losing what it holds (it is
// missing, or was read whole). Otherwise tells the user why not and returns false.
bool listFileCanBeRewritten();

// Makes the listed setting at this index the current setting (the host without
// "ftp://"), without saving it as the default; false when no such setting is listed.
bool useListedSetting(int index);

void SaveDefault();
void LoadDefault();
void SaveList(bool &Append);
void LoadList();
void ShowItem();
void ShowSettings(bool &ToDefault);
void ShowSettings();  // ToDefault omitted
void CheckDefault();
void MakeDefault(bool &InList);
void AddDefault();

} // namespace corvexo
