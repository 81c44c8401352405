// Lists a folder of 100,000 entries on pyftpdlib into the file list and reports the longest
// time the window's event loop was held up while it happened. Prints figures, asserts nothing.
//   BrowseBench [entries, default 100000]      (QT_QPA_PLATFORM=offscreen needs no display)
#include "PyFtpd.h"

#include "app/BrowsePanes.h"
#include "filelist/CFileView.h"
#include "tree/CPathView.h"
#include "tree/FolderTreeModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTimer>

#include "settings/Settings.h"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

struct Figures {
    double treeSeconds = 0; // until the listing is in the tree
    double filledSeconds = 0; // until the last row is in the list
    qint64 longestBlockMs = 0;
    int rows = 0;
};

Figures ListOnce(QApplication& app, CPathView& tree, CFileView& list, CFileView::ViewMode mode,
                 const QModelIndex& folder)
{
    list.SetViewMode(mode);
    Figures figures;
    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    // A heartbeat every 5 ms; the longest gap between two beats is how long the window was deaf.
    QTimer beat;
    beat.setInterval(5);
    QObject::connect(&beat, &QTimer::timeout, &app,
                     [&] { figures.longestBlockMs = std::max(figures.longestBlockMs, sinceTick.restart()); });
    auto listed = QObject::connect(&tree, &CPathView::ListingFinished, &app,
                                   [&] { figures.treeSeconds = clock.elapsed() / 1000.0; });
    auto filled = QObject::connect(&list, &CFileView::FillFinished, &app, [&] {
        figures.filledSeconds = clock.elapsed() / 1000.0;
        // Let the view lay out and paint the full list before the beat stops.
        QTimer::singleShot(300, &app, [&] { app.exit(0); });
    });
    beat.start();
    sinceTick.start();
    clock.start();
    // Each run starts from a node without children, as a first visit does.
    tree.Model()->removeRows(0, tree.Model()->rowCount(folder), folder);
    tree.setCurrentIndex(QModelIndex());
    tree.setCurrentIndex(folder);
    app.exec();
    beat.stop();
    QObject::disconnect(listed);
    QObject::disconnect(filled);
    figures.rows = list.Model()->rowCount();
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    // "list" as the second argument keeps to LIST; pyftpdlib offers MLSD, which is used otherwise.
    const bool listOnly = argc > 2 && std::string(argv[2]) == "list";
    QTemporaryDir settings;
    SetSettingsFilePath(settings.filePath(QStringLiteral("Tarvo.conf")));
    AppSettings appSettings = ProgramSettings();
    appSettings.useMlsd = listOnly ? 0 : 1;
    SetProgramSettings(appSettings);

    tarvo::test::PyFtpd server;
    const std::string folder = server.root() + "/many";
    std::filesystem::create_directory(folder);
    // One entry in ten is a folder, so the tree gets its share of the work.
    for (int i = 0; i < entries; ++i) {
        const std::string name = folder + "/entry-" + std::to_string(i);
        if (i % 10 == 0)
            std::filesystem::create_directory(name);
        else
            ::close(::open((name + ".txt").c_str(), O_CREAT | O_WRONLY, 0644));
    }

    QSplitter window;
    window.resize(1000, 700);
    auto* tree = new CPathView(&window);
    auto* list = new CFileView(&window);
    window.addWidget(tree);
    window.addWidget(list);
    LinkPanes(tree, list);
    window.show();

    ServerRecord record;
    record.name = "Bench";
    record.address = "127.0.0.1";
    record.port = static_cast<int>(server.port());
    record.userName = tarvo::test::PyFtpd::kUser;
    record.password = tarvo::test::PyFtpd::kPassword;
    bool connected = false;
    QObject::connect(tree, &CPathView::ConnectionCompleted, &app, [&](const QString&, bool ok) {
        connected = ok;
        app.exit(0);
    });
    tree->StartConnect(record);
    app.exec();
    if (!connected) {
        std::fprintf(stderr, "could not connect to pyftpdlib\n");
        return 1;
    }
    const QModelIndex start = tree->model()->index(0, 0, tree->ServerIndex(QStringLiteral("Bench")));
    // The start folder first, so "many" is a node of the tree.
    tree->setCurrentIndex(start);
    QObject::connect(
        list, &CFileView::FillFinished, &app, [&] { app.exit(0); }, Qt::SingleShotConnection);
    app.exec();
    QModelIndex many;
    for (int row = 0; row < tree->model()->rowCount(start); ++row) {
        if (tree->model()->index(row, 0, start).data().toString() == QLatin1String("many"))
            many = tree->model()->index(row, 0, start);
    }

    std::printf("pyftpdlib on 127.0.0.1:%u, a folder of %d entries (one in ten a folder), by %s\n", server.port(),
                entries, listOnly ? "LIST" : "MLSD");
    const struct {
        const char* name;
        CFileView::ViewMode mode;
    } modes[] = {{"Details", CFileView::ViewMode::Details},
                 {"List", CFileView::ViewMode::List},
                 {"Large Icons", CFileView::ViewMode::LargeIcons}};
    for (const auto& mode : modes) {
        const Figures figures = ListOnce(app, *tree, *list, mode.mode, many);
        std::printf(
            "%-12s listed in the tree %.2f s, all %d rows in the list %.2f s, longest block of the window %lld ms\n",
            mode.name, figures.treeSeconds, figures.rows, figures.filledSeconds,
            static_cast<long long>(figures.longestBlockMs));
    }
    return 0;
}
