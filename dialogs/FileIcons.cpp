#include "dialogs/FileIcons.h"

#include "settings/Settings.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

#include <functional>
#include <map>
#include <memory>

QHash<QString, QIcon> ExtensionIconMap;

namespace {

struct IconCache {
    QHash<QString, QIcon> program;
    std::map<std::pair<qint64, int>, QIcon> overlaid;
    std::unique_ptr<QFileIconProvider> provider;
    QMimeDatabase mime;
};

IconCache* cache = nullptr;

// Pixmaps must go before the application does, so the caches are emptied with it.
void DropCache()
{
    delete cache;
    cache = nullptr;
    ExtensionIconMap.clear();
}

IconCache& Cache()
{
    if (!cache) {
        cache = new IconCache;
        cache->provider = std::make_unique<QFileIconProvider>();
        cache->provider->setOptions(QFileIconProvider::DontUseCustomDirectoryIcons);
        qAddPostRoutine(DropCache);
    }
    return *cache;
}

QIcon Standard(QStyle::StandardPixmap which)
{
    return QApplication::style()->standardIcon(which);
}

QIcon Themed(const QString& name, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(name, Standard(fallback));
}

constexpr int kSizes[] = {16, 24, 32, 48};

QIcon Greyed(const QIcon& icon)
{
    QIcon result;
    for (int size : kSizes)
        result.addPixmap(icon.pixmap(size, QIcon::Disabled));
    return result;
}

QIcon DrawnCheckMark()
{
    QIcon result;
    for (int size : kSizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath tick;
        tick.moveTo(size * 0.15, size * 0.55);
        tick.lineTo(size * 0.42, size * 0.80);
        tick.lineTo(size * 0.88, size * 0.22);
        painter.setPen(QPen(QColor(0, 130, 0), size / 6.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(tick);
        result.addPixmap(pixmap);
    }
    return result;
}

// The user's own copy in the program folder wins over the built-in picture.
QIcon ProgramIcon(const QString& file, const std::function<QIcon()>& builtIn)
{
    IconCache& c = Cache();
    auto found = c.program.find(file);
    if (found != c.program.end())
        return found.value();
    QString folder = ProgramSettings().programFolder;
    if (folder.isEmpty())
        folder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    const QString path = folder + file;
    QIcon icon = QFileInfo::exists(path) ? QIcon(path) : QIcon();
    if (icon.isNull() || icon.availableSizes().isEmpty())
        icon = builtIn();
    c.program.insert(file, icon);
    return icon;
}

void DrawShortcut(QPainter& painter, int size)
{
    const qreal box = size * 0.45;
    const QRectF area(0.5, size - box - 0.5, box, box);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(area);
    QPainterPath arrow;
    arrow.moveTo(area.left() + box * 0.25, area.bottom() - box * 0.2);
    arrow.quadTo(area.left() + box * 0.3, area.top() + box * 0.35, area.right() - box * 0.2, area.top() + box * 0.3);
    painter.setPen(QPen(Qt::black, qMax(1.0, size / 16.0)));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(arrow);
    QPolygonF head;
    head << QPointF(area.right() - box * 0.1, area.top() + box * 0.3)
         << QPointF(area.right() - box * 0.4, area.top() + box * 0.1)
         << QPointF(area.right() - box * 0.4, area.top() + box * 0.55);
    painter.setBrush(Qt::black);
    painter.drawPolygon(head);
}

} // namespace

namespace FileIcons {

QIcon Caution()
{
    return ProgramIcon(QStringLiteral("caution.ico"), [] { return Standard(QStyle::SP_MessageBoxWarning); });
}

QIcon ConnectedComputer()
{
    return ProgramIcon(QStringLiteral("conncomp.ico"),
                       [] { return Themed(QStringLiteral("computer"), QStyle::SP_ComputerIcon); });
}

QIcon Computer()
{
    // Grey, so a connected server stands out beside the ones that are not.
    return ProgramIcon(QStringLiteral("computer.ico"),
                       [] { return Greyed(Themed(QStringLiteral("computer"), QStyle::SP_ComputerIcon)); });
}

QIcon Executable()
{
    return ProgramIcon(QStringLiteral("exeicon.ico"),
                       [] { return Themed(QStringLiteral("application-x-executable"), QStyle::SP_FileIcon); });
}

QIcon CheckMark()
{
    return ProgramIcon(QStringLiteral("checkmar.ico"), [] { return DrawnCheckMark(); });
}

QIcon Folder()
{
    IconCache& c = Cache();
    auto found = c.program.find(QStringLiteral(":folder"));
    if (found != c.program.end())
        return found.value();
    const QIcon closed = Themed(QStringLiteral("folder"), QStyle::SP_DirClosedIcon);
    const QIcon open = Themed(QStringLiteral("folder-open"), QStyle::SP_DirOpenIcon);
    QIcon icon;
    for (int size : kSizes) {
        icon.addPixmap(closed.pixmap(size), QIcon::Normal);
        icon.addPixmap(open.pixmap(size), QIcon::Selected);
    }
    c.program.insert(QStringLiteral(":folder"), icon);
    return icon;
}

QIcon Document()
{
    IconCache& c = Cache();
    auto found = c.program.find(QStringLiteral(":document"));
    if (found != c.program.end())
        return found.value();
    const QIcon icon = Themed(QStringLiteral("text-x-generic"), QStyle::SP_FileIcon);
    c.program.insert(QStringLiteral(":document"), icon);
    return icon;
}

QIcon Place(const QString& path)
{
    return Cache().provider->icon(QFileInfo(path));
}

QIcon LocalFile(const QString& path, const QString& iconKey)
{
    if (!iconKey.isEmpty()) {
        auto found = ExtensionIconMap.constFind(iconKey);
        if (found != ExtensionIconMap.constEnd())
            return found.value();
    }
    QIcon icon = Cache().provider->icon(QFileInfo(path));
    if (icon.isNull())
        icon = Document();
    // Files without an extension differ too much (scripts, programs, data) to share one.
    if (!iconKey.isEmpty())
        ExtensionIconMap.insert(iconKey, icon);
    return icon;
}

QIcon RemoteFile(const QString& iconKey)
{
    if (iconKey.isEmpty())
        return Document();
    auto found = ExtensionIconMap.constFind(iconKey);
    if (found != ExtensionIconMap.constEnd())
        return found.value();
    if (iconKey.endsWith(QLatin1String(".exe")))
        return Executable();
    // No local file of that kind was shown yet: the MIME type of the extension names the icon.
    const QList<QMimeType> types = Cache().mime.mimeTypesForFileName(QStringLiteral("x.") + iconKey);
    QIcon icon;
    if (!types.isEmpty()) {
        icon = QIcon::fromTheme(types.first().iconName());
        if (icon.isNull())
            icon = QIcon::fromTheme(types.first().genericIconName());
    }
    if (icon.isNull())
        icon = Document();
    ExtensionIconMap.insert(iconKey, icon);
    return icon;
}

QIcon WithOverlays(const QIcon& base, bool shortcut, bool check)
{
    if (!shortcut && !check)
        return base;
    IconCache& c = Cache();
    const auto key = std::make_pair(base.cacheKey(), (shortcut ? 1 : 0) | (check ? 2 : 0));
    auto found = c.overlaid.find(key);
    if (found != c.overlaid.end())
        return found->second;
    const QIcon tick = check ? CheckMark() : QIcon();
    QIcon result;
    for (int size : kSizes) {
        for (QIcon::Mode mode : {QIcon::Normal, QIcon::Selected}) {
            QPixmap pixmap = base.pixmap(size, mode);
            if (pixmap.isNull())
                continue;
            pixmap = pixmap.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            if (shortcut)
                DrawShortcut(painter, size);
            if (check) {
                const int mark = size * 3 / 5;
                painter.drawPixmap(size - mark, size - mark, tick.pixmap(mark));
            }
            result.addPixmap(pixmap, mode);
        }
    }
    c.overlaid.emplace(key, result);
    return result;
}

} // namespace FileIcons
