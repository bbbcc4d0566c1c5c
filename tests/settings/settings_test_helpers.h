#pragma once
// Shared by the settings tests: a message box answerer that records every box
// and answers questions from a script, and a reset of the store's state.

#include "app/message_box.h"
#include "settings/settings_store.h"

#include <QList>
#include <QStringList>

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

} // namespace corvexo::testing
