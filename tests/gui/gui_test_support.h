#pragma once

// What the main-window tests share: waiting for a window the next call opens, the program's
// settings, and the questions a test did not script.

#include "scripted_prompts.h"

#include <QApplication>
#include <QSettings>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>
#include <QtTest>
#include <functional>
#include <memory>
#include <string>

namespace torvane::gui::test {

// Runs `action` on the first visible top-level widget of type T once the next call opens it (a
// modal dialog or a popup menu); fails the test when none opens within five seconds.
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

// The tree item reached by the item texts of `path` from the top level; null when none is.
inline QTreeWidgetItem* treeItem(QTreeWidget* tree, const QStringList& path) {
    QTreeWidgetItem* at = nullptr;
    for (const QString& text : path) {
        QTreeWidgetItem* next = nullptr;
        const int n = at == nullptr ? tree->topLevelItemCount() : at->childCount();
        for (int i = 0; i < n && next == nullptr; ++i) {
            QTreeWidgetItem* c = at == nullptr ? tree->topLevelItem(i) : at->child(i);
            next = c->text(0) == text ? c : nullptr;
        }
        if (next == nullptr) {
            return nullptr;
        }
        at = next;
    }
    return at;
}

// The caption as the window system shows it: Qt's "[*]" placeholder becomes "*" while the
// window is marked modified.
inline QString shownTitle(const QWidget* window) {
    QString title = window->windowTitle();
    return title.replace(QStringLiteral("[*]"),
                         window->isWindowModified() ? QStringLiteral("*") : QString());
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

} // namespace torvane::gui::test
