#pragma once
// The toolbar's seven positions: what each one is, its tooltip's string
// number and its picture in ImageList1. Position 4 is the gap between the groups.

namespace corvexo {

enum class ToolbarRole { Connect, Stop, Refresh, Gap, Download, Upload, ConnectionSetting, None };

struct ToolbarButton {
    int position;
    ToolbarRole role;
    int tooltip;  // string number; 0 for the gap
    int image;    // ImageList1 number; 0 for the gap
};

inline constexpr int kToolbarButtons = 7;

// The button at a position 1..7; role None outside that range.
ToolbarButton toolbarButtonAt(int position);

} // namespace corvexo
