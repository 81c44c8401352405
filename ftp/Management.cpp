// Single-command operations on remote files and directories, and raw command lines.
#include "ConnectionPrivate.h"

using namespace qorftp;

int QorFtpConnection::RunCommand(const std::string& command, int messageId, const std::string& name)
{
    if (!CheckConnected())
        return 0;
    Lock lock(*this);
    if (SendCommand(command) <= 0)
        return 0;
    std::string reply;
    if (Accepted(ReadReply(reply)))
        return 1;
    ShowReply(messageId, name, reply);
    return 0;
}

int QorFtpConnection::ChMod(std::string file, std::string mode)
{
    return RunCommand("SITE CHMOD " + mode + " " + file, kChmodFailed, file);
}

int QorFtpConnection::DeleteFileA(std::string file)
{
    return RunCommand("DELE " + file, kDeleteFailed, file);
}

int QorFtpConnection::RemoveDirectoryA(std::string directory)
{
    return RunCommand("RMD " + directory, kDeleteFailed, directory);
}

int QorFtpConnection::MakeDirectory(std::string directory)
{
    return RunCommand("MKD " + directory, kMakeDirectoryFailed, directory);
}

int QorFtpConnection::Rename(std::string oldName, std::string newName)
{
    if (!CheckConnected())
        return 0;
    // Both names are checked before RNFR goes out, so a refused name leaves nothing half done.
    if (!ArgumentIsSafe("RNFR " + oldName) || !ArgumentIsSafe("RNTO " + newName))
        return 0;
    Lock lock(*this);
    std::string reply;
    if (SendCommand("RNFR " + oldName) <= 0)
        return 0;
    if (!Accepted(ReadReply(reply))) {
        ShowReply(kRenameFailed, oldName, reply);
        return 0;
    }
    if (SendCommand("RNTO " + newName) <= 0)
        return 0;
    if (!Accepted(ReadReply(reply))) {
        ShowReply(kRenameFailed, oldName, reply);
        return 0;
    }
    return 1;
}

int QorFtpConnection::SendRaw(std::string command, int waitReply, char*)
{
    if (!CheckConnected())
        return 0;
    if (command.empty()) {
        if (m_bShowError)
            ShowMessage(kPlain, "No command to send");
        return 0;
    }
    // A command that already ends its line goes out as it is; a line break inside it does not.
    std::string line = command;
    if (line.back() == '\n' || (line.size() >= 2 && line[line.size() - 2] == '\r')) {
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
    }
    Lock lock(*this);
    // The command may be TYPE A, REIN or anything else that changes the session's type.
    m_typeIsBinary = false;
    if (SendCommand(line) <= 0)
        return 0;
    if (!waitReply)
        return 1;
    std::string reply;
    if (Accepted(ReadReply(reply)))
        return 1;
    ShowReply(kPlain, {}, reply);
    return 0;
}
