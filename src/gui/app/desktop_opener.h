#pragma once

#include <QString>
#include <functional>

class QObject;

namespace torvane::gui {

// Shows the file at `path` with the desktop's default program. `failed` runs on the GUI thread
// when no program could show it: at once when none could be started, or soon after, when the
// desktop's opener reports that it found none (xdg-open starts, then finds no program for the
// file type; the start alone says nothing). Nothing runs once `context` is gone.
void openOnDesktop(const QString& path, QObject* context, const std::function<void()>& failed);

} // namespace torvane::gui
