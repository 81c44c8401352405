// The steps of listing a folder that run on worker threads: the exchange with the server, or
// the walk through a local folder, and turning the entries into sorted rows. No widgets here.
#pragma once

#include "listing/FileRow.h"

#include <QString>

#include <string>
#include <vector>

class QorFtpConnection;

struct RemoteListingRequest {
    bool changeDirectory = false; // CWD to `changeTo` first, then list the current folder
    std::string changeTo;
    std::string directory; // the LIST argument; empty lists the current folder
    bool wantFolders = false;
    bool wantRows = false;
    int showName = 0;
};

struct RemoteListing {
    bool changeFailed = false;
    unsigned long error = 0; // GetError() after a failed CWD or LIST; 421: the connection is gone
    int lineCount = 0; // what GetDir returned
    std::string folder; // the folder listed: `directory`, or the current one
    std::vector<std::string> folders; // subfolder names as sent, sorted by their texts ignoring case
    bool folderSeen = false;
    std::vector<FileRow> rows; // sorted
};

// Runs the whole exchange on the calling thread.
RemoteListing ListRemoteFolder(QorFtpConnection& connection, const RemoteListingRequest& request);

struct LocalFolder {
    QString name;
    bool hasSubfolders = false;
};

// The visible subfolders of `path`, sorted ignoring case; hidden entries are left out.
std::vector<LocalFolder> LocalSubfolders(const QString& path);

// The rows of every visible entry of `path`, sorted.
std::vector<FileRow> LocalRows(const QString& path);
