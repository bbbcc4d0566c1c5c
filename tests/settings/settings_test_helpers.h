#pragma once
// Shared by the settings tests: a message box answerer that records every box
// and answers questions from a script, and a reset of the store's state.

#include "app/main_window.h"
#include "app/message_box.h"
#include "settings/settings_store.h"
#include "settings/settings_window.h"
#include "support/scripted_transfer_control.h"
#include "support/test_data_dir.h"

#include <QComboBox>
#include <QLineEdit>
#include <QList>
#include <QListWidget>
#include <QStringList>

#include <memory>

namespace corvexo::testing {

class MessageLog {
public:
    MessageLog()
    {
        setMessageBoxAnswerer([this](const MessageBoxRequest &request) {
            seen.append(request);
            if (!request.yesNo) return MessageBoxAnswer::Ok;
            if (answers.isEmpty()) {
                ++unanswered;
                return MessageBoxAnswer::No;
            }
            return answers.takeFirst() ? MessageBoxAnswer::Yes : MessageBoxAnswer::No;
        });
    }
    ~MessageLog() { setMessageBoxAnswerer({}); }
    MessageLog(const MessageLog &) = delete;
    MessageLog &operator=(const MessageLog &) = delete;

    QStringList texts() const
    {
        QStringList result;
        for (const MessageBoxRequest &request : seen) result.append(request.text);
        return result;
    }
    void clear() { seen.clear(); answers.clear(); unanswered = 0; }

    QList<MessageBoxRequest> seen;
    QList<bool> answers;  // Yes (true) or No for the next questions, in order
    int unanswered = 0;   // questions asked beyond the script (answered No)
};

inline void resetSettingsStore()
{
    unloadSettingsWindow();
    for (QString &slot : CurrentSetting) slot.clear();
    SettingList.fill({});
    SettingBuffer.fill({});
    SettingCount = 0;
}

// An isolated data folder, a message log and a main window with a scripted
// transfer control; the settings window is reached through the main window.
class SettingsFixture {
public:
    void start()
    {
        dir = std::make_unique<TestDataDir>();
        boxes = std::make_unique<MessageLog>();
    }
    Form1 *startMainWindow()
    {
        form1 = std::make_unique<Form1>(new ScriptedTransferControl);
        return form1.get();
    }
    // Opens the settings window as the main window's settings command does.
    Form2 *open()
    {
        if (!form1) startMainWindow();
        form1->Sett_Click();
        return existingSettingsWindow();
    }
    void stop()
    {
        form1.reset();
        resetSettingsStore();
        boxes.reset();
        dir.reset();
    }

    std::unique_ptr<TestDataDir> dir;
    std::unique_ptr<MessageLog> boxes;
    std::unique_ptr<Form1> form1;
};

inline void typeSetting(Form2 *w, const QString &host, const QString &password, const QString &user,
                        const QString &port, const QString &name)
{
    w->Text1->setText(host);
    w->Text4->setText(password);
    w->Text3->setText(user);
    w->MaskEdBox1->setText(port);
    w->Text5->setText(name);
}

inline QStringList fieldsShown(const Form2 *w)
{
    return {w->Text1->text(), w->Text4->text(), w->Text3->text(), w->portValue(), w->Text5->text()};
}

inline QStringList itemTexts(const QListWidget *list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i) result.append(list->item(i)->text());
    return result;
}

inline QStringList itemTexts(const QComboBox *combo)
{
    QStringList result;
    for (int i = 0; i < combo->count(); ++i) result.append(combo->itemText(i));
    return result;
}

} // namespace corvexo::testing
