// Tarvo's command line, for the window and for the runs without one: one parser, one --help.
#pragma once

#include <QString>
#include <QStringList>

struct ProgramCommandLine {
    enum class Mode {
        Window, // open the window, with `script` loaded when one is named
        RunScript, // --run-script: run `script` without a window
        AddServer, // --add-server NAME HOST[:PORT] USER PASSWORD
        TrustCertificate, // --trust-certificate NAME: `server` holds NAME
        Help, // --help: `text` is the help
        Version, // --version: `text` is the version line
        Error, // `text` says what is wrong, followed by the help
    };
    Mode mode = Mode::Window;
    QString script;
    QStringList server; // NAME HOST[:PORT] USER PASSWORD
    bool passive = false;
    // --verbose: a script run prints its conversation with the servers to standard error.
    bool verbose = false;
    // --encryption: a QorFtpEncryption value; -1 when not given.
    int encryption = -1;
    bool showSplash = true;
    // Fills the operations window with made-up operations, for pictures of the window.
    bool demoOperations = false;
    QString text;

    // Whether the mode needs no display.
    bool Headless() const { return mode != Mode::Window; }
};

// `arguments` as QCoreApplication::arguments() gives them, the program's name first.
ProgramCommandLine ParseProgramCommandLine(const QStringList& arguments);
