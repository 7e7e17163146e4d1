#include "editor/config_session.h"

namespace torvane {

ConfigSession::ConfigSession(DocumentUi& ui)
    : cfg_(newConfiguration(kCanopenMaster)), treeEditor_(cfg_, state_), doc_(cfg_, ui) {
    doc_.onBegin([this] { beginDocument(); });
}

void ConfigSession::beginDocument() {
    ++generation_;
    treeEditor_.resetCopyState();
}

void ConfigSession::adoptUpload(const GatewayConfiguration& uploaded) {
    cfg_ = uploaded;
    doc_.becomeUntitled();
    beginDocument();
    markModified();
}

void ConfigSession::markModified() {
    doc_.setModified();
    for (const Listener& listener : listeners_) {
        listener();
    }
}

} // namespace torvane
