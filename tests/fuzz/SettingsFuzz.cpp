// The settings store's loading: the input as the settings file, read as at start-up (the server
// store, then the program settings), in a temporary folder emptied after every input.
#include "operations/Interaction.h"
#include "servers/ServerMap.h"
#include "servers/ServerStore.h"
#include "settings/Settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

// A damaged file is reported to the user; here that is expected and not worth a line of output.
class SilentInteraction : public TerminalInteraction {
public:
    void ShowMessage(const std::string&, MessageIcon, const CancelFlag&) override { }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static SilentInteraction interaction;
    static QTemporaryDir folder;
    if (!folder.isValid())
        std::abort();
    SetInteraction(&interaction);
    const QString path = folder.filePath(QStringLiteral("Tarvo.conf"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    SetSettingsFilePath(path);
    ServerMap.clear();
    LoadServers();
    ProgramSettings();
    ServerMap.clear();
    SetSettingsFilePath({});
    QDir dir(folder.path());
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden))
        dir.remove(name);
    return 0;
}
