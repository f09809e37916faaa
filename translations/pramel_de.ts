<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Alert</name>
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
    <name>AppDelegate</name>
    <message numerus="yes">
        <source>Saving %Ln words…</source>
        <translation>
            <numerusform>%Ln Wort wird gespeichert…</numerusform>
            <numerusform>%Ln Wörter werden gespeichert…</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>BackupListDialog</name>
    <message>
        <source>Restore Backup</source>
        <translation>Sicherung wiederherstellen</translation>
    </message>
    <message>
        <source>There are no backups yet. Pramel backs the store up before a restore and before a title is deleted, and on File ▸ Back Up Now…</source>
        <translation>Es gibt noch keine Sicherungen. Pramel sichert den Speicher vor jeder Wiederherstellung, bevor ein Titel gelöscht wird, und mit Datei ▸ Jetzt sichern…</translation>
    </message>
    <message>
        <source>Choose a backup to put in place of your titles, texts and words.</source>
        <translation>Wählen Sie eine Sicherung, die an die Stelle Ihrer Titel, Texte und Wörter treten soll.</translation>
    </message>
    <message>
        <source>Backups</source>
        <translation>Sicherungen</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Titles</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Words</source>
        <translation>Wörter</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>None of the backups can be restored. The list says why.</source>
        <translation>Keine der Sicherungen kann wiederhergestellt werden. Die Liste nennt den Grund.</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Grund</translation>
    </message>
    <message>
        <source>by hand</source>
        <translation>von Hand</translation>
    </message>
    <message>
        <source>before restoring %1</source>
        <translation>vor dem Wiederherstellen von %1</translation>
    </message>
    <message>
        <source>before deleting %1</source>
        <translation>vor dem Löschen von %1</translation>
    </message>
    <message>
        <source>before restoring a backup</source>
        <translation>vor dem Wiederherstellen einer Sicherung</translation>
    </message>
</context>
<context>
    <name>Backups</name>
    <message>
        <source>The store was backed up</source>
        <translation>Der Speicher wurde gesichert</translation>
    </message>
    <message>
        <source>The store could not be backed up</source>
        <translation>Der Speicher konnte nicht gesichert werden</translation>
    </message>
    <message>
        <source>The backup cannot be restored</source>
        <translation>Die Sicherung kann nicht wiederhergestellt werden</translation>
    </message>
    <message>
        <source>Restore the backup of %1?</source>
        <translation>Die Sicherung vom %1 wiederherstellen?</translation>
    </message>
    <message>
        <source>Your titles, texts and words are replaced by the backup&apos;s (%1 titles, %2 words). The present store is backed up first.</source>
        <translation>Ihre Titel, Texte und Wörter werden durch die der Sicherung ersetzt (%1 Titel, %2 Wörter). Der jetzige Speicher wird vorher gesichert.</translation>
    </message>
    <message>
        <source>The backup could not be restored</source>
        <translation>Die Sicherung konnte nicht wiederhergestellt werden</translation>
    </message>
    <message>
        <source>Go on without a backup?</source>
        <translation>Ohne Sicherung fortfahren?</translation>
    </message>
    <message numerus="yes">
        <source>The last %n backups are kept in %1.</source>
        <translation>
            <numerusform>Die letzte Sicherung wird in %1 aufbewahrt.</numerusform>
            <numerusform>Die letzten %n Sicherungen werden in %1 aufbewahrt.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ButtonCell</name>
    <message>
        <source>Known</source>
        <translation>Bekannt</translation>
    </message>
    <message>
        <source>Unwanted</source>
        <translation>Unerwünscht</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Später</translation>
    </message>
</context>
<context>
    <name>CustomTableView</name>
    <message>
        <source>cannot decode or play %1</source>
        <translation>%1 kann nicht dekodiert oder abgespielt werden</translation>
    </message>
</context>
<context>
    <name>DeleteBtnCell</name>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
</context>
<context>
    <name>DictClient</name>
    <message>
        <source>The dictionary server did not answer in time</source>
        <translation>Der Wörterbuch-Server hat nicht rechtzeitig geantwortet</translation>
    </message>
    <message>
        <source>The dictionary server&apos;s answer was cut short</source>
        <translation>Die Antwort des Wörterbuch-Servers brach ab</translation>
    </message>
</context>
<context>
    <name>EditMenu</name>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Known</source>
        <translation>Bekannt</translation>
    </message>
    <message>
        <source>Unwanted</source>
        <translation>Unerwünscht</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>%1 rückgängig machen</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>%1 wiederholen</translation>
    </message>
    <message>
        <source>Learn</source>
        <translation>Lernen</translation>
    </message>
    <message>
        <source>Promote to Known</source>
        <translation>Zu „Bekannt“ machen</translation>
    </message>
    <message numerus="yes">
        <source>Mark %Ln Words Known</source>
        <translation>
            <numerusform>%Ln Wort als bekannt markieren</numerusform>
            <numerusform>%Ln Wörter als bekannt markieren</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>GlossLine</name>
    <message>
        <source>Gloss</source>
        <translation>Glosse</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>GlossServerEditor</name>
    <message>
        <source>Dictionary server</source>
        <translation>Wörterbuch-Server</translation>
    </message>
    <message>
        <source>The host of the DICT server the glosses of words are asked of</source>
        <translation>Der Rechner des DICT-Servers, der nach den Glossen der Wörter gefragt wird</translation>
    </message>
    <message>
        <source>Port of the dictionary server</source>
        <translation>Port des Wörterbuch-Servers</translation>
    </message>
    <message>
        <source>The DICT server&apos;s port, 2628 as a rule</source>
        <translation>Der Port des DICT-Servers, in der Regel 2628</translation>
    </message>
    <message>
        <source>Language of the glosses</source>
        <translation>Sprache der Glossen</translation>
    </message>
    <message>
        <source>The language whose dictionary the box beside it chooses</source>
        <translation>Die Sprache, deren Wörterbuch das Feld daneben wählt</translation>
    </message>
    <message>
        <source>Dictionary of the language&apos;s glosses</source>
        <translation>Wörterbuch für die Glossen der Sprache</translation>
    </message>
    <message>
        <source>The server&apos;s dictionary the words of titles in that language are looked up in</source>
        <translation>Das Wörterbuch des Servers, in dem die Wörter der Titel dieser Sprache nachgeschlagen werden</translation>
    </message>
    <message numerus="yes">
        <source>%n dictionaries on %1:%2</source>
        <translation>
            <numerusform>%n Wörterbuch auf %1:%2</numerusform>
            <numerusform>%n Wörterbücher auf %1:%2</numerusform>
        </translation>
    </message>
    <message>
        <source>No dictionary server at %1:%2 (%3): install dictd and a dict-freedict-… package</source>
        <translation>Kein Wörterbuch-Server unter %1:%2 (%3): dictd und ein Paket dict-freedict-… installieren</translation>
    </message>
    <message>
        <source>Asking %1:%2…</source>
        <translation>%1:%2 wird gefragt…</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keines</translation>
    </message>
    <message>
        <source>%1 (not on the server)</source>
        <translation>%1 (nicht auf dem Server)</translation>
    </message>
</context>
<context>
    <name>Glosses</name>
    <message>
        <source>No %1 dictionary on the server: install %2</source>
        <translation>Kein Wörterbuch %1 auf dem Server: %2 installieren</translation>
    </message>
    <message>
        <source>No gloss for “%1”</source>
        <translation>Keine Glosse für „%1“</translation>
    </message>
    <message>
        <source>No dictionary server at %1:%2 (%3): install dictd and %4</source>
        <translation>Kein Wörterbuch-Server unter %1:%2 (%3): dictd und %4 installieren</translation>
    </message>
    <message>
        <source>No dictionary chosen for this language (Preferences)</source>
        <translation>Kein Wörterbuch für diese Sprache gewählt (Einstellungen)</translation>
    </message>
</context>
<context>
    <name>KeyboardShortcutsWindow</name>
    <message>
        <source>Keyboard Shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Aktion</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Tasten</translation>
    </message>
    <message>
        <source> or </source>
        <translation> oder </translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
</context>
<context>
    <name>LearningPane</name>
    <message>
        <source>Meaning</source>
        <translation>Bedeutung</translation>
    </message>
    <message>
        <source>The meaning of the word; Return keeps it, Escape leaves it as it was</source>
        <translation>Die Bedeutung des Wortes; Eingabe behält sie, Escape lässt sie, wie sie war</translation>
    </message>
    <message>
        <source>Edit Meaning</source>
        <translation>Bedeutung bearbeiten</translation>
    </message>
    <message>
        <source>Level %1</source>
        <translation>Stufe %1</translation>
    </message>
    <message>
        <source>Promote to Known</source>
        <translation>Zu „Bekannt“ machen</translation>
    </message>
    <message>
        <source>Drop</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>Stop learning the word: the next split shows it again</source>
        <translation>Das Wort nicht mehr lernen: die nächste Aufteilung zeigt es wieder</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Stufe</translation>
    </message>
</context>
<context>
    <name>LearningWordTableModel</name>
    <message>
        <source>Learning word</source>
        <translation>Lernwort</translation>
    </message>
    <message>
        <source>Level %1 of %2</source>
        <translation>Stufe %1 von %2</translation>
    </message>
    <message>
        <source>How well you know the word; keys 1 to 5 set it</source>
        <translation>Wie gut Sie das Wort kennen; die Tasten 1 bis 5 setzen es</translation>
    </message>
    <message>
        <source>F2 or a double-click writes the meaning</source>
        <translation>F2 oder ein Doppelklick schreibt die Bedeutung</translation>
    </message>
    <message>
        <source>No meaning</source>
        <translation>Keine Bedeutung</translation>
    </message>
    <message>
        <source>Meaning; F2 edits it</source>
        <translation>Bedeutung; F2 bearbeitet sie</translation>
    </message>
    <message>
        <source>No sentence</source>
        <translation>Kein Satz</translation>
    </message>
    <message>
        <source>The sentence the word was learned from</source>
        <translation>Der Satz, aus dem das Wort gelernt wurde</translation>
    </message>
    <message>
        <source>Learned on</source>
        <translation>Gelernt am</translation>
    </message>
    <message>
        <source>Word</source>
        <translation>Wort</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Stufe</translation>
    </message>
    <message>
        <source>Meaning</source>
        <translation>Bedeutung</translation>
    </message>
    <message>
        <source>Sentence</source>
        <translation>Satz</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
</context>
<context>
    <name>LookUp</name>
    <message>
        <source>The address has no {word} in it.</source>
        <translation>Die Adresse enthält kein {word}.</translation>
    </message>
    <message>
        <source>The address is not a web address (https://…).</source>
        <translation>Die Adresse ist keine Webadresse (https://…).</translation>
    </message>
</context>
<context>
    <name>LookUpAddressEditor</name>
    <message>
        <source>Save Addresses</source>
        <translation>Adressen sichern</translation>
    </message>
    <message>
        <source>Defaults</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Look-up language</source>
        <translation>Sprache zum Nachschlagen</translation>
    </message>
    <message>
        <source>No Language</source>
        <translation>Keine Sprache</translation>
    </message>
    <message>
        <source>Look-up addresses</source>
        <translation>Adressen zum Nachschlagen</translation>
    </message>
    <message>
        <source>One web address per line with {word} where the word goes; the first is used by Look Up</source>
        <translation>Eine Webadresse pro Zeile, mit {word} an der Stelle des Wortes; die erste nutzt „Nachschlagen“</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>The language whose look-up addresses are shown</source>
        <translation>Die Sprache, deren Adressen zum Nachschlagen gezeigt werden</translation>
    </message>
    <message>
        <source>Keeps the addresses once every one can be used</source>
        <translation>Sichert die Adressen, sobald jede verwendbar ist</translation>
    </message>
    <message>
        <source>Shows the usual Wiktionary addresses again</source>
        <translation>Zeigt wieder die üblichen Wiktionary-Adressen</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Pramel</source>
        <translation>Pramel</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Words</source>
        <translation>&amp;Wörter</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>&amp;Export CSV…</source>
        <translation>Als CSV &amp;exportieren…</translation>
    </message>
    <message>
        <source>Save the registered words of every title as a CSV file (Ctrl+E)</source>
        <translation>Die registrierten Wörter aller Titel als CSV-Datei speichern (Strg+E)</translation>
    </message>
    <message>
        <source>&amp;Back Up Now…</source>
        <translation>Jetzt &amp;sichern…</translation>
    </message>
    <message>
        <source>Copy the whole store into the backups folder</source>
        <translation>Den ganzen Speicher in den Sicherungsordner kopieren</translation>
    </message>
    <message>
        <source>&amp;Restore Backup…</source>
        <translation>Sicherung &amp;wiederherstellen…</translation>
    </message>
    <message>
        <source>Put a backup in place of your titles, texts and words</source>
        <translation>Eine Sicherung an die Stelle Ihrer Titel, Texte und Wörter setzen</translation>
    </message>
    <message>
        <source>&amp;Open Text…</source>
        <translation>Text ö&amp;ffnen…</translation>
    </message>
    <message>
        <source>Open a text, an EPUB book or subtitles as a new title (Ctrl+O)</source>
        <translation>Einen Text, ein EPUB-Buch oder Untertitel als neuen Titel öffnen (Strg+O)</translation>
    </message>
    <message>
        <source>Preferences…</source>
        <translation>Einstellungen…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Titles</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Show or hide the title list (Ctrl+Shift+L)</source>
        <translation>Die Titelliste zeigen oder ausblenden (Strg+Umschalt+L)</translation>
    </message>
    <message>
        <source>Registered Words</source>
        <translation>Registrierte Wörter</translation>
    </message>
    <message>
        <source>Show or hide the registered words (Ctrl+Shift+R)</source>
        <translation>Die registrierten Wörter zeigen oder ausblenden (Strg+Umschalt+R)</translation>
    </message>
    <message>
        <source>Split Words</source>
        <translation>In Wörter zerlegen</translation>
    </message>
    <message>
        <source>Split</source>
        <translation>Zerlegen</translation>
    </message>
    <message>
        <source>Split the text into words (Ctrl+Shift+S)</source>
        <translation>Den Text in Wörter zerlegen (Strg+Umschalt+S)</translation>
    </message>
    <message>
        <source>&amp;Look Up</source>
        <translation>&amp;Nachschlagen</translation>
    </message>
    <message>
        <source>Open the selected word in a dictionary in the browser (Ctrl+L)</source>
        <translation>Das ausgewählte Wort in einem Wörterbuch im Browser öffnen (Strg+L)</translation>
    </message>
    <message>
        <source>S&amp;peak</source>
        <translation>&amp;Vorlesen</translation>
    </message>
    <message>
        <source>Speak the selected word (Ctrl+T)</source>
        <translation>Das ausgewählte Wort vorlesen (Strg+T)</translation>
    </message>
    <message>
        <source>Export &amp;Learning Words…</source>
        <translation>&amp;Lernwörter exportieren…</translation>
    </message>
    <message>
        <source>Save the learning words as notes that Anki imports (Ctrl+Shift+E)</source>
        <translation>Die Lernwörter als Notizen sichern, die Anki importiert (Strg+Umschalt+E)</translation>
    </message>
</context>
<context>
    <name>MarkCommands</name>
    <message>
        <source>&amp;Mark Words in Text</source>
        <translation>Wörter im Text &amp;markieren</translation>
    </message>
    <message>
        <source>Mark each word of the text by what you know of it: new, learning, unwanted or set aside</source>
        <translation>Jedes Wort des Textes danach markieren, was Sie von ihm wissen: neu, beim Lernen, unerwünscht oder zurückgestellt</translation>
    </message>
    <message>
        <source>Mark &amp;Remaining Words Known…</source>
        <translation>&amp;Übrige Wörter als bekannt markieren…</translation>
    </message>
    <message>
        <source>Register every word still in the split list as known, in one step</source>
        <translation>Jedes Wort, das noch in der Wortliste steht, in einem Schritt als bekannt registrieren</translation>
    </message>
    <message numerus="yes">
        <source>Mark %Ln words known?</source>
        <translation>
            <numerusform>%Ln Wort als bekannt markieren?</numerusform>
            <numerusform>%Ln Wörter als bekannt markieren?</numerusform>
        </translation>
    </message>
    <message>
        <source>Every word still in the split list of “%1” is registered as known. Edit ▸ Undo takes it back.</source>
        <translation>Jedes Wort, das noch in der Wortliste von „%1“ steht, wird als bekannt registriert. Bearbeiten ▸ Rückgängig nimmt es zurück.</translation>
    </message>
    <message>
        <source>Mark Known</source>
        <translation>Als bekannt markieren</translation>
    </message>
</context>
<context>
    <name>PreferenceView</name>
    <message>
        <source>Sort known words:</source>
        <translation>Bekannte Wörter sortieren:</translation>
    </message>
    <message>
        <source>Alphabetically</source>
        <translation>Alphabetisch</translation>
    </message>
    <message>
        <source>By date</source>
        <translation>Nach Datum</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Sprache:</translation>
    </message>
    <message>
        <source>Backup:</source>
        <translation>Sicherung:</translation>
    </message>
    <message>
        <source>Restore from CSV…</source>
        <translation>Aus CSV wiederherstellen…</translation>
    </message>
    <message>
        <source>Sort the known words alphabetically</source>
        <translation>Die bekannten Wörter alphabetisch sortieren</translation>
    </message>
    <message>
        <source>Sort the known words by date</source>
        <translation>Die bekannten Wörter nach Datum sortieren</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Adds the titles and words of an exported CSV file</source>
        <translation>Fügt die Titel und Wörter einer exportierten CSV-Datei hinzu</translation>
    </message>
    <message>
        <source>Choose a CSV file</source>
        <translation>Eine CSV-Datei wählen</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>The file could not be restored.</source>
        <translation>Die Datei konnte nicht wiederhergestellt werden.</translation>
    </message>
    <message>
        <source>Nothing was restored</source>
        <translation>Nichts wurde wiederhergestellt</translation>
    </message>
    <message>
        <source>The file holds no words.</source>
        <translation>Die Datei enthält keine Wörter.</translation>
    </message>
    <message>
        <source>The file could not be read.</source>
        <translation>Die Datei konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>It is not UTF-8 text.</source>
        <translation>Sie ist kein UTF-8-Text.</translation>
    </message>
    <message>
        <source>It holds no lines.</source>
        <translation>Sie enthält keine Zeilen.</translation>
    </message>
    <message>
        <source>It is not text.</source>
        <translation>Sie ist kein Text.</translation>
    </message>
    <message numerus="yes">
        <source>Restoring: %Ln words to store…</source>
        <translation>
            <numerusform>Wiederherstellen: %Ln Wort zu speichern…</numerusform>
            <numerusform>Wiederherstellen: %Ln Wörter zu speichern…</numerusform>
        </translation>
    </message>
    <message>
        <source>Restore from “%1”?</source>
        <translation>Aus „%1“ wiederherstellen?</translation>
    </message>
    <message>
        <source>“%1”</source>
        <translation>„%1“</translation>
    </message>
    <message>
        <source> and %1 more</source>
        <translation> und %1 weitere</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>The language new titles start with</source>
        <translation>Die Sprache, mit der neue Titel beginnen</translation>
    </message>
    <message>
        <source>No Language</source>
        <translation>Keine Sprache</translation>
    </message>
    <message>
        <source>Look up:</source>
        <translation>Nachschlagen:</translation>
    </message>
    <message>
        <source>and more</source>
        <translation>und weitere</translation>
    </message>
    <message>
        <source>Titles added: %1</source>
        <translation>Neue Titel: %1</translation>
    </message>
    <message>
        <source>Words added: %1</source>
        <translation>Neue Wörter: %1</translation>
    </message>
    <message>
        <source>Words skipped as already held: %1</source>
        <translation>Schon vorhandene, übersprungene Wörter: %1</translation>
    </message>
    <message>
        <source>Titles already held, merged into: %1</source>
        <translation>Schon vorhandene Titel, zusammengeführt: %1</translation>
    </message>
    <message>
        <source>Reading “%1”…</source>
        <translation>„%1“ wird gelesen…</translation>
    </message>
    <message>
        <source>Reopen the last title and row</source>
        <translation>Zuletzt gewählten Titel und Zeile wieder öffnen</translation>
    </message>
    <message>
        <source>At start, show the title and the word selected when Pramel last quit</source>
        <translation>Beim Start den Titel und das Wort zeigen, die beim letzten Beenden ausgewählt waren</translation>
    </message>
    <message>
        <source>Start:</source>
        <translation>Start:</translation>
    </message>
    <message>
        <source>Word forms:</source>
        <translation>Wortformen:</translation>
    </message>
    <message>
        <source>Language of the word forms</source>
        <translation>Sprache der Wortformen</translation>
    </message>
    <message>
        <source>The language whose forms of a word the box beside it counts as one or apart</source>
        <translation>Die Sprache, deren Formen eines Wortes das Kästchen daneben als eines oder getrennt zählt</translation>
    </message>
    <message>
        <source>Count the forms of a word as one</source>
        <translation>Die Formen eines Wortes als eines zählen</translation>
    </message>
    <message>
        <source>A word known or being learned leaves its other forms out of the next split</source>
        <translation>Ein bekanntes oder gelerntes Wort lässt seine anderen Formen aus der nächsten Zerlegung heraus</translation>
    </message>
    <message>
        <source>No dictionary of word forms is installed (hunspell-de-de, mecab-ipadic-utf8, …): every form counts apart.</source>
        <translation>Kein Wörterbuch der Wortformen ist installiert (hunspell-de-de, mecab-ipadic-utf8, …): jede Form zählt getrennt.</translation>
    </message>
    <message>
        <source>dictionary: %1</source>
        <translation>Wörterbuch: %1</translation>
    </message>
    <message>
        <source>Glosses:</source>
        <translation>Glossen:</translation>
    </message>
</context>
<context>
    <name>PreferenceViewController</name>
    <message>
        <source>Successfully restored</source>
        <translation>Erfolgreich wiederhergestellt</translation>
    </message>
</context>
<context>
    <name>PreferenceWindowController</name>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Pramel cannot go on and will quit.</source>
        <translation>Pramel kann nicht weiterarbeiten und wird beendet.</translation>
    </message>
    <message>
        <source>The store %1 could not be used:
%2 (%3)</source>
        <translation>Der Speicher %1 konnte nicht benutzt werden:
%2 (%3)</translation>
    </message>
    <message>
        <source>Work through the words of a text and keep the ones you know.</source>
        <translation>Die Wörter eines Textes durcharbeiten und die bekannten behalten.</translation>
    </message>
    <message>
        <source>Texts, EPUB books or subtitles to open as new titles.</source>
        <translation>Texte, EPUB-Bücher oder Untertitel, die als neue Titel geöffnet werden.</translation>
    </message>
    <message>
        <source>Pramel is already running</source>
        <translation>Pramel läuft bereits</translation>
    </message>
    <message>
        <source>Alert Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Enter your name:</source>
        <translation>Geben Sie den Namen ein:</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Pramel cannot write to its data folder %1.</source>
        <translation>Pramel kann nicht in seinen Datenordner %1 schreiben.</translation>
    </message>
</context>
<context>
    <name>RegisteredWordCell</name>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
</context>
<context>
    <name>RegisteredWordTableModel</name>
    <message>
        <source>Registered on</source>
        <translation>Registriert am</translation>
    </message>
    <message>
        <source>Known word</source>
        <translation>Bekanntes Wort</translation>
    </message>
    <message>
        <source>Unwanted word</source>
        <translation>Unerwünschtes Wort</translation>
    </message>
    <message>
        <source>Unwanted</source>
        <translation>Unerwünscht</translation>
    </message>
    <message>
        <source>Known</source>
        <translation>Bekannt</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
</context>
<context>
    <name>RegisteredWordViewController</name>
    <message>
        <source>Known words</source>
        <translation>Bekannte Wörter</translation>
    </message>
    <message>
        <source>The known words of the current title</source>
        <translation>Die bekannten Wörter des aktuellen Titels</translation>
    </message>
    <message>
        <source>Unwanted words</source>
        <translation>Unerwünschte Wörter</translation>
    </message>
    <message>
        <source>The unwanted words of the current title</source>
        <translation>Die unerwünschten Wörter des aktuellen Titels</translation>
    </message>
    <message>
        <source>Known</source>
        <translation>Bekannt</translation>
    </message>
    <message>
        <source>Unwanted</source>
        <translation>Unerwünscht</translation>
    </message>
    <message>
        <source>Shows the known words</source>
        <translation>Zeigt die bekannten Wörter</translation>
    </message>
    <message>
        <source>Shows the unwanted words</source>
        <translation>Zeigt die unerwünschten Wörter</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Search words</source>
        <translation>Wörter suchen</translation>
    </message>
    <message>
        <source>Shows only the registered words that hold what is typed (Ctrl+F)</source>
        <translation>Zeigt nur die registrierten Wörter, die das Eingegebene enthalten (Strg+F)</translation>
    </message>
    <message>
        <source>Ignore accents</source>
        <translation>Akzente ignorieren</translation>
    </message>
    <message>
        <source>The search finds e in é, è and ê</source>
        <translation>Die Suche findet e in é, è und ê</translation>
    </message>
    <message>
        <source>How many words the list shows</source>
        <translation>Wie viele Wörter die Liste zeigt</translation>
    </message>
    <message>
        <source>Shows the words registered in every title of this language</source>
        <translation>Zeigt die Wörter, die in allen Titeln dieser Sprache registriert sind</translation>
    </message>
    <message>
        <source>Words of every %1 title</source>
        <translation>Wörter aller Titel auf %1</translation>
    </message>
    <message numerus="yes">
        <source>%Ln words</source>
        <translation>
            <numerusform>%Ln Wort</numerusform>
            <numerusform>%Ln Wörter</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>Learning words</source>
        <translation>Lernwörter</translation>
    </message>
    <message>
        <source>The words you are learning, of the current title or of every title of its language; keys 1 to 5 set the level, F2 edits the meaning</source>
        <translation>Die Wörter, die Sie lernen, aus dem aktuellen Titel oder allen Titeln seiner Sprache; die Tasten 1 bis 5 setzen die Stufe, F2 bearbeitet die Bedeutung</translation>
    </message>
    <message>
        <source>Learning</source>
        <translation>Lernen</translation>
    </message>
    <message>
        <source>Shows the words you are learning</source>
        <translation>Zeigt die Wörter, die Sie lernen</translation>
    </message>
</context>
<context>
    <name>ReviewCommand</name>
    <message>
        <source>&amp;Review Learning Words…</source>
        <translation>Lernwörter &amp;wiederholen…</translation>
    </message>
    <message>
        <source>Review the learning words that are due, one at a time (Ctrl+R)</source>
        <translation>Die fälligen Lernwörter eines nach dem anderen wiederholen (Strg+R)</translation>
    </message>
</context>
<context>
    <name>ReviewWindow</name>
    <message>
        <source>Show (Space)</source>
        <translation>Zeigen (Leertaste)</translation>
    </message>
    <message>
        <source>Review Learning Words</source>
        <translation>Lernwörter wiederholen</translation>
    </message>
    <message>
        <source>Words to review</source>
        <translation>Zu wiederholende Wörter</translation>
    </message>
    <message>
        <source>The learning words of the current title&apos;s language, or of every language</source>
        <translation>Die Lernwörter der Sprache des aktuellen Titels oder aller Sprachen</translation>
    </message>
    <message>
        <source>Shows the hidden word and its meaning</source>
        <translation>Zeigt das verdeckte Wort und seine Bedeutung</translation>
    </message>
    <message>
        <source>Again</source>
        <translation>Nochmal</translation>
    </message>
    <message>
        <source>Hard</source>
        <translation>Schwer</translation>
    </message>
    <message>
        <source>Good</source>
        <translation>Gut</translation>
    </message>
    <message>
        <source>Easy</source>
        <translation>Leicht</translation>
    </message>
    <message>
        <source>Key %1: the word comes back after the time the button shows</source>
        <translation>Taste %1: das Wort kommt nach der Zeit wieder, die der Knopf zeigt</translation>
    </message>
    <message>
        <source>Words of this title</source>
        <translation>Wörter dieses Titels</translation>
    </message>
    <message>
        <source>Words of %1 titles</source>
        <translation>Wörter der Titel auf %1</translation>
    </message>
    <message>
        <source>Every language</source>
        <translation>Alle Sprachen</translation>
    </message>
    <message numerus="yes">
        <source>%Ln due</source>
        <translation>
            <numerusform>%Ln fällig</numerusform>
            <numerusform>%Ln fällig</numerusform>
        </translation>
    </message>
    <message>
        <source>No learning words are due.</source>
        <translation>Keine Lernwörter sind fällig.</translation>
    </message>
    <message numerus="yes">
        <source>%1 (%2) · %Ln d</source>
        <translation>
            <numerusform>%1 (%2) · %Ln T.</numerusform>
            <numerusform>%1 (%2) · %Ln T.</numerusform>
        </translation>
    </message>
    <message>
        <source>(no meaning written)</source>
        <translation>(keine Bedeutung notiert)</translation>
    </message>
</context>
<context>
    <name>SaveFailureAlerts</name>
    <message>
        <source>Words of a deleted title were not stored</source>
        <translation>Wörter eines gelöschten Titels wurden nicht gespeichert</translation>
    </message>
    <message>
        <source>The words of “%1” were not stored</source>
        <translation>Die Wörter von „%1“ wurden nicht gespeichert</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %Ln words could not be saved: %2</source>
        <translation>
            <numerusform>%1 von %Ln Wort konnte nicht gespeichert werden: %2</numerusform>
            <numerusform>%1 von %Ln Wörtern konnten nicht gespeichert werden: %2</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” is incomplete</source>
        <translation>„%1“ ist unvollständig</translation>
    </message>
    <message numerus="yes">
        <source>Pramel was stopped while copying the words of “%1”, and the rest cannot be read: the copy holds %2 of %Ln words.</source>
        <translation>
            <numerusform>Pramel wurde beendet, während es die Wörter von „%1“ kopierte, und der Rest ist nicht mehr lesbar: Die Kopie enthält %2 von %Ln Wort.</numerusform>
            <numerusform>Pramel wurde beendet, während es die Wörter von „%1“ kopierte, und der Rest ist nicht mehr lesbar: Die Kopie enthält %2 von %Ln Wörtern.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Pramel was stopped while restoring “%1”, and the rest cannot be read: the title holds %2 of the %Ln words restored into it.</source>
        <translation>
            <numerusform>Pramel wurde beendet, während es „%1“ wiederherstellte, und der Rest ist nicht mehr lesbar: Der Titel enthält %2 von %Ln darin wiederhergestelltem Wort.</numerusform>
            <numerusform>Pramel wurde beendet, während es „%1“ wiederherstellte, und der Rest ist nicht mehr lesbar: Der Titel enthält %2 von %Ln darin wiederhergestellten Wörtern.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Finished the copy “%1”, which was cut short: %Ln more words stored.</source>
        <translation>
            <numerusform>Die unterbrochene Kopie „%1“ ist fertig: %Ln weiteres Wort gespeichert.</numerusform>
            <numerusform>Die unterbrochene Kopie „%1“ ist fertig: %Ln weitere Wörter gespeichert.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Finished restoring “%2” into “%1”, which was cut short: %Ln more words stored.</source>
        <translation>
            <numerusform>Die unterbrochene Wiederherstellung von „%2“ in „%1“ ist fertig: %Ln weiteres Wort gespeichert.</numerusform>
            <numerusform>Die unterbrochene Wiederherstellung von „%2“ in „%1“ ist fertig: %Ln weitere Wörter gespeichert.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Pramel was stopped while marking the words left in “%1” known, and the rest cannot be read: %2 of the %Ln words are registered.</source>
        <translation>
            <numerusform>Pramel wurde beendet, während die übrigen Wörter von „%1“ als bekannt markiert wurden, und der Rest kann nicht gelesen werden: %2 von %Ln Wort ist registriert.</numerusform>
            <numerusform>Pramel wurde beendet, während die übrigen Wörter von „%1“ als bekannt markiert wurden, und der Rest kann nicht gelesen werden: %2 von %Ln Wörtern sind registriert.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Finished marking the words left in “%1” known, which was cut short: %Ln more words stored.</source>
        <translation>
            <numerusform>Das unterbrochene Markieren der übrigen Wörter von „%1“ als bekannt ist beendet: %Ln weiteres Wort gespeichert.</numerusform>
            <numerusform>Das unterbrochene Markieren der übrigen Wörter von „%1“ als bekannt ist beendet: %Ln weitere Wörter gespeichert.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Speaker</name>
    <message>
        <source>No speech engine is installed (speech-dispatcher with espeak-ng, or flite).</source>
        <translation>Es ist keine Sprachausgabe installiert (speech-dispatcher mit espeak-ng oder flite).</translation>
    </message>
</context>
<context>
    <name>SpeechWorker</name>
    <message>
        <source>No speech engine is installed (speech-dispatcher with espeak-ng, or flite).</source>
        <translation>Es ist keine Sprachausgabe installiert (speech-dispatcher mit espeak-ng oder flite).</translation>
    </message>
    <message>
        <source>The speech engine %1 has no voice.</source>
        <translation>Die Sprachausgabe %1 hat keine Stimme.</translation>
    </message>
    <message>
        <source>The speech engine %1 cannot speak: %2</source>
        <translation>Die Sprachausgabe %1 kann nicht sprechen: %2</translation>
    </message>
    <message>
        <source>Speech cannot be loaded: %1</source>
        <translation>Die Sprachausgabe kann nicht geladen werden: %1</translation>
    </message>
</context>
<context>
    <name>SplitViewController</name>
    <message>
        <source>Pane divider</source>
        <translation>Bereichsteiler</translation>
    </message>
    <message>
        <source>Drag to change the widths of the panes</source>
        <translation>Ziehen, um die Breiten der Bereiche zu ändern</translation>
    </message>
    <message>
        <source>Text and split words</source>
        <translation>Text und zerlegte Wörter</translation>
    </message>
    <message>
        <source>Registered words</source>
        <translation>Registrierte Wörter</translation>
    </message>
</context>
<context>
    <name>SplitWordCell</name>
    <message>
        <source>Unwanted</source>
        <translation>Unerwünscht</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Known: registers the word as known</source>
        <translation>Bekannt: registriert das Wort als bekannt</translation>
    </message>
    <message>
        <source>Known (Return)</source>
        <translation>Bekannt (Eingabe)</translation>
    </message>
    <message>
        <source>Unwanted (Ctrl+U)</source>
        <translation>Unerwünscht (Strg+U)</translation>
    </message>
    <message>
        <source>Remove until the next split (Ctrl+Return)</source>
        <translation>Bis zum nächsten Zerlegen entfernen (Strg+Eingabe)</translation>
    </message>
    <message>
        <source>Learn</source>
        <translation>Lernen</translation>
    </message>
    <message>
        <source>Learn: keep the word with its sentence to learn it (Ctrl+I)</source>
        <translation>Lernen: das Wort mit seinem Satz behalten, um es zu lernen (Strg+I)</translation>
    </message>
</context>
<context>
    <name>SplitWordTableModel</name>
    <message>
        <source>Return: known; Ctrl+U: unwanted; Ctrl+Return: set aside until the next split</source>
        <translation>Eingabe: bekannt; Strg+U: unerwünscht; Strg+Eingabe: bis zum nächsten Zerlegen zurückstellen</translation>
    </message>
</context>
<context>
    <name>SplittedWordViewController</name>
    <message>
        <source>Split words</source>
        <translation>Zerlegte Wörter</translation>
    </message>
    <message>
        <source>The words of the text still to work through</source>
        <translation>Die Wörter des Textes, die noch durchzuarbeiten sind</translation>
    </message>
    <message>
        <source>Export CSV…</source>
        <translation>Als CSV exportieren…</translation>
    </message>
    <message>
        <source>Save the registered words of every title as a CSV file</source>
        <translation>Die registrierten Wörter aller Titel als CSV-Datei speichern</translation>
    </message>
    <message>
        <source>Divider</source>
        <translation>Teiler</translation>
    </message>
    <message>
        <source>Drag to share the room of text and list</source>
        <translation>Ziehen, um den Platz zwischen Text und Liste aufzuteilen</translation>
    </message>
    <message>
        <source>Splitting the text…</source>
        <translation>Der Text wird zerlegt…</translation>
    </message>
</context>
<context>
    <name>StoreBackup</name>
    <message>
        <source>There is no store to back up yet.</source>
        <translation>Es gibt noch keinen Speicher, der gesichert werden könnte.</translation>
    </message>
    <message>
        <source>The backup folder %1 cannot be written.</source>
        <translation>In den Sicherungsordner %1 kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>The store could not be backed up: %1</source>
        <translation>Der Speicher konnte nicht gesichert werden: %1</translation>
    </message>
    <message>
        <source>The backup could not be written to %1.</source>
        <translation>Die Sicherung konnte nicht in %1 geschrieben werden.</translation>
    </message>
    <message>
        <source>“%1” cannot be read.</source>
        <translation>„%1“ kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>“%1” cannot be read: %2</source>
        <translation>„%1“ kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>“%1” is not a backup of Pramel.</source>
        <translation>„%1“ ist keine Sicherung von Pramel.</translation>
    </message>
    <message>
        <source>“%1” was written by a newer version of Pramel.</source>
        <translation>„%1“ wurde von einer neueren Version von Pramel geschrieben.</translation>
    </message>
    <message>
        <source>“%1” is damaged (%2).</source>
        <translation>„%1“ ist beschädigt (%2).</translation>
    </message>
    <message>
        <source>The backup could not be restored: %1</source>
        <translation>Die Sicherung konnte nicht wiederhergestellt werden: %1</translation>
    </message>
</context>
<context>
    <name>TextOpener</name>
    <message>
        <source>Texts, books and subtitles (*.txt *.text *.epub *.srt *.vtt)</source>
        <translation>Texte, Bücher und Untertitel (*.txt *.text *.epub *.srt *.vtt)</translation>
    </message>
    <message>
        <source>Plain text (*.txt *.text)</source>
        <translation>Reiner Text (*.txt *.text)</translation>
    </message>
    <message>
        <source>EPUB books (*.epub)</source>
        <translation>EPUB-Bücher (*.epub)</translation>
    </message>
    <message>
        <source>Subtitles (*.srt *.vtt)</source>
        <translation>Untertitel (*.srt *.vtt)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Open Text</source>
        <translation>Text öffnen</translation>
    </message>
    <message>
        <source>“%1”: %2</source>
        <translation>„%1“: %2</translation>
    </message>
    <message>
        <source>The file could not be opened.</source>
        <translation>Die Datei konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Some files could not be opened.</source>
        <translation>Einige Dateien konnten nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Language: %1 (from the book)</source>
        <translation>Sprache: %1 (aus dem Buch)</translation>
    </message>
    <message>
        <source>Language: %1 (identified from the text)</source>
        <translation>Sprache: %1 (am Text erkannt)</translation>
    </message>
    <message>
        <source>Language: none (not identified from the text, and the preferences give none)</source>
        <translation>Sprache: keine (am Text nicht erkannt, und die Einstellungen nennen keine)</translation>
    </message>
    <message>
        <source>Language: %1 (the preferences&apos; language)</source>
        <translation>Sprache: %1 (die Sprache der Einstellungen)</translation>
    </message>
</context>
<context>
    <name>TextPane</name>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>The text of the current title; edits are saved</source>
        <translation>Der Text des aktuellen Titels; Änderungen werden gespeichert</translation>
    </message>
    <message>
        <source>Add a title in the list on the left, select it, then paste or type its text here.</source>
        <translation>Fügen Sie links einen Titel hinzu, wählen Sie ihn aus und fügen Sie dann seinen Text hier ein oder tippen Sie ihn.</translation>
    </message>
</context>
<context>
    <name>TitleLanguageDialog</name>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>The language of “%1”:</source>
        <translation>Die Sprache von „%1“:</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Search languages</source>
        <translation>Sprachen suchen</translation>
    </message>
    <message>
        <source>Languages</source>
        <translation>Sprachen</translation>
    </message>
    <message>
        <source>The language to give the title</source>
        <translation>Die Sprache, die der Titel bekommt</translation>
    </message>
    <message>
        <source>No Language</source>
        <translation>Keine Sprache</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Gives the title the highlighted language</source>
        <translation>Gibt dem Titel die markierte Sprache</translation>
    </message>
    <message>
        <source>Leaves the title&apos;s language as it is</source>
        <translation>Lässt die Sprache des Titels, wie sie ist</translation>
    </message>
    <message>
        <source>Finds languages by name, in English, in this program&apos;s language and in their own, and by ISO 639 code; the closest matches come first</source>
        <translation>Findet Sprachen nach Namen, auf Englisch, in der Sprache dieses Programms und in ihrer eigenen, und nach ISO-639-Code; die nächsten Treffer zuerst</translation>
    </message>
</context>
<context>
    <name>TitleListModel</name>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>The caption of the title list</source>
        <translation>Die Überschrift der Titelliste</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>A title; the menu key offers Duplicate, Delete, Edit and Language</source>
        <translation>Ein Titel; die Menütaste bietet Duplizieren, Löschen, Bearbeiten und Sprache</translation>
    </message>
    <message>
        <source>A title in %1; the menu key offers Duplicate, Delete, Edit and Language</source>
        <translation>Ein Titel auf %1; die Menütaste bietet Duplizieren, Löschen, Bearbeiten und Sprache</translation>
    </message>
</context>
<context>
    <name>TitleTableView</name>
    <message>
        <source>Context Menu</source>
        <translation>Kontextmenü</translation>
    </message>
    <message>
        <source>Duplicate</source>
        <translation>Duplizieren</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Language…</source>
        <translation>Sprache…</translation>
    </message>
</context>
<context>
    <name>TitleViewController</name>
    <message>
        <source>Titles</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>The texts you study; files dropped here open as new titles</source>
        <translation>Die Texte, die Sie lernen; hier abgelegte Dateien werden als neue Titel geöffnet</translation>
    </message>
    <message>
        <source>Add a title</source>
        <translation>Einen Titel hinzufügen</translation>
    </message>
    <message>
        <source>Add title</source>
        <translation>Titel hinzufügen</translation>
    </message>
    <message>
        <source>Adds a title to the list, asking for its name</source>
        <translation>Fügt der Liste einen Titel hinzu und fragt nach seinem Namen</translation>
    </message>
    <message>
        <source>Delete Title</source>
        <translation>Titel löschen</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>Sind Sie sicher?</translation>
    </message>
    <message>
        <source>“%1”</source>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>Language…</source>
        <translation>Sprache…</translation>
    </message>
</context>
<context>
    <name>TriageMenu</name>
    <message>
        <source>&amp;Known</source>
        <translation>&amp;Bekannt</translation>
    </message>
    <message>
        <source>Register the selected word as known</source>
        <translation>Das ausgewählte Wort als bekannt registrieren</translation>
    </message>
    <message>
        <source>&amp;Unwanted</source>
        <translation>&amp;Unerwünscht</translation>
    </message>
    <message>
        <source>Register the selected word as unwanted</source>
        <translation>Das ausgewählte Wort als unerwünscht registrieren</translation>
    </message>
    <message>
        <source>L&amp;earn</source>
        <translation>L&amp;ernen</translation>
    </message>
    <message>
        <source>Learn the selected word: keep it with its sentence</source>
        <translation>Das ausgewählte Wort lernen: mit seinem Satz behalten</translation>
    </message>
    <message>
        <source>Set &amp;Aside</source>
        <translation>&amp;Zurückstellen</translation>
    </message>
    <message>
        <source>Set the selected word aside until the next split</source>
        <translation>Das ausgewählte Wort bis zur nächsten Zerlegung zurückstellen</translation>
    </message>
    <message>
        <source>Select a word in the split list first</source>
        <translation>Zuerst ein Wort in der Wortliste auswählen</translation>
    </message>
</context>
<context>
    <name>TriageStatusBar</name>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>counting the text…</source>
        <translation>der Text wird gezählt…</translation>
    </message>
    <message>
        <source>no words in the text</source>
        <translation>keine Wörter im Text</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1 · learning %2 (%3)</source>
        <translation>%1 · lernend %2 (%3)</translation>
    </message>
    <message numerus="yes">
        <source>%Ln different words left</source>
        <translation>
            <numerusform>%Ln verschiedenes Wort übrig</numerusform>
            <numerusform>%Ln verschiedene Wörter übrig</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln words left</source>
        <translation>
            <numerusform>%Ln Wort übrig</numerusform>
            <numerusform>%Ln Wörter übrig</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %Ln different words left</source>
        <translation>
            <numerusform>%1 von %Ln verschiedenen Wort übrig</numerusform>
            <numerusform>%1 von %Ln verschiedenen Wörtern übrig</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %Ln words left</source>
        <translation>
            <numerusform>%1 von %Ln Wort übrig</numerusform>
            <numerusform>%1 von %Ln Wörtern übrig</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 known</source>
        <translation>%1 bekannt</translation>
    </message>
    <message>
        <source>%1 unwanted</source>
        <translation>%1 unerwünscht</translation>
    </message>
    <message>
        <source>%1 being learned</source>
        <translation>%1 im Lernen</translation>
    </message>
    <message>
        <source>%1 for the next split</source>
        <translation>%1 für die nächste Zerlegung</translation>
    </message>
    <message>
        <source>%1 % of the text known</source>
        <translation>%1 % des Textes bekannt</translation>
    </message>
    <message>
        <source>Each word counts once, in every case of it, as the list shows it; the share known is of the running text.</source>
        <translation>Jedes Wort zählt einmal, in jeder Schreibung, wie die Liste es zeigt; der bekannte Anteil bezieht sich auf den fortlaufenden Text.</translation>
    </message>
    <message>
        <source>Each word counts wherever it stands in the text.</source>
        <translation>Jedes Wort zählt überall, wo es im Text steht.</translation>
    </message>
    <message>
        <source>Known, unwanted and being learned: as registered in this title.</source>
        <translation>Bekannt, unerwünscht und im Lernen: wie in diesem Titel registriert.</translation>
    </message>
    <message>
        <source>Known, unwanted and being learned: as registered in any %1 title.</source>
        <translation>Bekannt, unerwünscht und im Lernen: wie in irgendeinem Titel auf %1 registriert.</translation>
    </message>
    <message>
        <source>For the next split: words set aside, other forms of unwanted words, and text not split yet.</source>
        <translation>Für die nächste Zerlegung: zurückgestellte Wörter, andere Formen unerwünschter Wörter und noch nicht zerlegter Text.</translation>
    </message>
    <message>
        <source>Learning: the words being learned in this title or its language, by level.</source>
        <translation>Lernen: die Wörter im Lernen in diesem Titel oder seiner Sprache, nach Stufe.</translation>
    </message>
    <message>
        <source>Registered in this title: %1 known · %2 unwanted</source>
        <translation>In diesem Titel registriert: %1 bekannt · %2 unerwünscht</translation>
    </message>
    <message numerus="yes">
        <source>%Ln due</source>
        <translation>
            <numerusform>%Ln fällig</numerusform>
            <numerusform>%Ln fällig</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>WindowController</name>
    <message>
        <source>More</source>
        <translation>Mehr</translation>
    </message>
    <message>
        <source>Shows the commands the tool bar has no room for</source>
        <translation>Zeigt die Befehle, für die die Werkzeugleiste keinen Platz hat</translation>
    </message>
    <message>
        <source>&amp;One Row per Word</source>
        <translation>&amp;Eine Zeile pro Wort</translation>
    </message>
    <message>
        <source>List each word once, with how often it stands in the text (Ctrl+Shift+O)</source>
        <translation>Jedes Wort einmal aufführen, mit seiner Häufigkeit im Text (Strg+Umschalt+O)</translation>
    </message>
    <message>
        <source>&amp;Titles</source>
        <translation>&amp;Titel</translation>
    </message>
    <message>
        <source>&amp;Add Title…</source>
        <translation>Titel &amp;hinzufügen…</translation>
    </message>
    <message>
        <source>Add a title (Ctrl+Shift+N)</source>
        <translation>Einen Titel hinzufügen (Strg+Umschalt+N)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Keyboard Shortcuts</source>
        <translation>&amp;Tastenkürzel</translation>
    </message>
    <message>
        <source>Split words</source>
        <translation>Zerlegte Wörter</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Titles</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Registered words</source>
        <translation>Registrierte Wörter</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Fenster</translation>
    </message>
    <message>
        <source>Register the selected word as known</source>
        <translation>Das ausgewählte Wort als bekannt registrieren</translation>
    </message>
    <message>
        <source>Register it as unwanted</source>
        <translation>Es als unerwünscht registrieren</translation>
    </message>
    <message>
        <source>Remove it until the next split</source>
        <translation>Es bis zum nächsten Zerlegen entfernen</translation>
    </message>
    <message>
        <source>Undo the last step</source>
        <translation>Den letzten Schritt rückgängig machen</translation>
    </message>
    <message>
        <source>Redo it</source>
        <translation>Ihn wiederholen</translation>
    </message>
    <message>
        <source>Previous or next word (with a click)</source>
        <translation>Vorheriges oder nächstes Wort (mit einem Klick)</translation>
    </message>
    <message>
        <source>First or last word</source>
        <translation>Erstes oder letztes Wort</translation>
    </message>
    <message>
        <source>A page up or down</source>
        <translation>Eine Seite nach oben oder unten</translation>
    </message>
    <message>
        <source>Split the text into words</source>
        <translation>Den Text in Wörter zerlegen</translation>
    </message>
    <message>
        <source>One row per word, or one per occurrence</source>
        <translation>Eine Zeile pro Wort oder pro Vorkommen</translation>
    </message>
    <message>
        <source>Look the selected word up (in either list)</source>
        <translation>Das ausgewählte Wort nachschlagen (in beiden Listen)</translation>
    </message>
    <message>
        <source>Look it up in another dictionary (Words ▸ Look Up In)</source>
        <translation>Es in einem anderen Wörterbuch nachschlagen (Wörter ▸ Nachschlagen in)</translation>
    </message>
    <message>
        <source>Speak the selected word (in either list)</source>
        <translation>Das ausgewählte Wort vorlesen (in beiden Listen)</translation>
    </message>
    <message>
        <source>Go to the list, and back</source>
        <translation>Zur Liste wechseln und zurück</translation>
    </message>
    <message>
        <source>Undo or redo typing (in the text)</source>
        <translation>Tippen rückgängig machen oder wiederholen (im Text)</translation>
    </message>
    <message>
        <source>Open a text, a book or subtitles as a new title</source>
        <translation>Einen Text, ein Buch oder Untertitel als neuen Titel öffnen</translation>
    </message>
    <message>
        <source>Export the registered words as a CSV file</source>
        <translation>Die registrierten Wörter als CSV-Datei exportieren</translation>
    </message>
    <message>
        <source>Add a title</source>
        <translation>Einen Titel hinzufügen</translation>
    </message>
    <message>
        <source>Previous or next title (in the list)</source>
        <translation>Vorheriger oder nächster Titel (in der Liste)</translation>
    </message>
    <message>
        <source>Duplicate, delete or rename it (its menu)</source>
        <translation>Ihn duplizieren, löschen oder umbenennen (sein Menü)</translation>
    </message>
    <message>
        <source>Delete the selected word (in either list)</source>
        <translation>Das ausgewählte Wort löschen (in beiden Listen)</translation>
    </message>
    <message>
        <source>Show or hide the titles</source>
        <translation>Die Titel zeigen oder ausblenden</translation>
    </message>
    <message>
        <source>Show or hide the registered words</source>
        <translation>Die registrierten Wörter zeigen oder ausblenden</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>&amp;Language…</source>
        <translation>&amp;Sprache…</translation>
    </message>
    <message>
        <source>Set or clear the language of the current title</source>
        <translation>Die Sprache des aktuellen Titels setzen oder entfernen</translation>
    </message>
    <message>
        <source>Search the registered words (Escape empties the search)</source>
        <translation>Die registrierten Wörter durchsuchen (Escape leert die Suche)</translation>
    </message>
    <message>
        <source>Learn it: keep it with its sentence</source>
        <translation>Lernen: mit seinem Satz behalten</translation>
    </message>
    <message>
        <source>Export the learning words for Anki</source>
        <translation>Die Lernwörter für Anki exportieren</translation>
    </message>
    <message>
        <source>Set the level of the selected learning word</source>
        <translation>Die Stufe des gewählten Lernworts setzen</translation>
    </message>
    <message>
        <source>Write its meaning</source>
        <translation>Seine Bedeutung schreiben</translation>
    </message>
    <message>
        <source>Promote it to known</source>
        <translation>Es zu „Bekannt“ machen</translation>
    </message>
    <message>
        <source>Drop it (it comes back at the next split)</source>
        <translation>Es verwerfen (es kommt bei der nächsten Aufteilung wieder)</translation>
    </message>
    <message>
        <source>Next or previous new word, and its row</source>
        <translation>Nächstes oder voriges neues Wort, mit seiner Zeile</translation>
    </message>
    <message>
        <source>A new word selected: known or unwanted</source>
        <translation>Ein neues Wort ausgewählt: bekannt oder unerwünscht</translation>
    </message>
    <message>
        <source>A new word selected: learn it or set it aside</source>
        <translation>Ein neues Wort ausgewählt: lernen oder zurückstellen</translation>
    </message>
    <message>
        <source>Review the learning words that are due</source>
        <translation>Die fälligen Lernwörter wiederholen</translation>
    </message>
</context>
<context>
    <name>WordCommands</name>
    <message>
        <source>Look Up In</source>
        <translation>Nachschlagen in</translation>
    </message>
    <message>
        <source>The look-up address %1 was skipped: %2</source>
        <translation>Die Adresse zum Nachschlagen %1 wurde übersprungen: %2</translation>
    </message>
    <message>
        <source>The browser could not be started</source>
        <translation>Der Browser konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>Pramel could not open %1.</source>
        <translation>Pramel konnte %1 nicht öffnen.</translation>
    </message>
    <message>
        <source>Speak the selected word (Ctrl+T)</source>
        <translation>Das ausgewählte Wort vorlesen (Strg+T)</translation>
    </message>
    <message>
        <source>Select a word in either list first</source>
        <translation>Zuerst ein Wort in einer der Listen auswählen</translation>
    </message>
    <message>
        <source>Open the selected word in a dictionary in the browser (Ctrl+L)</source>
        <translation>Das ausgewählte Wort in einem Wörterbuch im Browser öffnen (Strg+L)</translation>
    </message>
    <message>
        <source>Speaking “%1”</source>
        <translation>Spreche „%1“</translation>
    </message>
</context>
<context>
    <name>WordFileExport</name>
    <message>
        <source>Export Registered Words</source>
        <translation>Registrierte Wörter exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>Export failed</source>
        <translation>Export fehlgeschlagen</translation>
    </message>
    <message>
        <source>The words could not be saved to %1.</source>
        <translation>Die Wörter konnten nicht in %1 gespeichert werden.</translation>
    </message>
    <message>
        <source>No learning words yet</source>
        <translation>Noch keine Lernwörter</translation>
    </message>
    <message>
        <source>Learn a word with its row&apos;s Learn button or Ctrl+I first.</source>
        <translation>Lernen Sie zuerst ein Wort mit der Taste „Lernen“ seiner Zeile oder Strg+I.</translation>
    </message>
    <message>
        <source>Anki notes, the word in bold (*.txt)</source>
        <translation>Anki-Notizen, das Wort fett (*.txt)</translation>
    </message>
    <message>
        <source>Anki notes, the word as a cloze (*.txt)</source>
        <translation>Anki-Notizen, das Wort als Lückentext (*.txt)</translation>
    </message>
    <message>
        <source>Export Learning Words</source>
        <translation>Lernwörter exportieren</translation>
    </message>
    <message>
        <source>The learning words could not be saved to %1: %2</source>
        <translation>Die Lernwörter konnten nicht in %1 gesichert werden: %2</translation>
    </message>
</context>
<context>
    <name>importing</name>
    <message>
        <source>The file does not exist.</source>
        <translation>Die Datei existiert nicht.</translation>
    </message>
    <message>
        <source>It is a folder, not a file.</source>
        <translation>Das ist ein Ordner, keine Datei.</translation>
    </message>
    <message>
        <source>The file cannot be read: %1</source>
        <translation>Die Datei kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The file is too large to be a text.</source>
        <translation>Die Datei ist zu groß, um ein Text zu sein.</translation>
    </message>
    <message>
        <source>The file holds no subtitles.</source>
        <translation>Die Datei enthält keine Untertitel.</translation>
    </message>
    <message>
        <source>The book lacks %1.</source>
        <translation>Dem Buch fehlt %1.</translation>
    </message>
    <message>
        <source>The book&apos;s part %1 is too large.</source>
        <translation>Der Teil %1 des Buches ist zu groß.</translation>
    </message>
    <message>
        <source>The book&apos;s part %1 cannot be read: %2</source>
        <translation>Der Teil %1 des Buches kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The book&apos;s part %1 is damaged: %2</source>
        <translation>Der Teil %1 des Buches ist beschädigt: %2</translation>
    </message>
    <message>
        <source>The book&apos;s container is damaged: %1</source>
        <translation>Der Container des Buches ist beschädigt: %1</translation>
    </message>
    <message>
        <source>The book&apos;s container names no package document.</source>
        <translation>Der Container des Buches nennt kein Paketdokument.</translation>
    </message>
    <message>
        <source>The book&apos;s package document is damaged: %1</source>
        <translation>Das Paketdokument des Buches ist beschädigt: %1</translation>
    </message>
    <message>
        <source>The book&apos;s package document lists no chapters.</source>
        <translation>Das Paketdokument des Buches führt keine Kapitel auf.</translation>
    </message>
    <message>
        <source>The file is not an EPUB book (it is no ZIP archive).</source>
        <translation>Die Datei ist kein EPUB-Buch (sie ist kein ZIP-Archiv).</translation>
    </message>
    <message>
        <source>The book cannot be opened: %1</source>
        <translation>Das Buch kann nicht geöffnet werden: %1</translation>
    </message>
    <message>
        <source>The file is not an EPUB book: %1</source>
        <translation>Die Datei ist kein EPUB-Buch: %1</translation>
    </message>
    <message>
        <source>The book&apos;s chapter %1 is damaged: %2</source>
        <translation>Das Kapitel %1 des Buches ist beschädigt: %2</translation>
    </message>
    <message>
        <source>The book is too large.</source>
        <translation>Das Buch ist zu groß.</translation>
    </message>
    <message>
        <source>The book holds no text.</source>
        <translation>Das Buch enthält keinen Text.</translation>
    </message>
    <message>
        <source>The file holds no text (it looks like a binary file).</source>
        <translation>Die Datei enthält keinen Text (sie sieht wie eine Binärdatei aus).</translation>
    </message>
    <message>
        <source>The file is not valid %1 text.</source>
        <translation>Die Datei ist kein gültiger %1-Text.</translation>
    </message>
    <message>
        <source>The file&apos;s encoding (%1) cannot be read.</source>
        <translation>Die Kodierung der Datei (%1) kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The file&apos;s character encoding could not be recognised.</source>
        <translation>Die Zeichenkodierung der Datei konnte nicht erkannt werden.</translation>
    </message>
    <message>
        <source>The file holds a word longer than %1 characters: it is no text to read.</source>
        <translation>Die Datei enthält ein Wort mit mehr als %1 Zeichen: Sie ist kein Text zum Lesen.</translation>
    </message>
</context>
</TS>
