#pragma once

#include "gui/app/gui_texts.h"
#include "model/message.h"

#include <QLocale>
#include <QString>
#include <string>

namespace torvane::gui {

// The interface languages; English is the source language and needs no catalogue.
inline constexpr const char* kLanguageEnglish = "en";
inline constexpr const char* kLanguageChinese = "zh_CN";

// The language the interface speaks: `requested` (from --lang) when given, else the system
// locale's: Simplified Chinese for a Chinese locale written in Simplified script, English for
// any other.
QString interfaceLanguage(const QString& requested, const QLocale& system = QLocale::system());

// Installs the program's and Qt's catalogues of `language` on the application, replacing those
// installed before; English removes them. False when the program's catalogue cannot be loaded
// (the interface then stays English).
bool installTranslations(const QString& language);

// The language of the catalogues installed last ("en" when none).
QString currentLanguage();

// A GUI text in the interface language.
QString ui(const str::UiText& text);

// A message of the core in the interface language: each marked source translated under its
// context, then its arguments filled in; plain texts (paths, numbers, values) as they are.
QString core(const Message& message);

// The name of a data file ("Torvane.html") in the interface language ("Torvane_zh_CN.html").
std::string localizedName(const std::string& name);

// The family of the Info tab's font: the program's own choice, or, when the interface is
// Chinese and that family has no Chinese glyphs, one that has them.
QString infoFontFamily();

} // namespace torvane::gui
