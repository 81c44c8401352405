#include "dialogs/Artwork.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStandardPaths>

namespace {

// Two folders with a transfer arrow between them: a file client at a glance.
void PaintProgramIcon(QPainter& painter, int size)
{
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QLinearGradient background(0, 0, 0, s);
    background.setColorAt(0, QColor(0x3d, 0x8b, 0xd9));
    background.setColorAt(1, QColor(0x1f, 0x5a, 0x9e));
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawRoundedRect(QRectF(0.04 * s, 0.04 * s, 0.92 * s, 0.92 * s), 0.18 * s, 0.18 * s);

    auto folder = [&](qreal x, qreal y, const QColor& color) {
        QPainterPath path;
        path.moveTo(x, y + 0.06 * s);
        path.lineTo(x + 0.12 * s, y + 0.06 * s);
        path.lineTo(x + 0.15 * s, y + 0.10 * s);
        path.lineTo(x + 0.32 * s, y + 0.10 * s);
        path.lineTo(x + 0.32 * s, y + 0.34 * s);
        path.lineTo(x, y + 0.34 * s);
        path.closeSubpath();
        painter.setBrush(color);
        painter.drawPath(path);
    };
    folder(0.12 * s, 0.14 * s, QColor(0xf6, 0xd3, 0x65));
    folder(0.56 * s, 0.52 * s, QColor(0xf6, 0xd3, 0x65));

    QPen arrow(Qt::white, qMax<qreal>(1.5, 0.07 * s), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(arrow);
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(0.30 * s, 0.62 * s), QPointF(0.62 * s, 0.30 * s));
    painter.drawLine(QPointF(0.62 * s, 0.30 * s), QPointF(0.46 * s, 0.30 * s));
    painter.drawLine(QPointF(0.62 * s, 0.30 * s), QPointF(0.62 * s, 0.46 * s));
}

} // namespace

QIcon ProgramIcon()
{
    static const QIcon icon = [] {
        QIcon result;
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            QPixmap pixmap(size, size);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            PaintProgramIcon(painter, size);
            painter.end();
            result.addPixmap(pixmap);
        }
        return result;
    }();
    return icon;
}

QPixmap SplashPixmap()
{
    const QSize size(420, 240);
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, size.width(), size.height());
    background.setColorAt(0, QColor(0x24, 0x4f, 0x86));
    background.setColorAt(1, QColor(0x12, 0x2b, 0x4d));
    painter.fillRect(pixmap.rect(), background);
    painter.setPen(QColor(255, 255, 255, 60));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));

    painter.drawPixmap(32, 60, ProgramIcon().pixmap(96, 96));

    QFont title = QApplication::font();
    title.setPointSizeF(title.pointSizeF() * 2.6);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(150, 62, 250, 56), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tarvo"));

    QFont subtitle = QApplication::font();
    subtitle.setPointSizeF(subtitle.pointSizeF() * 1.1);
    painter.setFont(subtitle);
    painter.setPen(QColor(0xd6, 0xe4, 0xf5));
    painter.drawText(QRect(152, 118, 250, 24), Qt::AlignLeft | Qt::AlignVCenter, QCoreApplication::translate("SplashWindow", "FTP client"));
    painter.drawText(QRect(152, 142, 250, 24), Qt::AlignLeft | Qt::AlignVCenter,
                     QCoreApplication::translate("SplashWindow", "Version %1").arg(QCoreApplication::applicationVersion()));
    return pixmap;
}

QIcon ThemeIcon(const QStringList& names, QStyle::StandardPixmap fallback)
{
    for (const QString& name : names) {
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
    }
    if (fallback != QStyle::SP_CustomBase && QApplication::style())
        return QApplication::style()->standardIcon(fallback);
    return {};
}

QIcon ViewModeIcon(ViewGlyph glyph)
{
    QIcon icon;
    // Drawn for both states, as the generated disabled picture of a black glyph stays dark.
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled})
        for (int size : {16, 24, 32, 48, 64}) {
            const QColor ink = QApplication::palette().color(
                mode == QIcon::Normal ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
            QPixmap pixmap(size, size);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.scale(size / 16.0, size / 16.0);
            painter.setPen(Qt::NoPen);
            painter.setBrush(ink);
            switch (glyph) {
            case ViewGlyph::LargeIcons:
                for (int x : {2, 9})
                    for (int y : {2, 9})
                        painter.drawRoundedRect(QRectF(x, y, 5, 5), 1, 1);
                break;
            case ViewGlyph::SmallIcons:
                for (int x : {1, 9})
                    for (int y : {2, 7, 12}) {
                        painter.drawRect(QRectF(x, y, 2.5, 2.5));
                        painter.drawRect(QRectF(x + 3.5, y + 0.75, 2.5, 1));
                    }
                break;
            case ViewGlyph::List:
                for (int y : {2, 7, 12}) {
                    painter.drawRect(QRectF(2, y, 2.5, 2.5));
                    painter.drawRect(QRectF(6, y + 0.75, 8, 1));
                }
                break;
            case ViewGlyph::Details:
                painter.drawRect(QRectF(1, 1.5, 14, 2));
                for (int y : {6, 9, 12}) {
                    painter.drawRect(QRectF(1, y, 6, 1));
                    painter.drawRect(QRectF(8.5, y, 3, 1));
                    painter.drawRect(QRectF(13, y, 2, 1));
                }
                break;
            case ViewGlyph::StateIcons:
                painter.setBrush(Qt::NoBrush);
                painter.setPen(QPen(ink, 1.2));
                painter.drawRoundedRect(QRectF(2, 2, 12, 12), 2, 2);
                painter.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                painter.drawPolyline(QPolygonF({QPointF(4.5, 8), QPointF(7, 10.5), QPointF(11.5, 5)}));
                break;
            }
            painter.end();
            icon.addPixmap(pixmap, mode);
        }
    return icon;
}

namespace {

// The first of `names` the theme has, its symbolic (monochrome) form first.
QIcon MonochromeThemeIcon(const QStringList& names)
{
    for (const QString& name : names) {
        for (const QString& candidate : {name + QStringLiteral("-symbolic"), name}) {
            if (QIcon::hasThemeIcon(candidate))
                return QIcon::fromTheme(candidate);
        }
    }
    return {};
}

// `source` in the palette's text colour, enabled and disabled, for 1x and 2x screens.
QIcon Tinted(const QIcon& source)
{
    QIcon icon;
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled})
        for (int size : {16, 24, 32, 48, 64}) {
            QPixmap pixmap = source.pixmap(QSize(size, size));
            if (pixmap.isNull())
                continue;
            pixmap.setDevicePixelRatio(1.0);
            const QColor ink = QApplication::palette().color(
                mode == QIcon::Normal ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
            QPainter painter(&pixmap);
            painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
            painter.fillRect(pixmap.rect(), ink);
            painter.end();
            icon.addPixmap(pixmap, mode);
        }
    return icon;
}

} // namespace

QIcon ToolbarIcon(const QStringList& names, QStyle::StandardPixmap fallback)
{
    const QIcon themed = MonochromeThemeIcon(names);
    if (!themed.isNull())
        return Tinted(themed);
    return ThemeIcon({}, fallback);
}

QIcon ToolbarIcon(const QStringList& names, ViewGlyph fallback)
{
    const QIcon themed = MonochromeThemeIcon(names);
    return themed.isNull() ? ViewModeIcon(fallback) : Tinted(themed);
}

void ChooseIconTheme()
{
    const QString current = QIcon::themeName();
    if (!current.isEmpty() && current != QLatin1String("hicolor"))
        return;
    // Without a platform theme Qt may not even know where icon themes live.
    QStringList folders = QIcon::themeSearchPaths();
    for (const QString& folder : QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                                           QStandardPaths::LocateDirectory)) {
        if (!folders.contains(folder))
            folders << folder;
    }
    for (const QString& candidate :
         {QStringLiteral("Adwaita"), QStringLiteral("breeze"), QStringLiteral("oxygen"), QStringLiteral("Tango")}) {
        for (const QString& folder : folders) {
            if (QFileInfo::exists(QDir(folder).filePath(candidate + QStringLiteral("/index.theme")))) {
                QIcon::setThemeSearchPaths(folders);
                QIcon::setThemeName(candidate);
                return;
            }
        }
    }
}
