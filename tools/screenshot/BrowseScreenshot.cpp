// The main window with its folder tree and file list, connected to a server and showing one of
// its folders in Details mode; writes a PNG of the window and quits. Used by
// tools/screenshot-browse.sh.
//   BrowseScreenshot <out.png> <port> [user] [password] [folder under the start folder]
#include "app/BrowsePanes.h"
#include "app/MainFrame.h"
#include "app/SelkDoc.h"
#include "filelist/CFileView.h"
#include "servers/ServerMap.h"
#include "servers/ServerStore.h"
#include "settings/Settings.h"
#include "tree/CPathView.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Without a desktop session Qt picks no icon theme; the program chooses one the same way.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: BrowseScreenshot <out.png> <port> [user] [password] [folder]\n");
        return 2;
    }
    const QString out = args.at(1);
    ServerRecord server;
    server.name = "Demo";
    server.address = "127.0.0.1";
    server.port = args.at(2).toInt();
    server.userName = args.value(3, QStringLiteral("demo")).toStdString();
    server.password = args.value(4, QStringLiteral("demo")).toStdString();
    const QString folder = args.value(5, QStringLiteral("pub"));
    LoadServers();

    CSelkDoc document;
    CMainFrame window(document);
    window.resize(960, 560);
    auto* tree = new CPathView;
    auto* list = new CFileView;
    QObject::connect(tree, &CPathView::TitleChanged, &window, &QWidget::setWindowTitle);
    LinkPanes(tree, list);
    window.SetPanes(tree, list);
    ConnectPaneCommands(tree, list, [&window](int id) { return window.Command(id); });
    list->SetViewMode(CFileView::ViewMode::Details);
    window.show();

    const auto shoot = [&] {
        QTimer::singleShot(500, &app, [&] {
            const bool saved = window.grab().save(out);
            std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(out));
            app.exit(saved ? 0 : 1);
        });
    };
    // Start folder, then the folder below it, then the picture.
    int step = 0;
    QObject::connect(list, &CFileView::FillFinished, &app, [&] {
        if (step == 1) {
            step = 2;
            tree->OpenChildFolder(folder.toStdString());
        } else if (step == 2) {
            step = 3;
            shoot();
        }
    });
    QObject::connect(tree, &CPathView::ConnectionCompleted, &app, [&](const QString& name, bool connected) {
        if (!connected) {
            std::fprintf(stderr, "could not connect to 127.0.0.1:%d\n", server.port);
            app.exit(1);
            return;
        }
        step = 1;
        const QModelIndex node = tree->ServerIndex(name);
        tree->setCurrentIndex(tree->model()->index(0, 0, node));
    });
    tree->StartConnect(server);
    QTimer::singleShot(30000, &app, [&] {
        std::fprintf(stderr, "timed out\n");
        app.exit(1);
    });
    return app.exec();
}
