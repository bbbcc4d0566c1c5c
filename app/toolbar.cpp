#include "app/main_window.h"
#include "app/system_reasons.h"
#include "app/toolbar_buttons.h"
#include "strings/string_table.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

namespace corvexo {

void Form1::Toolbar1_ButtonClick(int position)
{
    switch (toolbarButtonAt(position).role) {
    case ToolbarRole::Connect: Connect(); break;  // without the menu item's host check
    case ToolbarRole::Stop: Discon_Click(); break;
    case ToolbarRole::Refresh: Refr_Click(); break;
    case ToolbarRole::Download: DownL_Click(); break;
    case ToolbarRole::Upload: UpL_Click(); break;
    case ToolbarRole::ConnectionSetting: Sett_Click(); break;
    case ToolbarRole::Gap:
    case ToolbarRole::None: break;
    }
}

void Form1::assignToolbarTooltips()
{
    for (int position : {1, 2, 3, 5, 6, 7})
        toolbarButton(position)->setToolTip(text(toolbarButtonAt(position).tooltip));
}

void Form1::Text1_MouseMove()
{
    Text1->setToolTip(text(212));
}

void Form1::setStatusText(const QString &text)
{
    statusLabel->setText(withSystemReasonsInUserLanguage(text));
}

QString Form1::statusText() const
{
    return statusLabel->text();
}

} // namespace corvexo
