#pragma once

#include "editor/document.h"
#include "editor/grid_page.h"
#include "editor/network_tree.h"
#include "model/configuration.h"

#include <functional>
#include <vector>

namespace torvane {

// The live configuration and what belongs to it: the document (file state and lifecycle), the
// editor state, the copied node and the change notification. The view, the main window, the
// transfer runner and the dialogs share one session; none of them keeps a configuration.
class ConfigSession {
public:
    explicit ConfigSession(DocumentUi& ui);
    ConfigSession(const ConfigSession&) = delete;
    ConfigSession& operator=(const ConfigSession&) = delete;

    GatewayConfiguration& configuration() { return cfg_; }
    const GatewayConfiguration& configuration() const { return cfg_; }
    Document& document() { return doc_; }
    const Document& document() const { return doc_; }
    EditorState& editorState() { return state_; }
    NetworkTreeEditor& treeEditor() { return treeEditor_; }

    // Another configuration is shown (New, Open, a recent file, Upload): forgets the copied
    // node. The document calls it for every load; adoptUpload for an upload.
    void beginDocument();
    // A complete upload replaces the configuration: it becomes a new, untitled, modified
    // document (Save asks for a name), then every listener is told.
    void adoptUpload(const GatewayConfiguration& uploaded);
    // Counts beginDocument(): a change of it means another document.
    int documentGeneration() const { return generation_; }

    // A committed change of the configuration: sets ModifiedFlag, then tells every listener.
    void markModified();
    using Listener = std::function<void()>;
    void onModified(Listener listener) { listeners_.push_back(std::move(listener)); }

private:
    GatewayConfiguration cfg_;
    EditorState state_;
    NetworkTreeEditor treeEditor_;
    Document doc_;
    int generation_ = 0;
    std::vector<Listener> listeners_;
};

} // namespace torvane
