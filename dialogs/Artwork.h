// Pictures the program draws itself (its icon, the splash), and icons taken from the desktop's
// icon theme with a fallback for desktops that have none.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QStringList>
#include <QStyle>

QIcon ProgramIcon();
QPixmap SplashPixmap();

// The first of `names` that the icon theme has; otherwise the style's own picture, or none.
QIcon ThemeIcon(const QStringList& names, QStyle::StandardPixmap fallback = QStyle::SP_CustomBase);

// The file list's view modes and its state-icon switch, drawn in the palette's text colour.
enum class ViewGlyph { LargeIcons, SmallIcons, List, Details, StateIcons };
QIcon ViewModeIcon(ViewGlyph glyph);

// The toolbar's pictures in one style: the theme's icon of the first of `names` (its monochrome
// form where there is one), drawn in the palette's text colour like the program's own glyphs,
// which stand in where the theme has none.
QIcon ToolbarIcon(const QStringList& names, QStyle::StandardPixmap fallback = QStyle::SP_CustomBase);
QIcon ToolbarIcon(const QStringList& names, ViewGlyph fallback);

// Lets a bare X session (no desktop, so no theme set) use an installed freedesktop theme.
void ChooseIconTheme();
