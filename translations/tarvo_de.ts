<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Tarvo</source>
        <translation>Über Tarvo</translation>
    </message>
    <message>
        <source>An FTP client built like a file explorer.</source>
        <translation>Ein FTP-Programm, aufgebaut wie ein Datei-Explorer.</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>Unavailable</source>
        <translation>Nicht verfügbar</translation>
    </message>
    <message>
        <source>Physical Memory Available:</source>
        <translation>Verfügbarer Arbeitsspeicher:</translation>
    </message>
    <message>
        <source>Free Disk Space:</source>
        <translation>Freier Speicherplatz:</translation>
    </message>
    <message>
        <source>%1 KB Free on %2</source>
        <translation>%1 KB frei auf %2</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tarvo&lt;/b&gt; Version %1</source>
        <translation>&lt;b&gt;Tarvo&lt;/b&gt; Version %1</translation>
    </message>
</context>
<context>
    <name>CConnectDlg</name>
    <message>
        <source>&amp;Encryption:</source>
        <translation>&amp;Verschlüsselung:</translation>
    </message>
    <message>
        <source>Passive &amp;Mode</source>
        <translation>Passiver &amp;Modus</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Connect To:</source>
        <translation>Verbinden mit:</translation>
    </message>
    <message>
        <source>The name the server is listed under. Choose a known server or type a new name.</source>
        <translation>Der Name, unter dem der Server geführt wird. Einen bekannten Server wählen oder einen neuen Namen eingeben.</translation>
    </message>
    <message>
        <source>The host name or IP address of the FTP server.</source>
        <translation>Der Hostname oder die IP-Adresse des FTP-Servers.</translation>
    </message>
    <message>
        <source>The user name to log in with; empty means anonymous.</source>
        <translation>Der Benutzername für die Anmeldung; leer bedeutet anonym.</translation>
    </message>
    <message>
        <source>The password; an anonymous login gets Hiker@ when it is empty.</source>
        <translation>Das Kennwort; eine anonyme Anmeldung erhält Hiker@, wenn es leer ist.</translation>
    </message>
    <message>
        <source>The account, for the few servers that ask for one after the password.</source>
        <translation>Das Konto, für die wenigen Server, die nach dem Kennwort danach fragen.</translation>
    </message>
    <message>
        <source>The port of the FTP server, normally 21.</source>
        <translation>Der Port des FTP-Servers, normalerweise 21.</translation>
    </message>
    <message>
        <source>Logs in to the server; its folders then appear under its name.</source>
        <translation>Meldet sich am Server an; seine Ordner erscheinen dann unter seinem Namen.</translation>
    </message>
    <message>
        <source>Server &amp;Name:</source>
        <translation>Server&amp;name:</translation>
    </message>
    <message>
        <source>Server &amp;Address:</source>
        <translation>Server&amp;adresse:</translation>
    </message>
    <message>
        <source>&amp;User Name:</source>
        <translation>&amp;Benutzername:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Kennwort:</translation>
    </message>
    <message>
        <source>A&amp;ccount:</source>
        <translation>K&amp;onto:</translation>
    </message>
    <message>
        <source>P&amp;ort:</source>
        <translation>&amp;Port:</translation>
    </message>
    <message>
        <source>Comment:</source>
        <translation>Kommentar:</translation>
    </message>
    <message>
        <source>The Server Address cannot be Empty.</source>
        <translation>Die Serveradresse darf nicht leer sein.</translation>
    </message>
    <message>
        <source>The port must be a number from 1 to 65535.</source>
        <translation>Der Port muss eine Zahl von 1 bis 65535 sein.</translation>
    </message>
</context>
<context>
    <name>CDownloadAsDlg</name>
    <message>
        <source>Don&apos;t prompt for each file</source>
        <translation>Nicht für jede Datei fragen</translation>
    </message>
    <message>
        <source>&amp;More &gt;&gt;</source>
        <translation>&amp;Mehr &gt;&gt;</translation>
    </message>
    <message>
        <source>Download As</source>
        <translation>Herunterladen als</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>%1 files (*.%1)</source>
        <translation>%1-Dateien (*.%1)</translation>
    </message>
    <message>
        <source>Remaining files</source>
        <translation>Übrige Dateien</translation>
    </message>
    <message>
        <source>You can rename each file or Highlited and press delete to remove it.</source>
        <translation>Jede Datei lässt sich umbenennen, oder markieren und mit Entf entfernen.</translation>
    </message>
    <message>
        <source>Download the Folder &apos;%1&apos; Into</source>
        <translation>Ordner &apos;%1&apos; herunterladen nach</translation>
    </message>
    <message>
        <source>&amp;Download</source>
        <translation>He&amp;runterladen</translation>
    </message>
</context>
<context>
    <name>CFileListModel</name>
    <message>
        <source>File Folder</source>
        <translation>Dateiordner</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
</context>
<context>
    <name>CFilePropertiesDlg</name>
    <message>
        <source>File Properties</source>
        <translation>Dateieigenschaften</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Typ:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>Modified:</source>
        <translation>Geändert:</translation>
    </message>
    <message>
        <source>Owner:</source>
        <translation>Besitzer:</translation>
    </message>
    <message>
        <source>Group:</source>
        <translation>Gruppe:</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Lesen</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Schreiben</translation>
    </message>
    <message>
        <source>Execute</source>
        <translation>Ausführen</translation>
    </message>
    <message>
        <source>Other:</source>
        <translation>Andere:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CFileView</name>
    <message>
        <source>Are you sure you want to download
 all the contents of the &apos;%1&apos; directory?</source>
        <translation type="vanished">Soll wirklich der ganze Inhalt
 des Ordners &apos;%1&apos; heruntergeladen werden?</translation>
    </message>
    <message>
        <source>The directory &apos;%1&apos; has no files</source>
        <translation type="vanished">Der Ordner &apos;%1&apos; enthält keine Dateien</translation>
    </message>
    <message>
        <source>Move &apos;%1&apos; to the trash?</source>
        <translation>&apos;%1&apos; in den Papierkorb verschieben?</translation>
    </message>
    <message numerus="yes">
        <source>Move these %n items to the trash?</source>
        <translation>
            <numerusform>Dieses Element in den Papierkorb verschieben?</numerusform>
            <numerusform>Diese %n Elemente in den Papierkorb verschieben?</numerusform>
        </translation>
    </message>
    <message>
        <source>&apos;%1&apos; cannot be moved to the trash.
Delete it for good?</source>
        <translation>&apos;%1&apos; kann nicht in den Papierkorb verschoben werden.
Endgültig löschen?</translation>
    </message>
    <message>
        <source>Could not delete &apos;%1&apos;.</source>
        <translation>&apos;%1&apos; konnte nicht gelöscht werden.</translation>
    </message>
    <message>
        <source>Are you sure you want to delete &apos;%1&apos;</source>
        <translation>Soll &apos;%1&apos; wirklich gelöscht werden?</translation>
    </message>
    <message>
        <source>No Files</source>
        <translation>Keine Dateien</translation>
    </message>
    <message>
        <source>&apos;%1&apos; cannot be used as a name: it must not hold &quot;/&quot; or be &quot;.&quot; or &quot;..&quot;.</source>
        <translation>&apos;%1&apos; kann kein Name sein: er darf kein &quot;/&quot; enthalten und nicht &quot;.&quot; oder &quot;..&quot; sein.</translation>
    </message>
    <message>
        <source>Could not create the folder &apos;%1&apos;.</source>
        <translation>Der Ordner &apos;%1&apos; konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Could not rename &apos;%1&apos;.</source>
        <translation>&apos;%1&apos; konnte nicht umbenannt werden.</translation>
    </message>
    <message>
        <source>Could not Connect to Clipboard</source>
        <translation>Kein Zugriff auf die Zwischenablage</translation>
    </message>
    <message>
        <source>No Available Files to Paste</source>
        <translation>Keine Dateien zum Einfügen vorhanden</translation>
    </message>
    <message>
        <source>Enter file to Download from %1:</source>
        <translation>Herunterzuladende Datei von %1 eingeben:</translation>
    </message>
    <message>
        <source>Enter local Pathname:</source>
        <translation>Lokalen Pfad eingeben:</translation>
    </message>
    <message>
        <source>Enter file to Upload to %1:</source>
        <translation>Hochzuladende Datei nach %1 eingeben:</translation>
    </message>
    <message>
        <source>Enter remote Pathname:</source>
        <translation>Entfernten Pfad eingeben:</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Re&amp;name</source>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>Move to &amp;Trash</source>
        <translation>In den &amp;Papierkorb</translation>
    </message>
    <message>
        <source>&amp;Mark/UnMark</source>
        <translation>&amp;Markieren/Demarkieren</translation>
    </message>
    <message>
        <source>&amp;About Tarvo...</source>
        <translation>Ü&amp;ber Tarvo...</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Download...</source>
        <translation>Herunterladen...</translation>
    </message>
    <message>
        <source>&amp;Download...</source>
        <translation>He&amp;runterladen...</translation>
    </message>
    <message>
        <source>De&amp;lete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Append</source>
        <translation>Anh&amp;ängen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>An&amp;zeigen</translation>
    </message>
    <message>
        <source>File &amp;Permissions</source>
        <translation>Dateiberech&amp;tigungen</translation>
    </message>
    <message>
        <source>P&amp;roperties</source>
        <translation>Eigen&amp;schaften</translation>
    </message>
    <message>
        <source>&amp;New Folder</source>
        <translation>&amp;Neuer Ordner</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>Aktualisie&amp;ren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Lar&amp;ge Icons</source>
        <translation>&amp;Große Symbole</translation>
    </message>
    <message>
        <source>S&amp;mall Icons</source>
        <translation>&amp;Kleine Symbole</translation>
    </message>
    <message>
        <source>&amp;List</source>
        <translation>&amp;Liste</translation>
    </message>
    <message>
        <source>&amp;Details</source>
        <translation>&amp;Details</translation>
    </message>
    <message>
        <source>Tarvo did not find anything to print.</source>
        <translation>Tarvo hat nichts zum Drucken gefunden.</translation>
    </message>
    <message>
        <source>No Connection</source>
        <translation>Keine Verbindung</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
</context>
<context>
    <name>CInputDialog</name>
    <message>
        <source>Enter Server:</source>
        <translation>Server eingeben:</translation>
    </message>
    <message>
        <source>Enter File:</source>
        <translation>Datei eingeben:</translation>
    </message>
    <message>
        <source>Ftp Command:</source>
        <translation>FTP-Befehl:</translation>
    </message>
    <message>
        <source>This field is required.</source>
        <translation>Dieses Feld muss ausgefüllt werden.</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>C&amp;onnect...</source>
        <translation>&amp;Verbinden...</translation>
    </message>
    <message>
        <source>Connect to the selected server</source>
        <translation>Mit dem ausgewählten Server verbinden</translation>
    </message>
    <message>
        <source>De&amp;lete Server</source>
        <translation type="vanished">Server &amp;löschen</translation>
    </message>
    <message>
        <source>Remove the selected server from the list</source>
        <translation>Den ausgewählten Server aus der Liste entfernen</translation>
    </message>
    <message>
        <source>Rena&amp;me Server</source>
        <translation>Server &amp;umbenennen</translation>
    </message>
    <message>
        <source>Give the selected server another name</source>
        <translation>Dem ausgewählten Server einen anderen Namen geben</translation>
    </message>
    <message>
        <source>Server P&amp;roperties...</source>
        <translation type="vanished">Server&amp;eigenschaften...</translation>
    </message>
    <message>
        <source>Show and change the selected server&apos;s settings</source>
        <translation>Die Einstellungen des ausgewählten Servers anzeigen und ändern</translation>
    </message>
    <message>
        <source>Copy the selected files</source>
        <translation>Die ausgewählten Dateien kopieren</translation>
    </message>
    <message>
        <source>Add the selected files to the copied ones</source>
        <translation>Die ausgewählten Dateien zu den kopierten hinzufügen</translation>
    </message>
    <message>
        <source>Paste the copied files into the current folder</source>
        <translation>Die kopierten Dateien in den aktuellen Ordner einfügen</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Open the selected folder</source>
        <translation>Den ausgewählten Ordner öffnen</translation>
    </message>
    <message>
        <source>Re&amp;name</source>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>Rename the selected file</source>
        <translation>Die ausgewählte Datei umbenennen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>An&amp;zeigen</translation>
    </message>
    <message>
        <source>Open a copy of the selected file with its program</source>
        <translation>Eine Kopie der ausgewählten Datei mit ihrem Programm öffnen</translation>
    </message>
    <message>
        <source>File &amp;Permissions...</source>
        <translation type="vanished">Dateiberech&amp;tigungen...</translation>
    </message>
    <message>
        <source>Change who may read, write and run the file</source>
        <translation>Ändern, wer die Datei lesen, schreiben und ausführen darf</translation>
    </message>
    <message>
        <source>P&amp;roperties</source>
        <translation>Eigen&amp;schaften</translation>
    </message>
    <message>
        <source>Show what the list knows about the selected file</source>
        <translation>Anzeigen, was die Liste über die ausgewählte Datei weiß</translation>
    </message>
    <message>
        <source>Open the user&apos;s manual in the web browser</source>
        <translation>Das Handbuch im Webbrowser öffnen</translation>
    </message>
    <message>
        <source>Ftp - Not connected</source>
        <translation>Ftp - Nicht verbunden</translation>
    </message>
    <message>
        <source>&amp;New Connection...</source>
        <translation>&amp;Neue Verbindung...</translation>
    </message>
    <message>
        <source>Connect to an FTP server</source>
        <translation>Mit einem FTP-Server verbinden</translation>
    </message>
    <message>
        <source>&amp;Close Connection</source>
        <translation>Verbindung &amp;trennen</translation>
    </message>
    <message>
        <source>Close the connection to the selected server</source>
        <translation>Die Verbindung zum ausgewählten Server trennen</translation>
    </message>
    <message>
        <source>&amp;Load Script...</source>
        <translation>Skript l&amp;aden...</translation>
    </message>
    <message>
        <source>&amp;Run Script</source>
        <translation>Skript aus&amp;führen</translation>
    </message>
    <message>
        <source>New &amp;Script...</source>
        <translation>Neues S&amp;kript...</translation>
    </message>
    <message>
        <source>Page Set&amp;up...</source>
        <translation>Seite ein&amp;richten...</translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <translation>Druckvors&amp;chau</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>Print the listing of the current folder</source>
        <translation>Die Liste des aktuellen Ordners drucken</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>App&amp;end</source>
        <translation>Anh&amp;ängen</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Delete the selection</source>
        <translation>Die Auswahl löschen</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Alles aus&amp;wählen</translation>
    </message>
    <message>
        <source>&amp;Mark/UnMark</source>
        <translation>&amp;Markieren/Demarkieren</translation>
    </message>
    <message>
        <source>&amp;Download...</source>
        <translation type="vanished">He&amp;runterladen...</translation>
    </message>
    <message>
        <source>Download &amp;File...</source>
        <translation>&amp;Datei herunterladen...</translation>
    </message>
    <message>
        <source>&amp;Upload File...</source>
        <translation>Datei &amp;hochladen...</translation>
    </message>
    <message>
        <source>&amp;New Folder</source>
        <translation type="vanished">&amp;Neuer Ordner</translation>
    </message>
    <message>
        <source>C&amp;hange Directory...</source>
        <translation>&amp;Ordner wechseln...</translation>
    </message>
    <message>
        <source>Lar&amp;ge Icons</source>
        <translation>&amp;Große Symbole</translation>
    </message>
    <message>
        <source>Show the files as large icons</source>
        <translation>Die Dateien als große Symbole anzeigen</translation>
    </message>
    <message>
        <source>S&amp;mall Icons</source>
        <translation>&amp;Kleine Symbole</translation>
    </message>
    <message>
        <source>Show the files as small icons</source>
        <translation>Die Dateien als kleine Symbole anzeigen</translation>
    </message>
    <message>
        <source>&amp;List</source>
        <translation type="vanished">&amp;Liste</translation>
    </message>
    <message>
        <source>Show the files as a list</source>
        <translation>Die Dateien als Liste anzeigen</translation>
    </message>
    <message>
        <source>&amp;Details</source>
        <translation>&amp;Details</translation>
    </message>
    <message>
        <source>Show the files with size, type and date</source>
        <translation>Die Dateien mit Größe, Typ und Datum anzeigen</translation>
    </message>
    <message>
        <source>&amp;State Icons</source>
        <translation type="vanished">&amp;Statussymbole</translation>
    </message>
    <message>
        <source>Show or hide the marks in front of the files</source>
        <translation>Die Markierungen vor den Dateien ein- oder ausblenden</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>Aktualisie&amp;ren</translation>
    </message>
    <message>
        <source>&amp;Up One Level</source>
        <translation>Eine Ebene &amp;nach oben</translation>
    </message>
    <message>
        <source>Go to the folder above</source>
        <translation>Zum übergeordneten Ordner wechseln</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>&amp;Optionen...</translation>
    </message>
    <message>
        <source>&amp;Help Topics</source>
        <translation>&amp;Hilfethemen</translation>
    </message>
    <message>
        <source>What&apos;s &amp;This?</source>
        <translation>&amp;Direkthilfe</translation>
    </message>
    <message>
        <source>Click on any part of the window to learn what it does</source>
        <translation>Auf einen Teil des Fensters klicken, um zu erfahren, was er tut</translation>
    </message>
    <message>
        <source>&amp;About Tarvo...</source>
        <translation>Ü&amp;ber Tarvo...</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Background operations</source>
        <translation>Hintergrundvorgänge</translation>
    </message>
    <message>
        <source>Turns while background operations run. Click it to show or hide the list of background operations.</source>
        <translation>Dreht sich, während Hintergrundvorgänge laufen. Klicken, um die Liste der Hintergrundvorgänge ein- oder auszublenden.</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>Sy&amp;mbolleiste</translation>
    </message>
    <message>
        <source>Operations: 000</source>
        <translation>Vorgänge: 000</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>Statusl&amp;eiste</translation>
    </message>
    <message>
        <source>Operations:%1</source>
        <translation>Vorgänge:%1</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <comment>menu bar</comment>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source>&amp;Delete Server</source>
        <translation>Server &amp;löschen</translation>
    </message>
    <message>
        <source>Server Proper&amp;ties...</source>
        <translation>Server&amp;eigenschaften...</translation>
    </message>
    <message>
        <source>File Perm&amp;issions...</source>
        <translation>Dateiberech&amp;tigungen...</translation>
    </message>
    <message>
        <source>Do&amp;wnload...</source>
        <translation>He&amp;runterladen...</translation>
    </message>
    <message>
        <source>New Fo&amp;lder</source>
        <translation>&amp;Neuer Ordner</translation>
    </message>
    <message>
        <source>L&amp;ist</source>
        <translation>&amp;Liste</translation>
    </message>
    <message>
        <source>Stat&amp;e Icons</source>
        <translation>&amp;Statussymbole</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Symbolleiste</translation>
    </message>
    <message>
        <source>&amp;Background Operations</source>
        <translation>&amp;Hintergrundvorgänge</translation>
    </message>
    <message>
        <source>Show the running background operations</source>
        <translation>Die laufenden Hintergrundvorgänge anzeigen</translation>
    </message>
</context>
<context>
    <name>COperationsDlg</name>
    <message>
        <source>Bkg Operations:</source>
        <translation>Hintergrundvorgänge:</translation>
    </message>
    <message>
        <source>Bkg Operations: %1</source>
        <translation>Hintergrundvorgänge: %1</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Progress of %1</source>
        <translation>Fortschritt von %1</translation>
    </message>
    <message>
        <source>%1 of 1 file</source>
        <translation>%1 von 1 Datei</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n files</source>
        <translation>
            <numerusform>%1 von %n Datei</numerusform>
            <numerusform>%1 von %n Dateien</numerusform>
        </translation>
    </message>
    <message>
        <source>%1, %2 of %3</source>
        <translation>%1, %2 von %3</translation>
    </message>
    <message numerus="yes">
        <source>%n failed</source>
        <translation>
            <numerusform>%n fehlgeschlagen</numerusform>
            <numerusform>%n fehlgeschlagen</numerusform>
        </translation>
    </message>
    <message>
        <source>(still counting)</source>
        <translation>(wird noch gezählt)</translation>
    </message>
    <message>
        <source>Background operations</source>
        <translation>Hintergrundvorgänge</translation>
    </message>
</context>
<context>
    <name>COptions</name>
    <message>
        <source>Options:</source>
        <translation>Optionen:</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>Customize Servers</source>
        <translation>Server anpassen</translation>
    </message>
</context>
<context>
    <name>COptionsPage1</name>
    <message>
        <source>Please enter a number between %1 and %2.</source>
        <translation>Bitte eine Zahl zwischen %1 und %2 eingeben.</translation>
    </message>
    <message>
        <source>Always show a plus next to remote folders</source>
        <translation>Neben entfernten Ordnern immer ein Plus zeigen</translation>
    </message>
    <message>
        <source>Use the mouse wheel on the window that has the focus</source>
        <translation>Das Mausrad auf das Fenster mit dem Fokus wirken lassen</translation>
    </message>
    <message>
        <source>Use MLSD listings where the server offers them</source>
        <translation>MLSD-Listen verwenden, wo der Server sie anbietet</translation>
    </message>
    <message>
        <source>Send keep-alive commands</source>
        <translation>Keep-Alive-Befehle senden</translation>
    </message>
    <message>
        <source>Keep passwords in the desktop&apos;s keyring</source>
        <translation>Kennwörter im Schlüsselbund des Desktops speichern</translation>
    </message>
    <message>
        <source>Exact names, sizes and times; turn off for a server whose MLSD listings are wrong.</source>
        <translation>Genaue Namen, Größen und Zeiten; für einen Server mit fehlerhaften MLSD-Listen ausschalten.</translation>
    </message>
    <message>
        <source>A command to an idle server now and then, so that it does not close the connection; not after 30 minutes without use.</source>
        <translation>Ab und zu ein Befehl an einen untätigen Server, damit er die Verbindung nicht schließt; nicht nach 30 Minuten ohne Nutzung.</translation>
    </message>
    <message>
        <source>Server passwords go to the keyring (Secret Service) instead of the settings file.</source>
        <translation>Server-Kennwörter kommen in den Schlüsselbund (Secret Service) statt in die Einstellungsdatei.</translation>
    </message>
    <message>
        <source>Show Filename:</source>
        <translation>Dateinamen zeigen:</translation>
    </message>
    <message>
        <source>As is</source>
        <translation>Unverändert</translation>
    </message>
    <message>
        <source>Uppercase letters</source>
        <translation>Großbuchstaben</translation>
    </message>
    <message>
        <source>Lowercase letters</source>
        <translation>Kleinbuchstaben</translation>
    </message>
    <message>
        <source>Drag delay (seconds):</source>
        <translation>Ziehverzögerung (Sekunden):</translation>
    </message>
    <message>
        <source>Please enter a number.</source>
        <translation>Bitte eine Zahl eingeben.</translation>
    </message>
    <message>
        <source>How many files a folder download, upload or copy moves at once, each over a connection of its own. Many servers allow only a few connections.</source>
        <translation>Wie viele Dateien das Herunterladen, Hochladen oder Kopieren eines Ordners gleichzeitig überträgt, jede über eine eigene Verbindung. Viele Server erlauben nur wenige Verbindungen.</translation>
    </message>
    <message>
        <source>&amp;Parallel transfers per job:</source>
        <translation>&amp;Parallele Übertragungen je Auftrag:</translation>
    </message>
    <message>
        <source>Parallel transfers per job</source>
        <translation>Parallele Übertragungen je Auftrag</translation>
    </message>
</context>
<context>
    <name>COptionsPage2</name>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>Default download directory:</source>
        <translation>Standard-Downloadordner:</translation>
    </message>
    <message>
        <source>Select a default download directory:</source>
        <translation>Einen Standard-Downloadordner wählen:</translation>
    </message>
</context>
<context>
    <name>CPathView</name>
    <message>
        <source>Encrypted connection: %1</source>
        <translation>Verschlüsselte Verbindung: %1</translation>
    </message>
    <message>
        <source>This connection is not encrypted: the password and the files pass in clear text.</source>
        <translation>Diese Verbindung ist nicht verschlüsselt: Kennwort und Dateien werden im Klartext übertragen.</translation>
    </message>
    <message>
        <source>encrypted</source>
        <translation>verschlüsselt</translation>
    </message>
    <message>
        <source>not encrypted</source>
        <translation>nicht verschlüsselt</translation>
    </message>
    <message>
        <source>Are you sure you want to delete &apos;%1&apos;.</source>
        <translation>Soll &apos;%1&apos; wirklich gelöscht werden?</translation>
    </message>
    <message>
        <source>The server &apos;%1&apos; already exists.</source>
        <translation>Den Server &apos;%1&apos; gibt es schon.</translation>
    </message>
    <message>
        <source>Enter directory:</source>
        <translation>Ordner eingeben:</translation>
    </message>
    <message>
        <source>&amp;Connect</source>
        <translation>&amp;Verbinden</translation>
    </message>
    <message>
        <source>&amp;Disconnect</source>
        <translation>&amp;Trennen</translation>
    </message>
    <message>
        <source>De&amp;lete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Re&amp;name</source>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>P&amp;roperties</source>
        <translation>Eigen&amp;schaften</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>Aktualisie&amp;ren</translation>
    </message>
    <message>
        <source>The server closed the connection; it is opened again when you next use this server.</source>
        <translation>Der Server hat die Verbindung geschlossen; sie wird beim nächsten Zugriff auf diesen Server neu geöffnet.</translation>
    </message>
    <message>
        <source>Reconnecting</source>
        <translation>Neu verbinden</translation>
    </message>
    <message>
        <source>Password for %1 on %2:</source>
        <translation>Kennwort für %1 auf %2:</translation>
    </message>
    <message>
        <source>Reconnecting to %1</source>
        <translation>Neu verbinden mit %1</translation>
    </message>
    <message>
        <source>No Connection - Ftp</source>
        <translation>Keine Verbindung - Ftp</translation>
    </message>
    <message>
        <source>Not Connected to: %1</source>
        <translation>Nicht verbunden mit: %1</translation>
    </message>
    <message>
        <source>No Connection</source>
        <translation>Keine Verbindung</translation>
    </message>
    <message>
        <source>Retreiving %1 directory</source>
        <translation>Ordner %1 wird abgerufen</translation>
    </message>
    <message>
        <source>Retreiving %1 directory from %2</source>
        <translation>Ordner %1 wird von %2 abgerufen</translation>
    </message>
    <message>
        <source>No Files</source>
        <translation>Keine Dateien</translation>
    </message>
    <message>
        <source>My Computer</source>
        <translation>Arbeitsplatz</translation>
    </message>
    <message>
        <source>Tarvo &gt;%1</source>
        <translation>Tarvo &gt;%1</translation>
    </message>
    <message>
        <source>Connection!</source>
        <translation>Verbindung!</translation>
    </message>
    <message>
        <source>Using the same</source>
        <translation>über dieselbe</translation>
    </message>
    <message>
        <source>Uploading</source>
        <translation>Hochladen</translation>
    </message>
    <message>
        <source>or</source>
        <translation>oder</translation>
    </message>
    <message>
        <source>Downloading</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <source>Connecting to %1</source>
        <translation>Verbinden mit %1</translation>
    </message>
    <message>
        <source>Trying to connect to %1</source>
        <translation>Verbindungsversuch mit %1</translation>
    </message>
    <message>
        <source>Error!</source>
        <translation>Fehler!</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
</context>
<context>
    <name>CPermissionsDlg</name>
    <message>
        <source>File Permissions</source>
        <translation>Dateiberechtigungen</translation>
    </message>
    <message>
        <source>Owner:</source>
        <translation>Besitzer:</translation>
    </message>
    <message>
        <source>Group:</source>
        <translation>Gruppe:</translation>
    </message>
    <message>
        <source>Others:</source>
        <translation>Andere:</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Lesen</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Schreiben</translation>
    </message>
    <message>
        <source>Execute</source>
        <translation>Ausführen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>CSelkDoc</name>
    <message>
        <source>There are some operations still active.
If you want to exit you have to cancel them.</source>
        <translation>Es laufen noch Vorgänge.
Zum Beenden müssen Sie sie erst abbrechen.</translation>
    </message>
</context>
<context>
    <name>CServerProperty</name>
    <message>
        <source>Server Properties</source>
        <translation>Servereigenschaften</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Customize Servers</source>
        <translation>Server anpassen</translation>
    </message>
</context>
<context>
    <name>CServerPropertyPage1</name>
    <message>
        <source>Server:</source>
        <translation>Server:</translation>
    </message>
    <message>
        <source>Last Connected:</source>
        <translation>Zuletzt verbunden:</translation>
    </message>
    <message>
        <source>Duration:</source>
        <translation>Dauer:</translation>
    </message>
    <message>
        <source>Comment:</source>
        <translation>Kommentar:</translation>
    </message>
</context>
<context>
    <name>CServerPropertyPage2</name>
    <message>
        <source>Passive Mode</source>
        <translation>Passiver Modus</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Server:</source>
        <translation>Server:</translation>
    </message>
    <message>
        <source>Server Address:</source>
        <translation>Serveradresse:</translation>
    </message>
    <message>
        <source>User Name:</source>
        <translation>Benutzername:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Kennwort:</translation>
    </message>
    <message>
        <source>Account:</source>
        <translation>Konto:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Encryption:</source>
        <translation>Verschlüsselung:</translation>
    </message>
    <message>
        <source>Tarvo</source>
        <translation>Tarvo</translation>
    </message>
    <message>
        <source>Are you sure you want to delete &apos;%1&apos;.</source>
        <translation>Soll &apos;%1&apos; wirklich gelöscht werden?</translation>
    </message>
</context>
<context>
    <name>CTarvoApp</name>
    <message>
        <source>Folders</source>
        <translation type="vanished">Ordner</translation>
    </message>
    <message>
        <source>Files</source>
        <translation type="vanished">Dateien</translation>
    </message>
</context>
<context>
    <name>CertificateDialog</name>
    <message>
        <source>Server Certificate Changed</source>
        <translation>Serverzertifikat geändert</translation>
    </message>
    <message>
        <source>Untrusted Server Certificate</source>
        <translation>Nicht vertrauenswürdiges Serverzertifikat</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Caution</source>
        <translation>Vorsicht</translation>
    </message>
    <message>
        <source>WARNING: the certificate of %1 has CHANGED since you trusted it.
This happens when the server got a new certificate, but it is also what an attacker between you and the server would show. Trust the new certificate only when the server&apos;s administrator confirms the fingerprint below.</source>
        <translation>WARNUNG: Das Zertifikat von %1 hat sich GEÄNDERT, seit Sie ihm vertraut haben.
Das geschieht, wenn der Server ein neues Zertifikat bekommen hat, aber auch ein Angreifer zwischen Ihnen und dem Server würde das zeigen. Vertrauen Sie dem neuen Zertifikat nur, wenn der Administrator des Servers den Fingerabdruck unten bestätigt.</translation>
    </message>
    <message>
        <source>The certificate of %1 could not be verified, so Tarvo cannot be sure the connection goes to that server. Trust it only when you know this certificate is your server&apos;s, for example when the fingerprint below is the one its administrator gave you.</source>
        <translation>Das Zertifikat von %1 konnte nicht geprüft werden, daher kann Tarvo nicht sicher sein, dass die Verbindung zu diesem Server führt. Vertrauen Sie ihm nur, wenn Sie wissen, dass es das Zertifikat Ihres Servers ist, etwa wenn der Fingerabdruck unten der ist, den Ihnen sein Administrator genannt hat.</translation>
    </message>
    <message>
        <source>Problem:</source>
        <translation>Problem:</translation>
    </message>
    <message>
        <source>Issued to:</source>
        <translation>Ausgestellt für:</translation>
    </message>
    <message>
        <source>Issued by:</source>
        <translation>Ausgestellt von:</translation>
    </message>
    <message>
        <source>Valid from:</source>
        <translation>Gültig ab:</translation>
    </message>
    <message>
        <source>Valid until:</source>
        <translation>Gültig bis:</translation>
    </message>
    <message>
        <source>SHA-256 fingerprint:</source>
        <translation>SHA-256-Fingerabdruck:</translation>
    </message>
    <message>
        <source>Trusted before:</source>
        <translation>Bisher vertraut:</translation>
    </message>
    <message>
        <source>A trusted certificate is remembered for this server; Tarvo asks again only when the server shows another one.</source>
        <translation>Ein vertrautes Zertifikat wird für diesen Server gespeichert; Tarvo fragt erst wieder, wenn der Server ein anderes zeigt.</translation>
    </message>
    <message>
        <source>&amp;Trust</source>
        <translation>&amp;Vertrauen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>DeleteConfirmDialog</name>
    <message>
        <source>Tarvo - Delete</source>
        <translation>Tarvo - Löschen</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>Yes To &amp;All</source>
        <translation>Ja, &amp;alle</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>EncryptionChoice</name>
    <message>
        <source>Encryption</source>
        <translation>Verschlüsselung</translation>
    </message>
    <message>
        <source>How the connection is encrypted. Plain FTP sends the password and the files in clear; implicit FTP over TLS usually needs port 990.</source>
        <translation>Wie die Verbindung verschlüsselt wird. Einfaches FTP überträgt Kennwort und Dateien im Klartext; implizites FTP über TLS braucht meist Port 990.</translation>
    </message>
    <message>
        <source>Require explicit FTP over TLS</source>
        <translation>Explizites FTP über TLS verlangen</translation>
    </message>
    <message>
        <source>Require implicit FTP over TLS</source>
        <translation>Implizites FTP über TLS verlangen</translation>
    </message>
    <message>
        <source>Only use plain FTP (insecure)</source>
        <translation>Nur einfaches FTP verwenden (unsicher)</translation>
    </message>
    <message>
        <source>Use explicit FTP over TLS if available</source>
        <translation>Explizites FTP über TLS verwenden, wenn verfügbar</translation>
    </message>
</context>
<context>
    <name>FileProperties</name>
    <message>
        <source> bytes</source>
        <translation> Bytes</translation>
    </message>
    <message>
        <source> KB</source>
        <translation> KB</translation>
    </message>
    <message>
        <source> MB</source>
        <translation> MB</translation>
    </message>
</context>
<context>
    <name>FileRow</name>
    <message>
        <source>This name is not UTF-8; it is shown as Latin-1.</source>
        <translation>Dieser Name ist kein UTF-8; er wird als Latin-1 angezeigt.</translation>
    </message>
</context>
<context>
    <name>FolderJob</name>
    <message>
        <source>Downloading folder %1</source>
        <translation>Ordner %1 wird heruntergeladen</translation>
    </message>
    <message>
        <source>Downloading folder %1 from %2</source>
        <translation>Ordner %1 wird von %2 heruntergeladen</translation>
    </message>
    <message>
        <source>Uploading folder %1</source>
        <translation>Ordner %1 wird hochgeladen</translation>
    </message>
    <message>
        <source>Uploading folder %1 to %2</source>
        <translation>Ordner %1 wird nach %2 hochgeladen</translation>
    </message>
    <message>
        <source>Copying folder %1</source>
        <translation>Ordner %1 wird kopiert</translation>
    </message>
    <message>
        <source>Copying folder %1 to %2</source>
        <translation>Ordner %1 wird nach %2 kopiert</translation>
    </message>
    <message>
        <source>Deleting folder %1</source>
        <translation>Ordner %1 wird gelöscht</translation>
    </message>
    <message>
        <source>Deleting folder %1 from %2</source>
        <translation>Ordner %1 wird von %2 gelöscht</translation>
    </message>
    <message numerus="yes">
        <source>Not everything in &apos;%1&apos; could be downloaded; %n failed:</source>
        <translation>
            <numerusform>Nicht alles in &apos;%1&apos; konnte heruntergeladen werden; %n fehlgeschlagen:</numerusform>
            <numerusform>Nicht alles in &apos;%1&apos; konnte heruntergeladen werden; %n fehlgeschlagen:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Not everything in &apos;%1&apos; could be uploaded; %n failed:</source>
        <translation>
            <numerusform>Nicht alles in &apos;%1&apos; konnte hochgeladen werden; %n fehlgeschlagen:</numerusform>
            <numerusform>Nicht alles in &apos;%1&apos; konnte hochgeladen werden; %n fehlgeschlagen:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Not everything in &apos;%1&apos; could be copied; %n failed:</source>
        <translation>
            <numerusform>Nicht alles in &apos;%1&apos; konnte kopiert werden; %n fehlgeschlagen:</numerusform>
            <numerusform>Nicht alles in &apos;%1&apos; konnte kopiert werden; %n fehlgeschlagen:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Not everything in &apos;%1&apos; could be deleted; %n failed:</source>
        <translation>
            <numerusform>Nicht alles in &apos;%1&apos; konnte gelöscht werden; %n fehlgeschlagen:</numerusform>
            <numerusform>Nicht alles in &apos;%1&apos; konnte gelöscht werden; %n fehlgeschlagen:</numerusform>
        </translation>
    </message>
    <message>
        <source>The server gave no reason.</source>
        <translation>Der Server hat keinen Grund genannt.</translation>
    </message>
    <message>
        <source>The folder could not be listed.</source>
        <translation>Der Ordner konnte nicht aufgelistet werden.</translation>
    </message>
    <message>
        <source>This name cannot be used: it is empty, &quot;.&quot; or &quot;..&quot;, or holds &quot;/&quot;, a line break or a NUL character. It was skipped.</source>
        <translation>Dieser Name ist nicht verwendbar: Er ist leer, &quot;.&quot; oder &quot;..&quot; oder enthält &quot;/&quot;, einen Zeilenumbruch oder ein NUL-Zeichen. Er wurde übersprungen.</translation>
    </message>
    <message>
        <source>This name cannot be used on a server: it holds a line break. It was skipped.</source>
        <translation>Dieser Name ist auf einem Server nicht verwendbar: Er enthält einen Zeilenumbruch. Er wurde übersprungen.</translation>
    </message>
    <message>
        <source>This symbolic link leads round in a loop.</source>
        <translation>Diese symbolische Verknüpfung führt im Kreis.</translation>
    </message>
    <message>
        <source>This symbolic link leads to a folder that is already being copied.</source>
        <translation>Diese symbolische Verknüpfung führt zu einem Ordner, der bereits kopiert wird.</translation>
    </message>
    <message>
        <source>This is neither a file nor a folder (a device, a pipe or a socket).</source>
        <translation>Dies ist weder eine Datei noch ein Ordner (ein Gerät, eine Pipe oder ein Socket).</translation>
    </message>
    <message>
        <source>Something that is not a folder has this name here already.</source>
        <translation>Hier gibt es unter diesem Namen schon etwas, das kein Ordner ist.</translation>
    </message>
    <message>
        <source>Its folder could not be made.</source>
        <translation>Ihr Ordner konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>A folder or a symbolic link has this name here already; it was left as it is.</source>
        <translation>Hier gibt es unter diesem Namen schon einen Ordner oder eine symbolische Verknüpfung; das Vorhandene blieb unverändert.</translation>
    </message>
    <message>
        <source>The folder could neither be made nor listed.</source>
        <translation>Der Ordner konnte weder angelegt noch aufgelistet werden.</translation>
    </message>
    <message>
        <source>A file has this name on the server already.</source>
        <translation>Auf dem Server gibt es schon eine Datei mit diesem Namen.</translation>
    </message>
    <message>
        <source>A folder has this name on the server already; it was left as it is.</source>
        <translation>Auf dem Server gibt es schon einen Ordner mit diesem Namen; er blieb unverändert.</translation>
    </message>
    <message>
        <source>A temporary file could not be made.</source>
        <translation>Eine temporäre Datei konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>No connection to the server was left.</source>
        <translation>Es blieb keine Verbindung zum Server übrig.</translation>
    </message>
    <message>
        <source>Delete the folder &apos;%1&apos; and everything in it (%2 and %3)?</source>
        <translation>Den Ordner &apos;%1&apos; und alles darin (%2 und %3) löschen?</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <translation>
            <numerusform>%n Datei</numerusform>
            <numerusform>%n Dateien</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n folder(s)</source>
        <translation>
            <numerusform>%n Ordner</numerusform>
            <numerusform>%n Ordner</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>und %n weiterer</numerusform>
            <numerusform>und %n weitere</numerusform>
        </translation>
    </message>
    <message>
        <source>The folder &apos;%1&apos; cannot be copied into &apos;%2&apos;: that is the folder itself or a folder inside it.</source>
        <translation>Der Ordner &apos;%1&apos; kann nicht nach &apos;%2&apos; kopiert werden: Das ist der Ordner selbst oder ein Ordner darin.</translation>
    </message>
    <message>
        <source>This is not a folder.</source>
        <translation>Dies ist kein Ordner.</translation>
    </message>
    <message>
        <source>The server refused another connection. Do you want to try &apos;%1&apos;
by using the same connection?
(See help.)</source>
        <translation>Der Server hat eine weitere Verbindung abgelehnt. Soll &apos;%1&apos;
über dieselbe Verbindung versucht werden?
(Siehe Hilfe.)</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>The help page %1 is not installed.</source>
        <translation>Die Hilfeseite %1 ist nicht installiert.</translation>
    </message>
</context>
<context>
    <name>LocalPlaces</name>
    <message>
        <source>File System</source>
        <translation>Dateisystem</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Persönlicher Ordner</translation>
    </message>
</context>
<context>
    <name>LogPane</name>
    <message>
        <source>Log</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>Protocol log</source>
        <translation>Protokoll der Verbindungen</translation>
    </message>
    <message>
        <source>Every command sent to a server and every reply line received</source>
        <translation>Jeder an einen Server gesendete Befehl und jede empfangene Antwortzeile</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <source>Copy the selected lines</source>
        <translation>Die ausgewählten Zeilen kopieren</translation>
    </message>
    <message>
        <source>Remove every line from the log</source>
        <translation>Alle Zeilen aus dem Protokoll entfernen</translation>
    </message>
    <message>
        <source>&amp;Log</source>
        <translation>&amp;Protokoll</translation>
    </message>
    <message>
        <source>Show or hide the conversation with the servers</source>
        <translation>Den Austausch mit den Servern ein- oder ausblenden</translation>
    </message>
</context>
<context>
    <name>LogView</name>
    <message>
        <source>Select &amp;All</source>
        <translation>Alles aus&amp;wählen</translation>
    </message>
</context>
<context>
    <name>OperationNotifier</name>
    <message>
        <source>%1 failed</source>
        <translation>%1 fehlgeschlagen</translation>
    </message>
    <message>
        <source>%1 finished</source>
        <translation>%1 abgeschlossen</translation>
    </message>
    <message>
        <source>The operation ended without an error.</source>
        <translation>Der Vorgang endete ohne Fehler.</translation>
    </message>
</context>
<context>
    <name>OperationText</name>
    <message>
        <source>&apos;%1&apos; could not be copied to &apos;%2&apos;.</source>
        <translation>&apos;%1&apos; konnte nicht nach &apos;%2&apos; kopiert werden.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; could not be moved to &apos;%2&apos;.</source>
        <translation>&apos;%1&apos; konnte nicht nach &apos;%2&apos; verschoben werden.</translation>
    </message>
    <message>
        <source>The folder &apos;%1&apos; cannot be copied or moved into itself.</source>
        <translation>Der Ordner &apos;%1&apos; kann nicht in sich selbst kopiert oder verschoben werden.</translation>
    </message>
    <message>
        <source>Uploading %s</source>
        <translation>%s wird hochgeladen</translation>
    </message>
    <message>
        <source>Uploading %s to %s</source>
        <translation>%s wird nach %s hochgeladen</translation>
    </message>
    <message>
        <source>Downloading %s</source>
        <translation>%s wird heruntergeladen</translation>
    </message>
    <message>
        <source>Downloading %s from %s</source>
        <translation>%s wird von %s heruntergeladen</translation>
    </message>
    <message>
        <source>Transfering %s</source>
        <translation>%s wird übertragen</translation>
    </message>
    <message>
        <source>Transfering %s to %s</source>
        <translation>%s wird nach %s übertragen</translation>
    </message>
    <message>
        <source>View %s</source>
        <translation>Anzeigen: %s</translation>
    </message>
    <message>
        <source>Retrieving %s from %s for Viewing</source>
        <translation>%s wird zum Anzeigen von %s abgerufen</translation>
    </message>
    <message>
        <source>ChMod %s</source>
        <translation>ChMod %s</translation>
    </message>
    <message>
        <source>Changing %s&apos;s permissions</source>
        <translation>Berechtigungen von %s werden geändert</translation>
    </message>
    <message>
        <source>Deleting %s</source>
        <translation>%s wird gelöscht</translation>
    </message>
    <message>
        <source>Deleting %s from %s</source>
        <translation>%s wird von %s gelöscht</translation>
    </message>
    <message>
        <source>Appending %s</source>
        <translation>%s wird angehängt</translation>
    </message>
    <message>
        <source>Appending %s to %s</source>
        <translation>%s wird an %s angehängt</translation>
    </message>
    <message>
        <source>Downloading &apos;%s&apos; from %s</source>
        <translation>&apos;%s&apos; wird von %s heruntergeladen</translation>
    </message>
    <message>
        <source>Error getting the user information  for &apos;%1&apos; .</source>
        <translation>Fehler beim Abrufen der Benutzerangaben für &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>Do you want to try downloading the &apos;%1&apos; 
by using the same connection?
(See help.)</source>
        <translation>Soll versucht werden, &apos;%1&apos;
über dieselbe Verbindung herunterzuladen?
(Siehe Hilfe.)</translation>
    </message>
    <message>
        <source>Do you want to try uploading the &apos;%1&apos;
by using the same connection?
(See help.)</source>
        <translation>Soll versucht werden, &apos;%1&apos;
über dieselbe Verbindung hochzuladen?
(Siehe Hilfe.)</translation>
    </message>
    <message>
        <source>Do you want to try transfering the &apos;%1&apos;
 by using the same connection?

This is a transfer. So, it will first download the file and then
upload it leaving an &apos;ftpXXXX.TMP&apos; file
in your temporary directory. (Where XXXX a random string).</source>
        <translation>Soll versucht werden, &apos;%1&apos;
über dieselbe Verbindung zu übertragen?

Dies ist eine Übertragung: Die Datei wird erst heruntergeladen und dann
hochgeladen; dabei bleibt eine Datei &apos;ftpXXXX.TMP&apos;
im temporären Ordner zurück. (XXXX ist eine zufällige Zeichenfolge.)</translation>
    </message>
    <message>
        <source>There is currently other operation using the same connection.
		Please try again later.</source>
        <translation>Ein anderer Vorgang verwendet gerade dieselbe Verbindung.
		Bitte später erneut versuchen.</translation>
    </message>
    <message>
        <source>No Available Files to Paste</source>
        <translation>Keine Dateien zum Einfügen vorhanden</translation>
    </message>
    <message>
        <source>The file name &apos;%1&apos; cannot be used for the copy: a name must not be empty, &quot;.&quot; or &quot;..&quot;, and must not hold &quot;/&quot; or a NUL character.
The file was skipped.</source>
        <translation>Der Dateiname &apos;%1&apos; kann für die Kopie nicht verwendet werden: Ein Name darf nicht leer, &quot;.&quot; oder &quot;..&quot; sein und darf weder &quot;/&quot; noch ein NUL-Zeichen enthalten.
Die Datei wurde übersprungen.</translation>
    </message>
    <message>
        <source>The transfer data is damaged or incomplete, so no file was transferred.</source>
        <translation>Die Übertragungsdaten sind beschädigt oder unvollständig, daher wurde keine Datei übertragen.</translation>
    </message>
    <message>
        <source>The server &apos;%1&apos; the files come from is no longer in the server list, so nothing was transferred.</source>
        <translation>Der Server &apos;%1&apos;, von dem die Dateien stammen, ist nicht mehr in der Serverliste, daher wurde nichts übertragen.</translation>
    </message>
    <message>
        <source>Only files are uploaded; these folders were skipped:
%1</source>
        <translation>Nur Dateien werden hochgeladen; diese Ordner wurden übersprungen:
%1</translation>
    </message>
    <message>
        <source>Copying &apos;%1&apos; through this computer: the servers cannot exchange encrypted data directly.</source>
        <translation>&apos;%1&apos; wird über diesen Computer kopiert: Die Server können verschlüsselte Daten nicht direkt austauschen.</translation>
    </message>
    <message>
        <source>Could not create a temporary file in &apos;%1&apos; for &apos;%2&apos;.</source>
        <translation>In &apos;%1&apos; konnte keine temporäre Datei für &apos;%2&apos; angelegt werden.</translation>
    </message>
</context>
<context>
    <name>OverwriteDialog</name>
    <message>
        <source>Re&amp;name</source>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>This file already exists.
What you would like to do?</source>
        <translation>Diese Datei gibt es schon.
Was möchten Sie tun?</translation>
    </message>
    <message>
        <source>&amp;Recover</source>
        <translation>&amp;Fortsetzen</translation>
    </message>
    <message>
        <source>&amp;Append</source>
        <translation>&amp;Anhängen</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>Ü&amp;berschreiben</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Abbre&amp;chen</translation>
    </message>
    <message>
        <source>Go on from where the existing file ends</source>
        <translation>Dort weitermachen, wo die vorhandene Datei endet</translation>
    </message>
    <message>
        <source>Add the whole file to the end of the existing one</source>
        <translation>Die ganze Datei an das Ende der vorhandenen anhängen</translation>
    </message>
    <message>
        <source>Rename file to:</source>
        <translation>Datei umbenennen in:</translation>
    </message>
    <message>
        <source>Appl&amp;y to all</source>
        <translation>Für all&amp;e übernehmen</translation>
    </message>
    <message>
        <source>Use this choice for every further file of this job that exists already</source>
        <translation>Diese Wahl für jede weitere schon vorhandene Datei dieses Auftrags verwenden</translation>
    </message>
</context>
<context>
    <name>PasswordKeyring</name>
    <message>
        <source>The keyring did not answer.</source>
        <translation>Der Schlüsselbund hat nicht geantwortet.</translation>
    </message>
    <message>
        <source>The keyring is not available.</source>
        <translation>Der Schlüsselbund ist nicht verfügbar.</translation>
    </message>
</context>
<context>
    <name>QorFtp</name>
    <message>
        <source>Are you sure you want to cancel?</source>
        <translation>Wirklich abbrechen?</translation>
    </message>
    <message>
        <source>Already Connected.</source>
        <translation>Schon verbunden.</translation>
    </message>
    <message>
        <source>Login to &apos;%1&apos; failed.

%2</source>
        <translation>Anmeldung an &apos;%1&apos; fehlgeschlagen.

%2</translation>
    </message>
    <message>
        <source>Not Connected.</source>
        <translation>Nicht verbunden.</translation>
    </message>
    <message>
        <source>Directory change to &apos;%1&apos; failed.

%2</source>
        <translation>Wechsel in den Ordner &apos;%1&apos; fehlgeschlagen.

%2</translation>
    </message>
    <message>
        <source>Dir command to &apos;%1&apos; failed.

%2</source>
        <translation>Auflisten von &apos;%1&apos; fehlgeschlagen.

%2</translation>
    </message>
    <message>
        <source>Change file permisions failed for &apos;%1&apos;

%2</source>
        <translation>Ändern der Dateiberechtigungen von &apos;%1&apos; fehlgeschlagen.

%2</translation>
    </message>
    <message>
        <source>Delete file &apos;%1&apos; failed.

%2</source>
        <translation>Löschen der Datei &apos;%1&apos; fehlgeschlagen.

%2</translation>
    </message>
    <message>
        <source>Make directory &apos;%1&apos; failed.

%2</source>
        <translation>Anlegen des Ordners &apos;%1&apos; fehlgeschlagen.

%2</translation>
    </message>
    <message>
        <source>Rename file &apos;%1&apos; failed.

%2</source>
        <translation>Umbenennen der Datei &apos;%1&apos; fehlgeschlagen.

%2</translation>
    </message>
    <message>
        <source>Connection closed by the server.</source>
        <translation>Der Server hat die Verbindung geschlossen.</translation>
    </message>
    <message>
        <source>The command &apos;%1&apos; holds a line break and was not sent.</source>
        <translation>Der Befehl &apos;%1&apos; enthält einen Zeilenumbruch und wurde nicht gesendet.</translation>
    </message>
    <message>
        <source>The server sent a reply line longer than 4096 bytes; the connection was closed.</source>
        <translation>Der Server hat eine Antwortzeile mit mehr als 4096 Bytes gesendet; die Verbindung wurde geschlossen.</translation>
    </message>
    <message>
        <source>The server sent a reply longer than 1 MiB; the connection was closed.</source>
        <translation>Der Server hat eine Antwort mit mehr als 1 MiB gesendet; die Verbindung wurde geschlossen.</translation>
    </message>
    <message>
        <source>The listing has more than %1 lines and was not read.</source>
        <translation>Die Liste hat mehr als %1 Zeilen und wurde nicht gelesen.</translation>
    </message>
    <message>
        <source>The download ended after %1 of the file&apos;s %2 bytes.</source>
        <translation>Der Download endete nach %1 von %2 Bytes der Datei.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; does not offer encryption, so the user name and password were not sent.

%2</source>
        <translation>&apos;%1&apos; bietet keine Verschlüsselung an, daher wurden Benutzername und Kennwort nicht gesendet.

%2</translation>
    </message>
    <message>
        <source>The encrypted connection to &apos;%1&apos; failed: %2</source>
        <translation>Die verschlüsselte Verbindung zu &apos;%1&apos; ist fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>The certificate of &apos;%1&apos; is not trusted, so the connection was closed.

%2</source>
        <translation>Dem Zertifikat von &apos;%1&apos; wird nicht vertraut, daher wurde die Verbindung geschlossen.

%2</translation>
    </message>
    <message>
        <source>&apos;%1&apos; would not encrypt its data connections, so the connection was closed.

%2</source>
        <translation>&apos;%1&apos; wollte seine Datenverbindungen nicht verschlüsseln, daher wurde die Verbindung geschlossen.

%2</translation>
    </message>
    <message numerus="yes">
        <source>The listing has %1 line(s) in a form that could not be read; they are not shown.</source>
        <translation>
            <numerusform>Die Liste hat %1 Zeile in einer Form, die nicht gelesen werden konnte; sie wird nicht angezeigt.</numerusform>
            <numerusform>Die Liste hat %1 Zeilen in einer Form, die nicht gelesen werden konnte; sie werden nicht angezeigt.</numerusform>
        </translation>
    </message>
    <message>
        <source>Connection failed</source>
        <translation>Verbindung fehlgeschlagen</translation>
    </message>
    <message>
        <source>No command to send</source>
        <translation>Kein Befehl zum Senden</translation>
    </message>
    <message>
        <source>Downloading:</source>
        <translation>Herunterladen:</translation>
    </message>
    <message>
        <source>Uploading:</source>
        <translation>Hochladen:</translation>
    </message>
</context>
<context>
    <name>QtFtpUi</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>QtInteraction</name>
    <message>
        <source>Tarvo Script Files (*.ftp)</source>
        <translation>Tarvo-Skriptdateien (*.ftp)</translation>
    </message>
    <message>
        <source>All (*)</source>
        <translation>Alle (*)</translation>
    </message>
</context>
<context>
    <name>ScriptEditorDialog</name>
    <message>
        <source>&amp;Download</source>
        <translation>He&amp;runterladen</translation>
    </message>
    <message>
        <source>Select where to download the file:</source>
        <translation>Wählen, wohin die Datei heruntergeladen wird:</translation>
    </message>
    <message>
        <source>&amp;Upload</source>
        <translation>&amp;Hochladen</translation>
    </message>
    <message>
        <source>Select where to upload the file:</source>
        <translation>Wählen, wohin die Datei hochgeladen wird:</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="vanished">&amp;Löschen</translation>
    </message>
    <message>
        <source>Nothing to select</source>
        <translation>Nichts auszuwählen</translation>
    </message>
    <message>
        <source>&amp;Transfer</source>
        <translation>Ü&amp;bertragen</translation>
    </message>
    <message>
        <source>Select where to transfer the file:</source>
        <translation>Wählen, wohin die Datei übertragen wird:</translation>
    </message>
    <message>
        <source>&amp;Append</source>
        <translation>Anh&amp;ängen</translation>
    </message>
    <message>
        <source>Select where to append the file:</source>
        <translation>Wählen, wo die Datei angehängt wird:</translation>
    </message>
    <message>
        <source>ChMod</source>
        <translation>ChMod</translation>
    </message>
    <message>
        <source>Select the new file permissions:</source>
        <translation>Die neuen Dateiberechtigungen wählen:</translation>
    </message>
    <message>
        <source>Script</source>
        <translation>Skript</translation>
    </message>
    <message>
        <source>Select File(s):</source>
        <translation>Datei(en) wählen:</translation>
    </message>
    <message>
        <source>Operation:</source>
        <translation>Vorgang:</translation>
    </message>
    <message>
        <source>Owner:</source>
        <translation>Besitzer:</translation>
    </message>
    <message>
        <source>Group:</source>
        <translation>Gruppe:</translation>
    </message>
    <message>
        <source>Others:</source>
        <translation>Andere:</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Lesen</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Schreiben</translation>
    </message>
    <message>
        <source>Execute</source>
        <translation>Ausführen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Save Script</source>
        <translation>Skript speichern</translation>
    </message>
    <message>
        <source>Tarvo Script Files (*.ftp)</source>
        <translation>Tarvo-Skriptdateien (*.ftp)</translation>
    </message>
    <message>
        <source>All (*)</source>
        <translation>Alle (*)</translation>
    </message>
    <message>
        <source>You must select where to upload %1
Use the right tree view.</source>
        <translation>Wählen Sie, wohin %1 hochgeladen wird.
Nutzen Sie die rechte Baumansicht.</translation>
    </message>
    <message>
        <source>You must select where to download %1 
Use the right tree view.</source>
        <translation>Wählen Sie, wohin %1 heruntergeladen wird.
Nutzen Sie die rechte Baumansicht.</translation>
    </message>
    <message>
        <source>You must select where to transfer %1
Use the right tree view.</source>
        <translation>Wählen Sie, wohin %1 übertragen wird.
Nutzen Sie die rechte Baumansicht.</translation>
    </message>
    <message>
        <source>You must select the file where the %1
will be appended to.
Use the right tree view.</source>
        <translation>Wählen Sie die Datei, an die %1
angehängt wird.
Nutzen Sie die rechte Baumansicht.</translation>
    </message>
    <message>
        <source>Choose the new permissions of %1 with the Owner, Group and Others boxes.</source>
        <translation>Wählen Sie die neuen Berechtigungen von %1 mit den Feldern Besitzer, Gruppe und Andere.</translation>
    </message>
    <message>
        <source>Choose an operation for at least one marked item.</source>
        <translation>Wählen Sie einen Vorgang für mindestens ein markiertes Element.</translation>
    </message>
    <message>
        <source>The script cannot hold &quot;%1&quot;: a script word may not contain a double quote or a line break. Nothing was saved.</source>
        <translation>Das Skript kann &quot;%1&quot; nicht enthalten: Ein Skriptwort darf kein doppeltes Anführungszeichen und keinen Zeilenumbruch enthalten. Es wurde nichts gespeichert.</translation>
    </message>
    <message>
        <source>The line &quot;%1&quot; is longer than a script line may be (%2 bytes). Nothing was saved.</source>
        <translation>Die Zeile &quot;%1&quot; ist länger, als eine Skriptzeile sein darf (%2 Bytes). Es wurde nichts gespeichert.</translation>
    </message>
    <message>
        <source>The script could not be saved as %1: %2</source>
        <translation>Das Skript konnte nicht als %1 gespeichert werden: %2</translation>
    </message>
    <message>
        <source>My Computer</source>
        <translation>Arbeitsplatz</translation>
    </message>
    <message>
        <source>Marked files</source>
        <translation>Markierte Dateien</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>De&amp;lete</source>
        <translation>&amp;Löschen</translation>
    </message>
</context>
<context>
    <name>ServerName</name>
    <message>
        <source>A server needs a name.</source>
        <translation>Ein Server braucht einen Namen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be a server name: the server list keeps a value of its own under it. Please choose another name.</source>
        <translation>&quot;%1&quot; kann kein Servername sein: Die Serverliste führt darunter einen eigenen Wert. Bitte einen anderen Namen wählen.</translation>
    </message>
</context>
<context>
    <name>ServerStore</name>
    <message>
        <source>Could not get the password of the server %1 from the desktop&apos;s keyring: %2</source>
        <translation>Das Kennwort des Servers %1 konnte nicht aus dem Schlüsselbund des Desktops geholt werden: %2</translation>
    </message>
    <message>
        <source>Could not get the passwords of the servers %1 from the desktop&apos;s keyring: %2</source>
        <translation>Die Kennwörter der Server %1 konnten nicht aus dem Schlüsselbund des Desktops geholt werden: %2</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>The settings file %1 is damaged: part of it cannot be read. It could not be set aside, so mend it or move it away before changing settings.</source>
        <translation>Die Einstellungsdatei %1 ist beschädigt: Ein Teil davon kann nicht gelesen werden. Sie konnte nicht beiseitegelegt werden; bitte reparieren oder verschieben Sie sie, bevor Sie Einstellungen ändern.</translation>
    </message>
    <message>
        <source>The settings file %1 was damaged: part of it could not be read. It has been kept as %2, and a new settings file holds what could be read.</source>
        <translation>Die Einstellungsdatei %1 war beschädigt: Ein Teil davon konnte nicht gelesen werden. Sie wurde als %2 aufbewahrt, und eine neue Einstellungsdatei enthält, was gelesen werden konnte.</translation>
    </message>
</context>
<context>
    <name>SplashWindow</name>
    <message>
        <source>FTP client</source>
        <translation>FTP-Programm</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>TraceLog</name>
    <message>
        <source>Sent</source>
        <translation>Gesendet</translation>
    </message>
    <message>
        <source>Received</source>
        <translation>Empfangen</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
</context>
<context>
    <name>TransferData</name>
    <message>
        <source>The folder &apos;%1&apos; cannot be copied onto itself or into a folder inside it.</source>
        <translation>Der Ordner &apos;%1&apos; kann nicht auf sich selbst oder in einen Ordner darin kopiert werden.</translation>
    </message>
</context>
<context>
    <name>TransferProgressWnd</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Bytes:</source>
        <translation>Bytes:</translation>
    </message>
</context>
</TS>
