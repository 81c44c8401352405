<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CConnectDlg</name>
    <message>
        <source>&amp;Encryption:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDownloadAsDlg</name>
    <message>
        <source>Don&apos;t prompt for each file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;More &gt;&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 files (*.%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remaining files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You can rename each file or Highlited and press delete to remove it.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CFileListModel</name>
    <message>
        <source>File Folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CFilePropertiesDlg</name>
    <message>
        <source>File Properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Owner:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Execute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CFileView</name>
    <message>
        <source>Are you sure you want to download
 all the contents of the &apos;%1&apos; directory?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The directory &apos;%1&apos; has no files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move &apos;%1&apos; to the trash?</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Move these %n items to the trash?</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>&apos;%1&apos; cannot be moved to the trash.
Delete it for good?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not delete &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want to delete &apos;%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;%1&apos; cannot be used as a name: it must not hold &quot;/&quot; or be &quot;.&quot; or &quot;..&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not create the folder &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not rename &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not Connect to Clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Available Files to Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter file to Download from %1:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter local Pathname:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter file to Upload to %1:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter remote Pathname:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move to &amp;Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Mark/UnMark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About Tarvo...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Download...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>De&amp;lete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Append</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File &amp;Permissions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;roperties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lar&amp;ge Icons</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;mall Icons</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarvo did not find anything to print.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>C&amp;onnect...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect to the selected server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>De&amp;lete Server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove the selected server from the list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rena&amp;me Server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Give the selected server another name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server P&amp;roperties...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show and change the selected server&apos;s settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy the selected files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add the selected files to the copied ones</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste the copied files into the current folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the selected folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename the selected file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open a copy of the selected file with its program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File &amp;Permissions...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change who may read, write and run the file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;roperties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show what the list knows about the selected file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the user&apos;s manual in the web browser</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COptions</name>
    <message>
        <source>Options:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Customize Servers</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COptionsPage1</name>
    <message>
        <source>Please enter a number between %1 and %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Always show a plus next to remote folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use the mouse wheel on the window that has the focus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use MLSD listings where the server offers them</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send keep-alive commands</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep passwords in the desktop&apos;s keyring</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exact names, sizes and times; turn off for a server whose MLSD listings are wrong.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A command to an idle server now and then, so that it does not close the connection; not after 30 minutes without use.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server passwords go to the keyring (Secret Service) instead of the settings file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Filename:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>As is</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uppercase letters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lowercase letters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drag delay (seconds):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter a number.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COptionsPage2</name>
    <message>
        <source>&amp;Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default download directory:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a default download directory:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPathView</name>
    <message>
        <source>Encrypted connection: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This connection is not encrypted: the password and the files pass in clear text.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>encrypted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not encrypted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want to delete &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server &apos;%1&apos; already exists.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter directory:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Disconnect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>De&amp;lete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;roperties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server closed the connection; it is opened again when you next use this server.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reconnecting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password for %1 on %2:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reconnecting to %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPermissionsDlg</name>
    <message>
        <source>File Permissions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Owner:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Others:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Execute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CServerProperty</name>
    <message>
        <source>Server Properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>General</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Customize Servers</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CServerPropertyPage1</name>
    <message>
        <source>Server:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last Connected:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comment:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CServerPropertyPage2</name>
    <message>
        <source>Passive Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server Address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Account:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encryption:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarvo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want to delete &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CertificateDialog</name>
    <message>
        <source>Server Certificate Changed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Untrusted Server Certificate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Caution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WARNING: the certificate of %1 has CHANGED since you trusted it.
This happens when the server got a new certificate, but it is also what an attacker between you and the server would show. Trust the new certificate only when the server&apos;s administrator confirms the fingerprint below.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The certificate of %1 could not be verified, so Tarvo cannot be sure the connection goes to that server. Trust it only when you know this certificate is your server&apos;s, for example when the fingerprint below is the one its administrator gave you.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Problem:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Issued to:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Issued by:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Valid from:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Valid until:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SHA-256 fingerprint:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trusted before:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A trusted certificate is remembered for this server; Tarvo asks again only when the server shows another one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Trust</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EncryptionChoice</name>
    <message>
        <source>Encryption</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How the connection is encrypted. Plain FTP sends the password and the files in clear; implicit FTP over TLS usually needs port 990.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Require explicit FTP over TLS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Require implicit FTP over TLS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only use plain FTP (insecure)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use explicit FTP over TLS if available</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileProperties</name>
    <message>
        <source> bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> KB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> MB</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileRow</name>
    <message>
        <source>This name is not UTF-8; it is shown as Latin-1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The help page %1 is not installed.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LogPane</name>
    <message>
        <source>Log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protocol log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every command sent to a server and every reply line received</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy the selected lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove every line from the log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show or hide the conversation with the servers</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LogView</name>
    <message>
        <source>Select &amp;All</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OperationNotifier</name>
    <message>
        <source>%1 failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 finished</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The operation ended without an error.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PasswordKeyring</name>
    <message>
        <source>The keyring did not answer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The keyring is not available.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QtInteraction</name>
    <message>
        <source>Tarvo Script Files (*.ftp)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All (*)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ScriptEditorDialog</name>
    <message>
        <source>&amp;Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select where to download the file:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Upload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select where to upload the file:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing to select</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Transfer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select where to transfer the file:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Append</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select where to append the file:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ChMod</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the new file permissions:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Script</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select File(s):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operation:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Owner:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Others:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Execute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Script</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarvo Script Files (*.ftp)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must select where to upload %1
Use the right tree view.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must select where to download %1 
Use the right tree view.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must select where to transfer %1
Use the right tree view.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must select the file where the %1
will be appended to.
Use the right tree view.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the new permissions of %1 with the Owner, Group and Others boxes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose an operation for at least one marked item.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The script cannot hold &quot;%1&quot;: a script word may not contain a double quote or a line break. Nothing was saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The line &quot;%1&quot; is longer than a script line may be (%2 bytes). Nothing was saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The script could not be saved as %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ServerName</name>
    <message>
        <source>A server needs a name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be a server name: the server list keeps a value of its own under it. Please choose another name.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ServerStore</name>
    <message>
        <source>Could not get the password of the server %1 from the desktop&apos;s keyring: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not get the passwords of the servers %1 from the desktop&apos;s keyring: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>The settings file %1 is damaged: part of it cannot be read. It could not be set aside, so mend it or move it away before changing settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The settings file %1 was damaged: part of it could not be read. It has been kept as %2, and a new settings file holds what could be read.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TraceLog</name>
    <message>
        <source>Sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Received</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
