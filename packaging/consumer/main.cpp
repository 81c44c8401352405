// Lists one folder of an FTP server: ftp-list <port> <user> <password> <folder>, on 127.0.0.1.
#include <QorFtp.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 5)
        return 2;
    QorFtpConnection connection;
    connection.SetPassive(1);
    if (!connection.Login("127.0.0.1", argv[2], argv[3], std::atoi(argv[1]), ""))
        return 1;
    if (!connection.GetDir(argv[4]))
        return 1;
    _Qor_Ftp_FileData entry;
    while (connection.GetNextFile(entry, 1))
        std::printf("%s\n", entry.Name.c_str());
    connection.Close();
    return 0;
}
