#pragma once

// What the main-window tests share: windows the next call opens, settings, unscripted questions.

#include "../support/session_access.h"
#include "gui/app/main_window.h"
#include "gui/editor/config_view.h"
#include "model/config_file.h"
#include "scripted_prompts.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>
#include <QtTest>
#include <functional>
#include <memory>
#include <string>

namespace torvane::gui::test {

// Runs `action` on the next visible top-level T (a modal dialog, a popup); fails after 5 s.
template <typename T> void whenShown(std::function<void(T*)> action) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, action] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* t = qobject_cast<T*>(w); t != nullptr && t->isVisible()) {
                timer->stop();
                timer->deleteLater();
                action(t);
                return;
            }
        }
        if (++*tries > 250) {
            timer->stop();
            timer->deleteLater();
            QFAIL("the expected window did not open");
        }
    });
    timer->start(20);
}

// The caption as the window system shows it, "[*]" replaced.
inline QString shownTitle(const QWidget* window) {
    QString title = window->windowTitle();
    return title.replace(QStringLiteral("[*]"),
                         window->isWindowModified() ? QStringLiteral("*") : QString());
}

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Forgets the recent files, the last folder and every other setting of the program.
inline void clearProgramSettings() {
    QSettings(QStringLiteral("Local AppWizard-Generated Applications"), QStringLiteral("Torvane"))
        .clear();
}

// The questions asked without a scripted answer, joined for a failure message.
inline std::string unexpectedQuestions(const ScriptedPrompts& prompts) {
    std::string asked;
    for (const std::string& q : prompts.unexpected) {
        asked += q + "; ";
    }
    return asked;
}

// A started main window, its tree and grid, and the ways a user reaches a cell.
class WindowFixture : public QObject {
protected:
    ScriptedPrompts prompts_;
    std::unique_ptr<MainWindow> frame_;

    ConfigView* view() const { return frame_->view(); }
    QTreeWidget* tree() const { return view()->tree(); }
    QTableWidget* grid() const { return view()->grid(); }

    // The tree item reached by the item texts of `path` from the top level; null when none is.
    QTreeWidgetItem* item(const QStringList& path) const {
        QTreeWidgetItem* at = tree()->invisibleRootItem();
        for (const QString& text : path) {
            QTreeWidgetItem* next = nullptr;
            for (int i = 0; i < at->childCount() && next == nullptr; ++i) {
                next = at->child(i)->text(0) == text ? at->child(i) : nullptr;
            }
            if (next == nullptr) {
                return nullptr;
            }
            at = next;
        }
        return at;
    }

    // A shown, active window whose start asked for `configType` (or opened `file`).
    void startFrame(int configType, const QString& file = {}) {
        frame_.reset();
        prompts_ = ScriptedPrompts{};
        prompts_.configTypes = {configType};
        frame_ = std::make_unique<MainWindow>(prompts_);
        QCOMPARE(frame_->start(file), MainWindow::StartResult::Running);
        frame_->show();
        QApplication::setActiveWindow(frame_.get());
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
    }

    // The test data's configuration `name` in place of the started window's, still untitled.
    void loadSample(const char* name) {
        DocumentState state;
        Message error;
        QVERIFY(loadConfigurationFile(std::string(TORVANE_TEST_DATA_DIR "/") + name,
                                      liveConfiguration(frame_->session()), state, error));
        view()->rebuildTree(false);
    }

    QString cell(int row) const {
        return grid()->item(row, 1) != nullptr ? grid()->item(row, 1)->text() : QString();
    }

    void clickItem(const QStringList& path, Qt::MouseButton button = Qt::LeftButton) {
        QTreeWidgetItem* it = item(path);
        QVERIFY2(it != nullptr, qPrintable(path.join(QLatin1Char('/'))));
        tree()->scrollToItem(it);
        QTest::mouseClick(tree()->viewport(), button, {}, tree()->visualItemRect(it).center());
    }

    void clickCell(int row, int column) {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->visualItemRect(grid()->item(row, column)).center());
    }

    // Clicks a value cell and types into its text editor, then presses Enter.
    void typeIntoCell(int row, const QString& text) {
        clickCell(row, 1);
        QVERIFY(view()->textEditor()->isVisible());
        QTest::keyClicks(view()->textEditor(), text);
        QTest::keyClick(view()->textEditor(), Qt::Key_Return);
        QVERIFY(!view()->textEditor()->isVisible());
    }

    // Opens the list editor of a value cell and picks `entry` from its drop-down list.
    void pickFromList(int row, const QString& entry) {
        clickCell(row, 1);
        QComboBox* combo = view()->listEditor();
        QVERIFY(combo->isVisible());
        QAbstractItemView* popup = combo->view();
        QTRY_VERIFY(popup->isVisible());
        const int at = combo->findText(entry);
        QVERIFY2(at >= 0, qPrintable(entry));
        QTest::mouseClick(popup->viewport(), Qt::LeftButton, {},
                          popup->visualRect(combo->model()->index(at, 0)).center());
        QTRY_VERIFY(!popup->isVisible());
    }

    // Makes `row` the grid's current row with the arrow keys.
    void goToRow(int row) {
        grid()->setFocus(Qt::OtherFocusReason);
        while (view()->currentRow() != row) {
            QTest::keyClick(grid(), view()->currentRow() < row ? Qt::Key_Down : Qt::Key_Up);
        }
    }

    // The first character opens the current row's editor, the rest goes to that editor.
    void typeInGrid(const QString& text) {
        QTest::keyClicks(grid(), text.left(1));
        QTest::keyClicks(QApplication::focusWidget(), text.mid(1));
    }
};

} // namespace torvane::gui::test
