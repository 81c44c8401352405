<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>CFileView</name>
    <message numerus="yes">
        <source>Move these %n items to the trash?</source>
        <translation>
            <numerusform>Move this item to the trash?</numerusform>
            <numerusform>Move these %n items to the trash?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>COperationsDlg</name>
    <message numerus="yes">
        <source>%1 of %n files</source>
        <translation>
            <numerusform>%1 of %n file</numerusform>
            <numerusform>%1 of %n files</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n failed</source>
        <translation>
            <numerusform>%n failed</numerusform>
            <numerusform>%n failed</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FolderJob</name>
    <message numerus="yes">
        <source>%n file(s)</source>
        <translation>
            <numerusform>%n file</numerusform>
            <numerusform>%n files</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n folder(s)</source>
        <translation>
            <numerusform>%n folder</numerusform>
            <numerusform>%n folders</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Not everything in &apos;%1&apos; could be downloaded; %n failed:</source>
        <translation>
            <numerusform>Not everything in &apos;%1&apos; could be downloaded; %n failed:</numerusform>
            <numerusform>Not everything in &apos;%1&apos; could be downloaded; %n failed:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Not everything in &apos;%1&apos; could be uploaded; %n failed:</source>
        <translation>
            <numerusform>Not everything in &apos;%1&apos; could be uploaded; %n failed:</numerusform>
            <numerusform>Not everything in &apos;%1&apos; could be uploaded; %n failed:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Not everything in &apos;%1&apos; could be copied; %n failed:</source>
        <translation>
            <numerusform>Not everything in &apos;%1&apos; could be copied; %n failed:</numerusform>
            <numerusform>Not everything in &apos;%1&apos; could be copied; %n failed:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Not everything in &apos;%1&apos; could be deleted; %n failed:</source>
        <translation>
            <numerusform>Not everything in &apos;%1&apos; could be deleted; %n failed:</numerusform>
            <numerusform>Not everything in &apos;%1&apos; could be deleted; %n failed:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>and %n more</numerusform>
            <numerusform>and %n more</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>QorFtp</name>
    <message numerus="yes">
        <source>The listing has %1 line(s) in a form that could not be read; they are not shown.</source>
        <translation>
            <numerusform>The listing has %1 line in a form that could not be read; it is not shown.</numerusform>
            <numerusform>The listing has %1 lines in a form that could not be read; they are not shown.</numerusform>
        </translation>
    </message>
</context>
</TS>
