#include "toolbar_buttons.h"

namespace corvexo {

ToolbarButton toolbarButtonAt(int position)
{
    static constexpr ToolbarButton buttons[kToolbarButtons] = {
        {1, ToolbarRole::Connect, 206, 1},          {2, ToolbarRole::Stop, 207, 2},
        {3, ToolbarRole::Refresh, 208, 4},          {4, ToolbarRole::Gap, 0, 0},
        {5, ToolbarRole::Download, 209, 5},         {6, ToolbarRole::Upload, 210, 6},
        {7, ToolbarRole::ConnectionSetting, 211, 8},
    };
    if (position < 1 || position > kToolbarButtons) return {position, ToolbarRole::None, 0, 0};
    return buttons[position - 1];
}

} // namespace corvexo
