#pragma once

#include <QIcon>

namespace torvane::gui {

// The toolbar's pictures, in button order. They are drawn in code so they stay sharp at any
// scale and cost no file access at start-up.
enum class ToolIcon {
    New,
    Open,
    Save,
    AddNode,
    DeleteNode,
    AddCommand,
    DeleteCommand,
    Upload,
    Download,
    CalculateMapping,
    Conflict,
    ExportExcel,
    Monitor,
    Application,
};

// The icon of a toolbar button (16 px and 32 px pixmaps).
QIcon toolIcon(ToolIcon which);

} // namespace torvane::gui
