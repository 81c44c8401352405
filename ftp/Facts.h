// What a server says about itself and its files in the extensions of RFC 2389 and RFC 3659:
// the FEAT list, and MLSD/MLST lines ("type=file;size=12;modify=20261207062200; name").
#pragma once

#include "QorFtp.h"

#include <string>
#include <string_view>

namespace qorftp {

struct Features {
    bool utf8 = false;
    bool mlst = false; // MLST, and with it MLSD
    bool size = false;
    bool mdtm = false;
    bool restStream = false;
    bool epsv = false;
    bool authTls = false;
    bool sscn = false;
    std::string mlstFacts; // what the MLST feature line offers: "type*;perm*;size*;modify*;unix.mode;"
};

// The OPTS MLST argument that asks for every fact the list uses out of those offered; empty
// when none of them is offered.
std::string WantedFacts(const std::string& offered);

// The features of a FEAT reply (all its lines, each ended by LF).
Features ReadFeatures(const std::string& reply);

// One MLSD line, or the entry line of an MLST reply (its leading blank removed). False for the
// folder itself and its parent (cdir, pdir) and for a line without facts. The name is kept
// exactly, blanks and all; sizes and times are the server's facts (times in UTC, shown in local
// time); UNIX.mode or perm give the permission letters.
bool ParseMlsdLine(std::string_view line, _Qor_Ftp_FileData& rec);

} // namespace qorftp
