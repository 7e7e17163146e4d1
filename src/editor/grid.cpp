#include "editor/grid.h"

#include "editor/command_pages.h"
#include "editor/parameter_pages.h"

namespace torvane {

GridPage fillGrid(const GatewayConfiguration& cfg, EditorState& state, const EditTarget& target) {
    state.firmwareIndex = firmwareVersionIndex(cfg.FirmwareVersion, state.firmwareIndex);
    switch (target.page) {
    case PageKind::None:
        return {};
    case PageKind::Profibus:
        return profibusPage(cfg, state);
    case PageKind::Canopen:
        return canopenPage(cfg, state);
    case PageKind::Node:
    case PageKind::SdoCommand:
    case PageKind::TpdoCommand:
    case PageKind::RpdoCommand:
        break;
    }
    return commandGridPage(cfg, target);
}

CommitResult commitGridCell(GatewayConfiguration& cfg, EditorState& state, const EditTarget& target,
                            int row, const std::string& text) {
    state.firmwareIndex = firmwareVersionIndex(cfg.FirmwareVersion, state.firmwareIndex);
    switch (target.page) {
    case PageKind::None: {
        CommitResult nothing;
        nothing.keepCell = true;
        nothing.modified = false;
        return nothing;
    }
    case PageKind::Profibus:
    case PageKind::Canopen:
        return commitParameter(cfg, state, target.page, row, text);
    case PageKind::Node:
    case PageKind::SdoCommand:
    case PageKind::TpdoCommand:
    case PageKind::RpdoCommand:
        break;
    }
    return commitCommandGridCell(cfg, state, target, row, text);
}

} // namespace torvane
