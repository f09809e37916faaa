<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message numerus="yes">
        <source>Saving %Ln words…</source>
        <translation>
            <numerusform>Saving %Ln word…</numerusform>
            <numerusform>Saving %Ln words…</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Backups</name>
    <message numerus="yes">
        <source>The last %n backups are kept in %1.</source>
        <translation>
            <numerusform>The last backup is kept in %1.</numerusform>
            <numerusform>The last %n backups are kept in %1.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PreferenceView</name>
    <message numerus="yes">
        <source>Restoring: %Ln words to store…</source>
        <translation>
            <numerusform>Restoring: %Ln word to store…</numerusform>
            <numerusform>Restoring: %Ln words to store…</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RegisteredWordViewController</name>
    <message numerus="yes">
        <source>%Ln words</source>
        <translation>
            <numerusform>%Ln word</numerusform>
            <numerusform>%Ln words</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SaveFailureAlerts</name>
    <message numerus="yes">
        <source>%1 of %Ln words could not be saved: %2</source>
        <translation>
            <numerusform>%1 of %Ln word could not be saved: %2</numerusform>
            <numerusform>%1 of %Ln words could not be saved: %2</numerusform>
        </translation>
    </message>
</context>
</TS>
