// The places under "My Computer": the root file system, the home folder and every mounted
// volume of a real file system, each shown as "display name (path)".
#pragma once

#include <QString>

#include <vector>

struct LocalPlace {
    QString text; // e.g. "Home (/home/ann)"
    QString path;
};

std::vector<LocalPlace> LocalPlaces();
