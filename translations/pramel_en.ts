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
    <name>EditMenu</name>
    <message numerus="yes">
        <source>Mark %Ln Words Known</source>
        <translation>
            <numerusform>Mark %Ln Word Known</numerusform>
            <numerusform>Mark %Ln Words Known</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>GlossServerEditor</name>
    <message numerus="yes">
        <source>%n dictionaries on %1:%2</source>
        <translation>
            <numerusform>%n dictionary on %1:%2</numerusform>
            <numerusform>%n dictionaries on %1:%2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MarkCommands</name>
    <message numerus="yes">
        <source>Mark %Ln words known?</source>
        <translation>
            <numerusform>Mark %Ln word known?</numerusform>
            <numerusform>Mark %Ln words known?</numerusform>
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
    <name>ReviewWindow</name>
    <message numerus="yes">
        <source>%Ln due</source>
        <translation>
            <numerusform>%Ln due</numerusform>
            <numerusform>%Ln due</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 (%2) · %Ln d</source>
        <translation>
            <numerusform>%1 (%2) · %Ln d</numerusform>
            <numerusform>%1 (%2) · %Ln d</numerusform>
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
    <message numerus="yes">
        <source>Pramel was stopped while copying the words of “%1”, and the rest cannot be read: the copy holds %2 of %Ln words.</source>
        <translation>
            <numerusform>Pramel was stopped while copying the words of “%1”, and the rest cannot be read: the copy holds %2 of %Ln word.</numerusform>
            <numerusform>Pramel was stopped while copying the words of “%1”, and the rest cannot be read: the copy holds %2 of %Ln words.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Pramel was stopped while restoring “%1”, and the rest cannot be read: the title holds %2 of the %Ln words restored into it.</source>
        <translation>
            <numerusform>Pramel was stopped while restoring “%1”, and the rest cannot be read: the title holds %2 of the %Ln word restored into it.</numerusform>
            <numerusform>Pramel was stopped while restoring “%1”, and the rest cannot be read: the title holds %2 of the %Ln words restored into it.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Finished the copy “%1”, which was cut short: %Ln more words stored.</source>
        <translation>
            <numerusform>Finished the copy “%1”, which was cut short: %Ln more word stored.</numerusform>
            <numerusform>Finished the copy “%1”, which was cut short: %Ln more words stored.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Finished restoring “%2” into “%1”, which was cut short: %Ln more words stored.</source>
        <translation>
            <numerusform>Finished restoring “%2” into “%1”, which was cut short: %Ln more word stored.</numerusform>
            <numerusform>Finished restoring “%2” into “%1”, which was cut short: %Ln more words stored.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Pramel was stopped while marking the words left in “%1” known, and the rest cannot be read: %2 of the %Ln words are registered.</source>
        <translation>
            <numerusform>Pramel was stopped while marking the words left in “%1” known, and the rest cannot be read: %2 of the %Ln word is registered.</numerusform>
            <numerusform>Pramel was stopped while marking the words left in “%1” known, and the rest cannot be read: %2 of the %Ln words are registered.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Finished marking the words left in “%1” known, which was cut short: %Ln more words stored.</source>
        <translation>
            <numerusform>Finished marking the words left in “%1” known, which was cut short: %Ln more word stored.</numerusform>
            <numerusform>Finished marking the words left in “%1” known, which was cut short: %Ln more words stored.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TriageStatusBar</name>
    <message numerus="yes">
        <source>%Ln different words left</source>
        <translation>
            <numerusform>%Ln different word left</numerusform>
            <numerusform>%Ln different words left</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln words left</source>
        <translation>
            <numerusform>%Ln word left</numerusform>
            <numerusform>%Ln words left</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %Ln different words left</source>
        <translation>
            <numerusform>%1 of %Ln different word left</numerusform>
            <numerusform>%1 of %Ln different words left</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %Ln words left</source>
        <translation>
            <numerusform>%1 of %Ln word left</numerusform>
            <numerusform>%1 of %Ln words left</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln due</source>
        <translation>
            <numerusform>%Ln due</numerusform>
            <numerusform>%Ln due</numerusform>
        </translation>
    </message>
</context>
</TS>
