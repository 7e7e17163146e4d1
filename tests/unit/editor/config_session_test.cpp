#include "editor/config_session.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

// Answers "slave" to the configuration-type question; nothing else is expected.
struct SlaveUi : DocumentUi {
    std::optional<int> askConfigType() override { return kCanopenSlave; }
    std::optional<int> askConfigFormat() override { return std::nullopt; }
    SaveAnswer askSaveChanges() override { return SaveAnswer::No; }
    std::optional<std::string> chooseFile(const FileDialogRequest&) override {
        return std::nullopt;
    }
    void tell(const std::string&, const std::string&) override {}
};

TEST(ConfigSession, DocumentTreeEditorAndListenersWorkOnTheOneLiveConfiguration) {
    SlaveUi ui;
    ConfigSession session(ui);
    int notified = 0;
    session.onModified([&] {
        // Listeners run after the flag is set, so they see the new state.
        EXPECT_TRUE(session.document().ModifiedFlag());
        ++notified;
    });

    ASSERT_EQ(session.document().newDocument().status, DocStatus::Done);
    EXPECT_EQ(session.configuration().ConfigType, kCanopenSlave);

    // A replaced configuration (a finished upload) stays the one the rules edit.
    session.configuration() = newConfiguration(kCanopenMaster);
    const TreeEditResult added =
        session.treeEditor().addNode(canopenSideItem(session.configuration()));
    EXPECT_TRUE(added.changed);
    EXPECT_EQ(session.configuration().Config.NodeCount, 1);

    session.markModified();
    EXPECT_EQ(notified, 1);

    session.configuration().Config.Nodes[0] = {"5", "Node-5"};
    const TreeSelection node{TreeItemKind::Node, 1,
                             session.configuration().Config.Nodes[0].NodeName};
    session.treeEditor().copyNode(node);
    ASSERT_TRUE(session.treeEditor().copyState().pastePossible);
    const int generation = session.documentGeneration();
    session.beginDocument();
    EXPECT_EQ(session.documentGeneration(), generation + 1);
    EXPECT_FALSE(session.treeEditor().copyState().pastePossible);
}

} // namespace
} // namespace torvane
