// The program's command identifiers. The panes find the frame's actions by these numbers, and
// each action carries its number as its objectName.
#pragma once

namespace Command {
enum : int {
    NewConnection = 57600,
    FileOpen = 57601,
    PageSetup = 57605,
    PrintSetup = 57606,
    Print = 57607,
    PrintDirect = 57608,
    PrintPreview = 57609,
    RecentFirst = 57616,
    RecentLast = 57631,
    Copy = 57634,
    Cut = 57635,
    Paste = 57637,
    SelectAll = 57642,
    Exit = 57665,
    About = 57664,
    HelpIndex = 57666,
    ContextHelp = 57669,
    Disconnect = 32773,
    Connect = 32795,
    DeleteServer = 32796,
    ServerProperties = 32797,
    Delete = 32775,
    Download = 32776,
    Open = 32777,
    SmallIcons = 32782,
    StateIcons = 32783,
    List = 32784,
    LargeIcons = 32785,
    UpOneLevel = 32786,
    Details = 32791,
    Rename = 32792,
    Refresh = 32806,
    View = 32807,
    NewFolder = 32808,
    FilePermissions = 32809,
    CancelOperation = 32810,
    Options = 32811,
    RenameServer = 32812,
    MarkUnmark = 32813,
    NewScript = 32814,
    LoadScript = 32815,
    RunScript = 32816,
    Append = 32817,
    Properties = 32818,
    ChangeDirectory = 32819,
    DownloadFile = 32820,
    UploadFile = 32821,
};
} // namespace Command

// The status bar's operation counter pane.
inline constexpr int kOperationsPaneId = 59142;
// Recent scripts the File menu keeps.
inline constexpr int kRecentScriptCount = 4;
