#include "gui/editor/config_view.h"

#include "editor/command_pages.h"
#include "gui/app/translation.h"
#include "gui/editor/prompts.h"
#include "gui/editor/select_commands_dialog.h"
#include "platform/text_codec.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTableWidget>
#include <QTreeWidget>
#include <algorithm>

namespace torvane::gui {

namespace {
constexpr int kDataRole = Qt::UserRole;
constexpr int kKindRole = Qt::UserRole + 1;
constexpr int kTextRole = Qt::UserRole + 2;
constexpr int kGridRows = 100;
const QColor kGrey(200, 200, 200);
const QColor kWhite(255, 255, 255);

// Layout of the view: tree 200 px wide under a 20 px heading strip; the grid from x = 204.
constexpr int kHeadingHeight = 20;
constexpr int kTreeWidth = 200;
constexpr int kGridLeft = 204;

QString shown(const std::string& bytes) {
    return platform::fromConfigText(bytes);
}

// A value as its cell shows it (the Index and COB-ID also in hex).
QString cellText(PageKind page, int row, const std::string& value) {
    return shown(commandCellText(page, row, value));
}
} // namespace

ConfigView::ConfigView(ConfigSession& session, Prompts& prompts, QWidget* parent)
    : QWidget(parent), session_(session), prompts_(prompts), cfg_(session.configuration()),
      treeHeading_(new QLabel(ui(str::HeadingDevices), this)),
      gridHeading_(new QLabel(ui(str::HeadingConfiguration), this)), tree_(new QTreeWidget(this)),
      grid_(new QTableWidget(kGridRows, 2, this)), list_(new QComboBox(grid_->viewport())),
      text_(new QLineEdit(grid_->viewport())) {
    setObjectName(QStringLiteral("ConfigView"));
    tree_->setObjectName(QStringLiteral("tree"));
    tree_->setHeaderHidden(true);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this] {
        // Another item: the Info tab no longer speaks of the previous item's row.
        emit helpTextChanged(QString());
        fillGrid();
        emit editStateChanged();
    });
    connect(tree_, &QWidget::customContextMenuRequested, this, &ConfigView::showContextMenu);

    grid_->setObjectName(QStringLiteral("grid"));
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setFocusPolicy(Qt::StrongFocus);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->setWordWrap(false);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 8);
    grid_->viewport()->installEventFilter(this);
    grid_->installEventFilter(this);
    // Tab in the grid moves between its rows only while a cell editor is open.
    grid_->setTabKeyNavigation(false);
    connect(grid_, &QTableWidget::cellClicked, this, &ConfigView::cellClicked);
    connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { commitOpenEditor(); });
    connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { commitOpenEditor(); });

    list_->setObjectName(QStringLiteral("listEditor"));
    list_->setEditable(true);
    list_->setInsertPolicy(QComboBox::NoInsert);
    list_->setCompleter(nullptr);
    list_->hide();
    list_->installEventFilter(this);
    list_->lineEdit()->installEventFilter(this);
    connect(list_->lineEdit(), &QLineEdit::returnPressed, this, [this] { commitEditor(true); });

    text_->setObjectName(QStringLiteral("textEditor"));
    text_->hide();
    text_->installEventFilter(this);
    connect(text_, &QLineEdit::returnPressed, this, [this] { commitEditor(true); });

    for (QLabel* heading : {treeHeading_, gridHeading_}) {
        heading->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        heading->setIndent(4);
    }
    setMinimumSize(kGridLeft + 200, 200);
}

ConfigView::~ConfigView() = default;

void ConfigView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int h = height() - kHeadingHeight;
    treeHeading_->setGeometry(0, 0, kTreeWidth, kHeadingHeight);
    tree_->setGeometry(0, kHeadingHeight, kTreeWidth, h);
    gridHeading_->setGeometry(kGridLeft, 0, width() - kGridLeft, kHeadingHeight);
    grid_->setGeometry(kGridLeft, kHeadingHeight, width() - kGridLeft, h);
    commitOpenEditor();
}

// ---- Tree --------------------------------------------------------------------------------------

TreeSelection ConfigView::selectionOf(const QTreeWidgetItem* item) {
    if (item == nullptr) {
        return {};
    }
    TreeSelection s;
    s.kind = static_cast<TreeItemKind>(item->data(0, kKindRole).toInt());
    s.data = item->data(0, kDataRole).toInt();
    const QByteArray text = item->data(0, kTextRole).toByteArray();
    s.text.assign(text.constData(), static_cast<size_t>(text.size()));
    return s;
}

TreeSelection ConfigView::selection() const {
    return selectionOf(tree_->currentItem());
}

QTreeWidgetItem* ConfigView::itemFor(const TreeSelection& wanted) const {
    if (wanted.kind == TreeItemKind::None) {
        return nullptr;
    }
    for (QTreeWidgetItemIterator it(tree_); *it != nullptr; ++it) {
        const TreeSelection s = selectionOf(*it);
        if (s.kind == wanted.kind && s.data == wanted.data) {
            return *it;
        }
    }
    return nullptr;
}

bool ConfigView::select(const TreeSelection& wanted) {
    QTreeWidgetItem* item = itemFor(wanted);
    if (item == nullptr) {
        return false;
    }
    tree_->setCurrentItem(item);
    return true;
}

bool ConfigView::selectFault(const std::vector<int>& commands, int node) {
    TreeSelection wanted;
    if (!commands.empty()) {
        wanted.kind = TreeItemKind::Command;
        wanted.data = commands.front() + 1;
    } else if (node >= 0) {
        wanted.kind = TreeItemKind::Node;
        wanted.data = node + 1;
    }
    QTreeWidgetItem* item = itemFor(wanted);
    if (item == nullptr) {
        return false;
    }
    for (QTreeWidgetItem* p = item->parent(); p != nullptr; p = p->parent()) {
        p->setExpanded(true);
    }
    tree_->setCurrentItem(item);
    tree_->scrollToItem(item);
    return true;
}

EditFlags ConfigView::editFlags() {
    return session_.editFlags(selection());
}

void ConfigView::rebuildTree(bool initialised) {
    hideEditors();
    const QSignalBlocker block(tree_);
    tree_->clear();
    const std::function<void(QTreeWidgetItem*, const TreeItem&)> add = [&](QTreeWidgetItem* parent,
                                                                           const TreeItem& t) {
        auto* item = parent == nullptr ? new QTreeWidgetItem(tree_) : new QTreeWidgetItem(parent);
        item->setText(0, shown(t.text));
        item->setData(0, kDataRole, t.data);
        item->setData(0, kKindRole, static_cast<int>(t.kind));
        item->setData(0, kTextRole,
                      QByteArray(t.text.data(), static_cast<qsizetype>(t.text.size())));
        for (const TreeItem& child : t.children) {
            add(item, child);
        }
    };
    for (const TreeItem& root : buildTree(cfg_)) {
        add(nullptr, root);
    }
    grid_->clearContents();
    page_ = GridPage{};
    if (initialised) {
        gridFilled_ = false;
        tree_->setCurrentItem(tree_->topLevelItem(0));
    } else {
        QTreeWidgetItem* side = itemFor(canopenSideItem(cfg_));
        if (side != nullptr) {
            side->setExpanded(true);
            tree_->setCurrentItem(side);
        }
    }
    fillGrid();
    emit editStateChanged();
}

void ConfigView::refreshNodeTexts() {
    for (QTreeWidgetItem* root : {tree_->topLevelItem(1)}) {
        if (root == nullptr) {
            continue;
        }
        for (int i = 0; i < root->childCount(); ++i) {
            QTreeWidgetItem* item = root->child(i);
            const TreeSelection s = selectionOf(item);
            if (s.kind == TreeItemKind::Node && s.data >= 1 && s.data <= kNodeTableSize) {
                const std::string& name = cfg_.Config.Nodes.at(s.data - 1).NodeName;
                item->setText(0, shown(name));
                item->setData(0, kTextRole,
                              QByteArray(name.data(), static_cast<qsizetype>(name.size())));
            }
        }
    }
}

std::vector<TreeSelection> ConfigView::expandedItems() const {
    std::vector<TreeSelection> expanded;
    for (QTreeWidgetItemIterator it(tree_); *it != nullptr; ++it) {
        if ((*it)->isExpanded()) {
            expanded.push_back(selectionOf(*it));
        }
    }
    return expanded;
}

void ConfigView::restoreExpanded(const std::vector<TreeSelection>& expanded) {
    for (QTreeWidgetItemIterator it(tree_); *it != nullptr; ++it) {
        const TreeSelection s = selectionOf(*it);
        (*it)->setExpanded(std::any_of(expanded.begin(), expanded.end(), [&](const auto& e) {
            return e.kind == s.kind && e.data == s.data;
        }));
    }
}

void ConfigView::applyTreeResult(const TreeEditResult& result) {
    if (result.changed) {
        const std::vector<TreeSelection> expanded = expandedItems();
        const QSignalBlocker block(tree_);
        rebuildTree(false);
        if (result.keepExpanded) {
            restoreExpanded(expanded);
        }
    }
    if (!select(result.select)) {
        fillGrid();
    }
    for (const TreeSelection& e : result.expand) {
        if (QTreeWidgetItem* item = itemFor(e)) {
            item->setExpanded(true);
        }
    }
    emit editStateChanged();
    for (const Message& m : result.messages) {
        prompts_.tell(m);
    }
}

void ConfigView::addNode() {
    applyTreeResult(session_.addNode(selection()));
}
void ConfigView::deleteNode() {
    applyTreeResult(session_.deleteNode(selection()));
}
void ConfigView::deleteCommand() {
    applyTreeResult(session_.deleteCommand(selection()));
}
void ConfigView::copyNode() {
    session_.copyNode(selection());
    emit editStateChanged();
}
void ConfigView::pasteNode() {
    applyTreeResult(session_.pasteNode(selection()));
}

void ConfigView::showContextMenu(const QPoint& pos) {
    commitOpenEditor();
    QTreeWidgetItem* item = tree_->itemAt(pos);
    if (item == nullptr) {
        tree_->clearSelection();
        tree_->setCurrentItem(nullptr);
    } else {
        tree_->setCurrentItem(item);
    }
    const TreeSelection target = selectionOf(item);
    // Only an item the menu opens on is a target; empty space or "Profibus Network" leaves none.
    contextTarget_.reset();
    if (!contextMenuOpensOn(target)) {
        return;
    }
    contextTarget_ = target;
    const EditFlags f = editFlags();
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("contextMenu"));
    auto entry = [&](const str::UiText& text, bool enabled, void (ConfigView::*slot)()) {
        QAction* a = menu.addAction(ui(text));
        a->setEnabled(enabled);
        connect(a, &QAction::triggered, this, slot);
    };
    entry(str::MenuAddNode, f.addNode, &ConfigView::addNode);
    entry(str::MenuDeleteNode, f.deleteNode, &ConfigView::deleteNode);
    entry(str::MenuAddCommand, f.addCommand, &ConfigView::addCommand);
    entry(str::MenuDeleteCommand, f.deleteCommand, &ConfigView::deleteCommand);
    entry(str::MenuCopyNode, f.copyNode, &ConfigView::copyNode);
    entry(str::MenuPasteNode, f.pasteNode, &ConfigView::pasteNode);
    menu.exec(tree_->viewport()->mapToGlobal(pos));
    // A chosen entry has run by now; a dismissed menu must not leave its item as the target of
    // the next Edit menu command.
    contextTarget_.reset();
}

void ConfigView::addCommand() {
    if (!editFlags().addCommand && !contextTarget_) {
        return;
    }
    QStringList entries;
    for (const AddCommandEntry& e : addCommandEntries(cfg_.ConfigType)) {
        entries << core(e.text);
    }
    SelectCommandsDialog dialog(
        entries, [this](int kind) { addOneCommand(kind); }, window());
    dialog.exec();
    contextTarget_.reset();
}

void ConfigView::addOneCommand(int kind) {
    // The remembered right-click target is used once; after that the selection is the target.
    const TreeSelection target = contextTarget_ ? *contextTarget_ : selection();
    contextTarget_.reset();
    const AddCommandResult out = session_.addCommand(target, kind, selection());
    if (out.status == AddCommandStatus::Added) {
        if (QTreeWidgetItem* parent = itemFor(target)) {
            auto* item = new QTreeWidgetItem(parent);
            item->setText(0, shown(out.treeText));
            item->setData(0, kDataRole, out.position);
            item->setData(0, kKindRole, static_cast<int>(TreeItemKind::Command));
            item->setData(
                0, kTextRole,
                QByteArray(out.treeText.data(), static_cast<qsizetype>(out.treeText.size())));
            parent->setExpanded(true);
        }
    }
    for (const Message& m : out.messages) {
        prompts_.tell(m);
    }
}

void ConfigView::calculateMapping() {
    if (!prompts_.askOkCancel(Message::plain(ui(str::MappingConfirm).toStdString()))) {
        return;
    }
    const MappingChange r = session_.calculateMapping(selection());
    prompts_.tell(r.message);
    if (r.stepRecorded) {
        // The same tree comes back: its expanded items and the selection stay where they exist.
        const std::vector<TreeSelection> expanded = expandedItems();
        const TreeSelection selected = selection();
        rebuildTree(false);
        restoreExpanded(expanded);
        select(selected);
    }
    if (!r.faultCommands.empty()) {
        selectFault(r.faultCommands);
    }
}

void ConfigView::undo() {
    commitOpenEditor();
    showRestored(session_.undo());
}

void ConfigView::redo() {
    commitOpenEditor();
    showRestored(session_.redo());
}

void ConfigView::showRestored(const std::optional<TreeSelection>& where) {
    if (!where) {
        return;
    }
    // The same configuration, earlier or later: the expanded items stay where they exist.
    const std::vector<TreeSelection> expanded = expandedItems();
    rebuildTree(false);
    restoreExpanded(expanded);
    if (QTreeWidgetItem* item = itemFor(*where)) {
        for (QTreeWidgetItem* up = item->parent(); up != nullptr; up = up->parent()) {
            up->setExpanded(true);
        }
        tree_->setCurrentItem(item);
    }
    emit editStateChanged();
}

// ---- Grid --------------------------------------------------------------------------------------

void ConfigView::fillGrid() {
    hideEditors();
    if (currentRow_ >= 0) {
        currentRow_ = -1;
        emit valueTipChanged(QString());
    }
    const GridPage page = session_.page(selection());
    if (page.kind != PageKind::None) {
        gridFilled_ = true;
    }
    showPage(page);
}

void ConfigView::refreshPage() {
    if (!gridFilled_) {
        return;
    }
    const GridPage page = session_.page(selection());
    const bool sameRows = page.kind == page_.kind && page.rows.size() == page_.rows.size();
    if (open_ == OpenEditor::None || !sameRows) {
        commitOpenEditor();
        fillGrid();
        return;
    }
    // The user is typing in a cell: repaint the others around the open editor.
    for (int r = 0; r < static_cast<int>(page.rows.size()) && r < kGridRows; ++r) {
        if (QTableWidgetItem* cell = grid_->item(r, 1)) {
            const GridRow& row = page.rows[static_cast<size_t>(r)];
            cell->setBackground(row.grey ? kGrey : kWhite);
            if (r != editRow_) {
                cell->setText(cellText(page.kind, r, row.value));
            }
        }
    }
    page_ = page;
    for (int r = 0; r < static_cast<int>(page.rows.size()) && r < kGridRows; ++r) {
        if (QTableWidgetItem* cell = grid_->item(r, 1); cell != nullptr && r != editRow_) {
            cell->setToolTip(valueTip(r));
        }
    }
}

void ConfigView::showPage(const GridPage& page) {
    page_ = page;
    grid_->clearContents();
    for (int r = 0; r < static_cast<int>(page.rows.size()) && r < kGridRows; ++r) {
        const GridRow& row = page.rows[static_cast<size_t>(r)];
        auto* label = new QTableWidgetItem(core(row.label));
        label->setBackground(kWhite);
        auto* value = new QTableWidgetItem(cellText(page.kind, r, row.value));
        value->setBackground(row.grey ? kGrey : kWhite);
        value->setToolTip(shown(commandCellTip(page.kind, r, row.value)));
        grid_->setItem(r, 0, label);
        grid_->setItem(r, 1, value);
    }
}

QString ConfigView::valueTip(int row) const {
    if (row < 0 || row >= static_cast<int>(page_.rows.size())) {
        return {};
    }
    return shown(commandCellTip(page_.kind, row, page_.rows[static_cast<size_t>(row)].value));
}

void ConfigView::setCurrentRow(int row, bool frame) {
    currentRow_ = row;
    if (frame && row >= 0) {
        grid_->setCurrentCell(row, 1);
    }
    emit valueTipChanged(valueTip(row));
}

void ConfigView::showNote(int row, const Message& note) {
    const QString text = core(note);
    emit noteShown(text);
    // The Info tab keeps the row's help under the note: it names the allowed values too.
    QString help;
    if (selection() == editItem_ && row >= 0 && row < static_cast<int>(page_.rows.size()) &&
        page_.rows[static_cast<size_t>(row)].helpId > 0) {
        help = core(page_.rows[static_cast<size_t>(row)].helpText);
    }
    emit helpTextChanged(help.isEmpty() ? text : text + QStringLiteral("\n\n") + help);
}

void ConfigView::showRowHelp(int row) {
    const GridRow& r = page_.rows[static_cast<size_t>(row)];
    if (r.helpId == kHelpClear) {
        emit helpTextChanged(QString());
    } else if (r.helpId != kHelpKeep) {
        emit helpTextChanged(core(r.helpText));
    }
}

bool ConfigView::keyEditable(int row) const {
    if (row < 0 || row >= static_cast<int>(page_.rows.size())) {
        return false;
    }
    const GridRow& r = page_.rows[static_cast<size_t>(row)];
    return r.editor != EditorKind::None && !r.grey;
}

int ConfigView::nextEditableRow(int row, int step) const {
    const int rows = std::min(static_cast<int>(page_.rows.size()), kGridRows);
    for (int r = row + step; r >= 0 && r < rows; r += step) {
        // A row that would only answer with a refusal is passed over as read-only.
        if (keyEditable(r) && page_.rows[static_cast<size_t>(r)].openRefusal.empty()) {
            return r;
        }
    }
    return -1;
}

void ConfigView::openEditorByKey(int row, const QString& typed) {
    if (committing_ || !gridFilled_ || !keyEditable(row)) {
        return;
    }
    const GridRow& r = page_.rows[static_cast<size_t>(row)];
    if (!r.openRefusal.empty()) {
        prompts_.tell(r.openRefusal);
        return;
    }
    openEditor(row, typed);
}

int ConfigView::keyRow() {
    if (currentRow_ < 0) {
        const int first = nextEditableRow(-1, 1);
        if (first >= 0) {
            setCurrentRow(first, true);
        }
    }
    return currentRow_;
}

bool ConfigView::gridKey(QKeyEvent* key) {
    if (open_ != OpenEditor::None || !gridFilled_) {
        return false;
    }
    const int rows = std::min(static_cast<int>(page_.rows.size()), kGridRows);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down: {
        if (rows == 0 || mods != Qt::NoModifier) {
            return false;
        }
        const int step = key->key() == Qt::Key_Up ? -1 : 1;
        const int row = currentRow_ < 0 ? 0 : std::clamp(currentRow_ + step, 0, rows - 1);
        showRowHelp(row);
        setCurrentRow(row, true);
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
        if (mods != Qt::NoModifier) {
            return false;
        }
        openEditorByKey(keyRow(), QString());
        return true;
    default:
        break;
    }
    const QString text = key->text();
    if ((mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0 ||
        text.isEmpty() || !text.at(0).isPrint()) {
        return false;
    }
    openEditorByKey(keyRow(), text);
    return true;
}

bool ConfigView::editorKey(QKeyEvent* key) {
    if (open_ == OpenEditor::None) {
        return false;
    }
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Taken here: the line edit would pass the key on to the grid, which opens the editor.
        commitEditor(true);
        return true;
    case Qt::Key_Escape:
        if (list_->view()->isVisible()) {
            return false; // the first Escape closes the drop-down list
        }
        cancelEditor();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        const int step =
            key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier) != 0 ? -1 : 1;
        const int from = editRow_;
        const TreeSelection item = editItem_;
        commitEditor(true);
        if (selection() != item || open_ != OpenEditor::None) {
            return true;
        }
        const int next = nextEditableRow(from, step);
        if (next >= 0) {
            showRowHelp(next);
            setCurrentRow(next, true);
            openEditor(next);
        }
        return true;
    }
    default:
        return false;
    }
}

void ConfigView::cancelEditor() {
    if (open_ == OpenEditor::None) {
        return;
    }
    const int row = editRow_;
    hideEditors(); // marks the editor closed first: losing the focus commits nothing
    grid_->setFocus(Qt::OtherFocusReason);
    setCurrentRow(row, true);
}

void ConfigView::cellClicked(int row, int column) {
    if (committing_ || !gridFilled_) {
        return;
    }
    commitOpenEditor();
    if (row < 0 || row >= static_cast<int>(page_.rows.size())) {
        return;
    }
    const GridRow& r = page_.rows[static_cast<size_t>(row)];
    showRowHelp(row);
    setCurrentRow(row, false);
    if (column == 0 || r.editor == EditorKind::None) {
        return;
    }
    if (!r.openRefusal.empty()) {
        prompts_.tell(r.openRefusal);
        return;
    }
    openEditor(row);
}

void ConfigView::openEditor(int row, const QString& typed) {
    const GridRow& r = page_.rows[static_cast<size_t>(row)];
    editRow_ = row;
    editItem_ = selection();
    editOriginal_ = r.value;
    const QRect cell = grid_->visualItemRect(grid_->item(row, 1));
    if (r.editor == EditorKind::List && !r.choices.empty()) {
        const QSignalBlocker block(list_);
        list_->clear();
        for (const std::string& c : r.choices) {
            list_->addItem(shown(c));
        }
        const int at = list_->findText(shown(r.listSelection), Qt::MatchExactly);
        list_->setCurrentIndex(at < 0 ? 0 : at);
        if (at < 0 && !r.listSelection.empty()) {
            // A value of its own (a self-defined COB-ID) stays what leaving the list stores.
            list_->setEditText(shown(r.listSelection));
        }
        list_->setGeometry(cell);
        open_ = OpenEditor::List;
        list_->show();
        list_->setFocus(Qt::MouseFocusReason);
        if (typed.isEmpty()) {
            list_->showPopup();
        } else {
            list_->lineEdit()->setText(typed); // typing starts a text of its own
        }
    } else {
        text_->setText(typed.isEmpty() ? shown(r.value) : typed);
        text_->setGeometry(cell);
        open_ = OpenEditor::Text;
        text_->show();
        text_->setFocus(Qt::MouseFocusReason);
        if (typed.isEmpty()) {
            text_->selectAll();
        }
    }
}

void ConfigView::hideEditors() {
    open_ = OpenEditor::None;
    if (list_->isVisible()) {
        list_->hidePopup();
        list_->hide();
    }
    text_->hide();
}

void ConfigView::commitOpenEditor() {
    if (open_ != OpenEditor::None) {
        commitEditor();
    }
}

void ConfigView::commitEditor(bool byKey) {
    if (committing_ || open_ == OpenEditor::None) {
        return;
    }
    committing_ = true;
    const int row = editRow_;
    const QString typed = open_ == OpenEditor::List ? list_->currentText() : text_->text();
    const std::string text = platform::toConfigText(typed, editOriginal_);
    hideEditors();
    grid_->setFocus(Qt::OtherFocusReason);
    grid_->setCurrentIndex(QModelIndex()); // no stray focus frame on a cell

    const CommitResult r = session_.commitCell(editItem_, editRow_, text);
    for (const Message& m : r.messages) {
        prompts_.tell(m);
    }
    const bool stillSelected = selection() == editItem_;
    if (r.rebuildTree) {
        rebuildTree(false);
    } else {
        if (r.treeTextChanged) {
            refreshNodeTexts();
        }
        if (stillSelected) {
            if (r.refillPage) {
                fillGrid();
            } else if (!r.keepCell && editRow_ >= 0 && editRow_ < kGridRows) {
                if (editRow_ < static_cast<int>(page_.rows.size())) {
                    page_.rows[static_cast<size_t>(editRow_)].value = r.cellText;
                }
                if (QTableWidgetItem* cell = grid_->item(editRow_, 1)) {
                    cell->setText(cellText(page_.kind, editRow_, r.cellText));
                    cell->setToolTip(valueTip(editRow_));
                }
            }
        }
    }
    // The edited row stays the current one (the status bar shows its value).
    if (selection() == editItem_ && row >= 0 && row < static_cast<int>(page_.rows.size())) {
        setCurrentRow(row, byKey);
    }
    if (!r.note.empty()) {
        showNote(row, r.note);
    }
    emit editStateChanged();
    committing_ = false;
}

bool ConfigView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == grid_->viewport()) {
        // Both columns are half the grid's width, whatever the window size.
        const int w = grid_->viewport()->width();
        grid_->setColumnWidth(0, w / 2);
        grid_->setColumnWidth(1, w - w / 2);
    }
    if (event->type() == QEvent::FocusOut &&
        (watched == text_ || watched == list_ || watched == list_->lineEdit())) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Opening the drop-down list, moving within the list editor or switching to another
        // program is not leaving the cell.
        const QWidget* to = QApplication::focusWidget();
        const bool withinList = to != nullptr && (to == list_ || list_->isAncestorOf(to) ||
                                                  to->window() == list_->view()->window());
        const bool stays = reason == Qt::PopupFocusReason ||
                           reason == Qt::ActiveWindowFocusReason || withinList ||
                           list_->view()->isVisible();
        if (!stays && open_ != OpenEditor::None) {
            commitEditor();
        }
    }
    if (event->type() == QEvent::KeyPress && watched == list_) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && open_ == OpenEditor::List) {
            commitEditor(true);
            return true;
        }
    }
    if (event->type() == QEvent::FocusIn && watched == grid_ && open_ == OpenEditor::None &&
        currentRow_ < 0) {
        // Reached with Tab: the keyboard starts on the first editable row.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
            keyRow();
        }
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == grid_ && gridKey(key)) {
            return true;
        }
        if ((watched == text_ || watched == list_ || watched == list_->lineEdit()) &&
            editorKey(key)) {
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace torvane::gui
