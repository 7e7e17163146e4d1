#pragma once

#include "editor/config_session.h"

namespace torvane {

// Puts a case in place as no user could: the configuration and the editor state changed
// directly, without a step. Only tests set up their cases this way.
struct ConfigSessionAccess {
    static GatewayConfiguration& configuration(ConfigSession& session) { return session.cfg_; }
    static EditorState& editorState(ConfigSession& session) { return session.state_; }
};

// The session's configuration, to set up a case.
inline GatewayConfiguration& liveConfiguration(ConfigSession& session) {
    return ConfigSessionAccess::configuration(session);
}

} // namespace torvane
