#pragma once

#include <QString>

class QApplication;

namespace lookandfeel {

constexpr char kSkinResource[] = ":/qss/psblue.css";
constexpr char kFontFamily[] = "Microsoft Yahei";
constexpr int kFontPointSize = 12;

// The palette colour sits at a fixed place in the skin text (its first rule); a text too short
// to hold one gives an empty string.
QString paletteColourOf(const QString& skin);

// Loads the skin into the application's palette and style sheet. False when the skin is missing;
// the platform's look then stays.
bool applySkin(QApplication& app, const QString& resource = QString::fromLatin1(kSkinResource));

// The application font, with CJK fallbacks for systems that lack it.
void applyFont(QApplication& app);

// Sizes of indicators, arrows and scroll bars that the main window sets on itself.
QString sizeStyleSheet();

} // namespace lookandfeel
