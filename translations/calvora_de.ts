<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CellEditor</name>
    <message>
        <source>Cell</source>
        <translation>Zelle</translation>
    </message>
</context>
<context>
    <name>CellHistory</name>
    <message>
        <source>(empty)</source>
        <translation>(leer)</translation>
    </message>
    <message>
        <source>History of the Cell	Ctrl+H</source>
        <translation>Verlauf der Zelle	Strg+H</translation>
    </message>
    <message>
        <source>Changes of the Day</source>
        <translation>Änderungen des Tages</translation>
    </message>
</context>
<context>
    <name>ClientSearch</name>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>&amp;All</source>
        <translation>&amp;Alle</translation>
    </message>
    <message>
        <source>List every page that holds the name</source>
        <translation>Alle Seiten mit diesem Namen auflisten</translation>
    </message>
    <message>
        <source>Client	F4</source>
        <translation>Kunde	F4</translation>
    </message>
    <message>
        <source>Please enter Name to search:</source>
        <translation>Welchen Namen möchten Sie suchen?</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>The page of %1 holds &quot;%2&quot; but cannot be shown. %3 The search goes on with the pages stored before it.</source>
        <translation>Die Seite vom %1 enthält „%2“, kann aber nicht angezeigt werden. %3 Die Suche geht mit den davor gespeicherten Seiten weiter.</translation>
    </message>
    <message>
        <source>Search successful. Continue search?</source>
        <translation>Gefunden. Weitersuchen?</translation>
    </message>
    <message>
        <source>Search complete. Do another search?</source>
        <translation>Suche beendet. Neue Suche?</translation>
    </message>
    <message>
        <source>Search unsuccessful!  Search again with different Name spelling?</source>
        <translation>Nicht gefunden! Mit anderer Schreibweise erneut suchen?</translation>
    </message>
    <message>
        <source>Preparing the search of the pages ...</source>
        <translation>Die Suche in den Seiten wird vorbereitet ...</translation>
    </message>
    <message>
        <source>The client search reads every page instead.</source>
        <translation>Die Kundensuche liest stattdessen jede Seite.</translation>
    </message>
</context>
<context>
    <name>EditCommands</name>
    <message>
        <source>Cut	Ctrl+X</source>
        <translation>Ausschneiden	Strg+X</translation>
    </message>
    <message>
        <source>Copy	Ctrl+C</source>
        <translation>Kopieren	Strg+C</translation>
    </message>
    <message>
        <source>Paste	Ctrl+V</source>
        <translation>Einfügen	Strg+V</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
</context>
<context>
    <name>HitsModel</name>
    <message>
        <source>%1 (removed %2 by %3)</source>
        <translation>%1 (entfernt am %2 von %3)</translation>
    </message>
    <message>
        <source>removed</source>
        <translation>entfernt</translation>
    </message>
    <message>
        <source>today or later</source>
        <translation>heute oder später</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Provider</source>
        <translation>Mitarbeiter</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Eintrag</translation>
    </message>
    <message>
        <source>Today or later</source>
        <translation>Heute oder später</translation>
    </message>
</context>
<context>
    <name>LayoutError</name>
    <message>
        <source>The page cannot be laid out: the setting %1 holds &quot;%2&quot;.</source>
        <translation>Die Seite kann nicht aufgebaut werden: Die Einstellung %1 enthält „%2“.</translation>
    </message>
</context>
<context>
    <name>LayoutVariables</name>
    <message>
        <source> %1 Open</source>
        <comment>the location is open</comment>
        <translation> %1 geöffnet</translation>
    </message>
    <message>
        <source> %1 Closed</source>
        <comment>the location is closed</comment>
        <translation> %1 geschlossen</translation>
    </message>
</context>
<context>
    <name>MemoPanel</name>
    <message>
        <source>Fixed Memo</source>
        <translation>Dauernotiz</translation>
    </message>
    <message>
        <source>Book number</source>
        <translation>Buchnummer</translation>
    </message>
    <message>
        <source>Memo	F6</source>
        <translation>Notiz	F6</translation>
    </message>
    <message>
        <source>Book	F7</source>
        <translation>Buch	F7</translation>
    </message>
    <message>
        <source>Daily Memo</source>
        <translation>Tagesnotiz</translation>
    </message>
    <message numerus="yes">
        <source>The fixed memo or the book number was stored on other desks %n times while this desk stored its own; what was typed here stays in the box, not stored.</source>
        <translation>
            <numerusform>Die Dauernotiz oder die Buchnummer wurde %n-mal an anderen Arbeitsplätzen gespeichert, während dieser Arbeitsplatz seine eigene speicherte; das hier Eingegebene bleibt im Feld, nicht gespeichert.</numerusform>
            <numerusform>Die Dauernotiz oder die Buchnummer wurde %n-mal an anderen Arbeitsplätzen gespeichert, während dieser Arbeitsplatz seine eigene speicherte; das hier Eingegebene bleibt im Feld, nicht gespeichert.</numerusform>
        </translation>
    </message>
    <message>
        <source>The fixed memo and the book number were not stored.</source>
        <translation>Die Dauernotiz und die Buchnummer wurden nicht gespeichert.</translation>
    </message>
</context>
<context>
    <name>MonthCalendar</name>
    <message>
        <source>January</source>
        <translation>Januar</translation>
    </message>
    <message>
        <source>February</source>
        <translation>Februar</translation>
    </message>
    <message>
        <source>March</source>
        <translation>März</translation>
    </message>
    <message>
        <source>April</source>
        <translation>April</translation>
    </message>
    <message>
        <source>May</source>
        <translation>Mai</translation>
    </message>
    <message>
        <source>June</source>
        <translation>Juni</translation>
    </message>
    <message>
        <source>July</source>
        <translation>Juli</translation>
    </message>
    <message>
        <source>August</source>
        <translation>August</translation>
    </message>
    <message>
        <source>September</source>
        <translation>September</translation>
    </message>
    <message>
        <source>October</source>
        <translation>Oktober</translation>
    </message>
    <message>
        <source>November</source>
        <translation>November</translation>
    </message>
    <message>
        <source>December</source>
        <translation>Dezember</translation>
    </message>
    <message>
        <source>Mo</source>
        <translation>Mo</translation>
    </message>
    <message>
        <source>Tu</source>
        <translation>Di</translation>
    </message>
    <message>
        <source>We</source>
        <translation>Mi</translation>
    </message>
    <message>
        <source>Th</source>
        <translation>Do</translation>
    </message>
    <message>
        <source>Fr</source>
        <translation>Fr</translation>
    </message>
    <message>
        <source>Sa</source>
        <translation>Sa</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Weekdays</source>
        <translation>Wochentage</translation>
    </message>
    <message>
        <source>Su</source>
        <translation>So</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Kalender</translation>
    </message>
</context>
<context>
    <name>OfflineDesk</name>
    <message numerus="yes">
        <source>Back online: %n page(s) stored</source>
        <translation>
            <numerusform>Wieder verbunden: %n Seite gespeichert</numerusform>
            <numerusform>Wieder verbunden: %n Seiten gespeichert</numerusform>
        </translation>
    </message>
    <message>
        <source>, %1 asked</source>
        <translation>, %1 nachgefragt</translation>
    </message>
    <message numerus="yes">
        <source>; %n page(s) still kept on this desk</source>
        <translation>
            <numerusform>; %n Seite noch an diesem Platz aufbewahrt</numerusform>
            <numerusform>; %n Seiten noch an diesem Platz aufbewahrt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Offline since %1: the server at %2 does not answer. Pages typed here are kept on this desk and stored when it answers again (%n page(s) waiting).</source>
        <translation>
            <numerusform>Offline seit %1: Der Server auf %2 antwortet nicht. Hier getippte Seiten werden an diesem Platz aufbewahrt und gespeichert, sobald er wieder antwortet (%n Seite wartet).</numerusform>
            <numerusform>Offline seit %1: Der Server auf %2 antwortet nicht. Hier getippte Seiten werden an diesem Platz aufbewahrt und gespeichert, sobald er wieder antwortet (%n Seiten warten).</numerusform>
        </translation>
    </message>
    <message>
        <source>The appointment book on the server was replaced while this desk was offline: a backup was restored there. The page of %1 was typed here meanwhile and is not stored.

Yes stores it over the restored page. No discards it.</source>
        <translation>Das Terminbuch auf dem Server wurde ersetzt, während dieser Platz offline war: Dort wurde eine Sicherung zurückgespielt. Die Seite vom %1 wurde hier in der Zwischenzeit getippt und ist nicht gespeichert.

Ja speichert sie über die zurückgespielte Seite. Nein verwirft sie.</translation>
    </message>
    <message numerus="yes">
        <source>The page of %1 was stored on other desks %n times while this desk stored what it kept offline; it stays kept on this desk.</source>
        <translation>
            <numerusform>Die Seite vom %1 wurde %n-mal an anderen Plätzen gespeichert, während dieser Platz speicherte, was er offline aufbewahrt hatte; sie bleibt an diesem Platz aufbewahrt.</numerusform>
            <numerusform>Die Seite vom %1 wurde %n-mal an anderen Plätzen gespeichert, während dieser Platz speicherte, was er offline aufbewahrt hatte; sie bleibt an diesem Platz aufbewahrt.</numerusform>
        </translation>
    </message>
    <message>
        <source>The appointment book on the server was replaced while this desk was offline: a backup was restored there. The fixed memo and the book number were typed here meanwhile and are not stored.

Yes stores them over the restored ones. No discards them.</source>
        <translation>Das Terminbuch auf dem Server wurde ersetzt, während dieser Platz offline war: Dort wurde eine Sicherung zurückgespielt. Die Dauernotiz und die Buchnummer wurden hier in der Zwischenzeit getippt und sind nicht gespeichert.

Ja speichert sie über die zurückgespielten. Nein verwirft sie.</translation>
    </message>
</context>
<context>
    <name>OtherDesks</name>
    <message>
        <source>The set-up was changed on another desk. The page of %1 is shown again under the new set-up.</source>
        <translation>Die Einrichtung wurde an einem anderen Arbeitsplatz geändert. Die Seite vom %1 wird mit der neuen Einrichtung neu angezeigt.</translation>
    </message>
    <message>
        <source>The appointment book was replaced on another desk: a backup was restored there. The page of %1 holds entries typed here that are not stored.

Yes stores the page as it is on screen over the restored one. No shows the restored page without them.</source>
        <translation>Das Terminbuch wurde an einem anderen Arbeitsplatz ersetzt: Dort wurde eine Sicherung wiederhergestellt. Die Seite vom %1 enthält hier eingegebene Einträge, die nicht gespeichert sind.

Ja speichert die Seite, wie sie angezeigt wird, über die wiederhergestellte. Nein zeigt die wiederhergestellte Seite ohne diese Einträge.</translation>
    </message>
    <message numerus="yes">
        <source>
It was stored on other desks %n times while this desk merged its entries into it; nothing typed here was stored yet.</source>
        <translation>
            <numerusform>
Sie wurde %n-mal an anderen Arbeitsplätzen gespeichert, während dieser Arbeitsplatz seine Einträge einarbeitete; nichts hier Eingegebene ist bisher gespeichert.</numerusform>
            <numerusform>
Sie wurde %n-mal an anderen Arbeitsplätzen gespeichert, während dieser Arbeitsplatz seine Einträge einarbeitete; nichts hier Eingegebene ist bisher gespeichert.</numerusform>
        </translation>
    </message>
    <message>
        <source>The set-up was changed on another desk. The entries typed here on the page of %1 are stored at the times they were typed at, and the page is shown under the new set-up.</source>
        <translation>Die Einrichtung wurde an einem anderen Arbeitsplatz geändert. Die hier eingegebenen Einträge der Seite vom %1 sind zu den Zeiten gespeichert, zu denen sie eingegeben wurden, und die Seite wird mit der neuen Einrichtung angezeigt.</translation>
    </message>
</context>
<context>
    <name>PageCommands</name>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Demo %1</source>
        <translation>Demo %1</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über Calvora</translation>
    </message>
    <message>
        <source>Contents	F1</source>
        <translation>Inhalt	F1</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>Database in use: %1</source>
        <translation>Verwendete Datenbank: %1</translation>
    </message>
    <message>
        <source>Database file in use: %1</source>
        <translation>Verwendete Datenbankdatei: %1</translation>
    </message>
    <message>
        <source>Calvora Version %1.%2.%3.  Please visit Norlyn Software&apos;s Homepage at  %4  to find out about the latest software updates and bug fixes.

%5

%6</source>
        <translation>Calvora Version %1.%2.%3. Aktuelle Updates und Fehlerbehebungen finden Sie auf der Homepage von Norlyn Software unter  %4 .

%5

%6</translation>
    </message>
    <message>
        <source>Language: %1</source>
        <translation>Sprache: %1</translation>
    </message>
    <message>
        <source>Connected to: %1</source>
        <translation>Verbunden mit: %1</translation>
    </message>
</context>
<context>
    <name>PageNavigation</name>
    <message>
        <source>Open	Ctrl+O</source>
        <translation>Öffnen	Strg+O</translation>
    </message>
    <message>
        <source>Exit	F12</source>
        <translation>Beenden	F12</translation>
    </message>
    <message>
        <source>Status	F8</source>
        <translation>Status	F8</translation>
    </message>
    <message>
        <source>Month	F9</source>
        <translation>Monat	F9</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Please enter Date of Page to open in shortdate format: (e.g. 11/11/99, 1-1-00)</source>
        <translation>Geben Sie das Datum der Seite im kurzen Datumsformat ein (z. B. 11.11.99 oder 1.1.00):</translation>
    </message>
    <message>
        <source>Search Date</source>
        <translation>Seite öffnen</translation>
    </message>
    <message>
        <source>Date entered is an invalid date or entered in the wrong format.</source>
        <translation>Das eingegebene Datum ist ungültig oder hat das falsche Format.</translation>
    </message>
</context>
<context>
    <name>PrintPanel</name>
    <message>
        <source>Print panel</source>
        <translation>Druckbereich</translation>
    </message>
    <message>
        <source>Print All</source>
        <translation>Alle drucken</translation>
    </message>
    <message>
        <source>Print Column No. ( Range 1 to 16 )</source>
        <translation>Spalte Nr. drucken ( 1 bis 16 )</translation>
    </message>
    <message>
        <source>Column number</source>
        <translation>Spaltennummer</translation>
    </message>
    <message>
        <source>Press  F11  to print</source>
        <translation>Drucken mit  F11</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>P&amp;review</source>
        <translation>Vo&amp;rschau</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Print Column No. ( 1 to %1 )</source>
        <translation>Spalte Nr. drucken ( 1 bis %1 )</translation>
    </message>
    <message>
        <source>Appointment Schedule %1</source>
        <translation>Terminplan %1</translation>
    </message>
    <message>
        <source>%1. Retry?</source>
        <translation>%1. Erneut versuchen?</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>Druckvorschau</translation>
    </message>
</context>
<context>
    <name>QPrinterTarget</name>
    <message>
        <source>No printer is installed on this system</source>
        <translation>Auf diesem System ist kein Drucker eingerichtet</translation>
    </message>
    <message>
        <source>The file %1 cannot be written</source>
        <translation>Die Datei %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>The printer %1 cannot be reached</source>
        <translation>Der Drucker %1 ist nicht erreichbar</translation>
    </message>
    <message>
        <source>The printer reported an error at the end of the document</source>
        <translation>Der Drucker hat am Ende des Dokuments einen Fehler gemeldet</translation>
    </message>
    <message>
        <source>The file %1 could not be written in full; the disk may be full</source>
        <translation>Die Datei %1 konnte nicht vollständig geschrieben werden; der Datenträger ist vielleicht voll</translation>
    </message>
    <message>
        <source>The printer reported an error at the start of page %1</source>
        <translation>Der Drucker hat zu Beginn von Seite %1 einen Fehler gemeldet</translation>
    </message>
</context>
<context>
    <name>bookconf</name>
    <message>
        <source>it is not an INI file</source>
        <translation>sie ist keine INI-Datei</translation>
    </message>
    <message>
        <source>it cannot be read or written</source>
        <translation>sie kann nicht gelesen oder geschrieben werden</translation>
    </message>
    <message>
        <source>The settings file %1 was not read: %2.</source>
        <translation>Die Einstellungsdatei %1 wurde nicht gelesen: %2.</translation>
    </message>
    <message>
        <source>The server named in %1 cannot be used: %2.</source>
        <translation>Der in %1 genannte Server kann nicht verwendet werden: %2.</translation>
    </message>
    <message>
        <source>The server named in %1 carries a password. Calvora does not take passwords from its files: remove it from there and keep it in ~/.pgpass, or type it when asked.</source>
        <translation>Der in %1 genannte Server enthält ein Passwort. Calvora übernimmt keine Passwörter aus seinen Dateien: Entfernen Sie es dort und hinterlegen Sie es in ~/.pgpass, oder geben Sie es ein, wenn Calvora danach fragt.</translation>
    </message>
    <message>
        <source>The connection string is not valid: %1.</source>
        <translation>Die Verbindungsangabe ist ungültig: %1.</translation>
    </message>
    <message>
        <source>The connection string holds a password. Calvora never stores one: keep it in ~/.pgpass, PGPASSWORD or a PGSERVICE entry, or type it when the program asks.</source>
        <translation>Die Verbindungsangabe enthält ein Passwort. Calvora speichert nie Passwörter: Hinterlegen Sie es in ~/.pgpass, PGPASSWORD oder einem PGSERVICE-Eintrag, oder geben Sie es ein, wenn das Programm danach fragt.</translation>
    </message>
    <message>
        <source>The settings file %1 could not be written: %2.</source>
        <translation>Die Einstellungsdatei %1 konnte nicht geschrieben werden: %2.</translation>
    </message>
    <message>
        <source>The settings file %1 could not be removed: %2.</source>
        <translation>Die Einstellungsdatei %1 konnte nicht entfernt werden: %2.</translation>
    </message>
</context>
<context>
    <name>commandline</name>
    <message>
        <source>Keeps db.mdb in &lt;folder&gt; (a shared folder, a USB stick) instead of the usual place.</source>
        <translation>Legt db.mdb in &lt;Ordner&gt; ab (ein freigegebener Ordner, ein USB-Stick) statt am üblichen Ort.</translation>
    </message>
    <message>
        <source>folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>The data folder &apos;%1&apos; does not exist.</source>
        <translation>Den Datenordner &apos;%1&apos; gibt es nicht.</translation>
    </message>
    <message>
        <source>Keeps the appointment book on the practice server &lt;conninfo&gt; (a libpq connection string or URI, such as postgresql://calvora@frontdesk/practice), from this start on: it is remembered in calvora.conf in the data folder. Never put a password in it.</source>
        <translation>Führt das Terminbuch ab diesem Start auf dem Praxisserver &lt;Verbindung&gt; (eine libpq-Verbindungsangabe oder URI, etwa postgresql://calvora@empfang/praxis); sie wird in calvora.conf im Datenordner gespeichert. Schreiben Sie nie ein Passwort hinein.</translation>
    </message>
    <message>
        <source>conninfo</source>
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>Keeps the appointment book in the file db.mdb again, from this start on.</source>
        <translation>Führt das Terminbuch ab diesem Start wieder in der Datei db.mdb.</translation>
    </message>
    <message>
        <source>--server and --file choose two places for the book; give one.</source>
        <translation>--server und --file wählen zwei Orte für das Terminbuch; geben Sie nur einen an.</translation>
    </message>
    <message>
        <source>The connection string is not valid: %1.</source>
        <translation>Die Verbindungsangabe ist ungültig: %1.</translation>
    </message>
    <message>
        <source>The connection string holds a password, and Calvora never stores one: keep it in ~/.pgpass, PGPASSWORD or a PGSERVICE entry, or type it when the program asks.</source>
        <translation>Die Verbindungsangabe enthält ein Passwort, und Calvora speichert nie Passwörter: Hinterlegen Sie es in ~/.pgpass, PGPASSWORD oder einem PGSERVICE-Eintrag, oder geben Sie es ein, wenn das Programm danach fragt.</translation>
    </message>
    <message>
        <source>Prints the schedule of &lt;date&gt; (YYYY-MM-DD) into the PDF file given with --pdf, without a window, and ends.</source>
        <translation>Druckt den Terminplan vom &lt;Datum&gt; (JJJJ-MM-TT) ohne Fenster in die mit --pdf angegebene PDF-Datei und endet.</translation>
    </message>
    <message>
        <source>date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>The PDF file --print-day writes.</source>
        <translation>Die PDF-Datei, die --print-day schreibt.</translation>
    </message>
    <message>
        <source>file</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>With --print-day: only provider column &lt;n&gt;.</source>
        <translation>Mit --print-day: nur die Mitarbeiterspalte &lt;n&gt;.</translation>
    </message>
    <message>
        <source>n</source>
        <translation>n</translation>
    </message>
    <message>
        <source>--%1 goes with --print-day.</source>
        <translation>--%1 gehört zu --print-day.</translation>
    </message>
    <message>
        <source>Speaks &lt;language&gt; (%1) for this run, whatever the desktop&apos;s language is.</source>
        <translation>Zeigt das Programm bei diesem Start auf &lt;Sprache&gt; (%1), gleich welche Sprache der Desktop verwendet.</translation>
    </message>
    <message>
        <source>language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Calvora does not speak the language &apos;%1&apos;; it speaks %2.</source>
        <translation>Die Sprache &apos;%1&apos; kennt Calvora nicht; verfügbar sind %2.</translation>
    </message>
    <message>
        <source>Calvora: an appointment book for professional practices and small business offices.</source>
        <translation>Calvora: ein Terminbuch für Praxen, Kanzleien und kleine Büros.</translation>
    </message>
    <message>
        <source>Shows these options and ends.</source>
        <translation>Zeigt diese Optionen und endet.</translation>
    </message>
    <message>
        <source>Shows the program&apos;s version and ends.</source>
        <translation>Zeigt die Version des Programms und endet.</translation>
    </message>
    <message>
        <source>%1: %2
Try &apos;%1 --help&apos; for the options.</source>
        <translation>%1: %2
Die Optionen zeigt &apos;%1 --help&apos;.</translation>
    </message>
    <message>
        <source>Usage: %1 [options]</source>
        <translation>Aufruf: %1 [Optionen]</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Unerwartetes Argument &apos;%1&apos;.</translation>
    </message>
</context>
<context>
    <name>databaselock</name>
    <message>
        <source>the system gave no reason</source>
        <translation>das System nannte keinen Grund</translation>
    </message>
</context>
<context>
    <name>datafolder</name>
    <message>
        <source>The database %1 could not be copied to %2:
%3.</source>
        <translation>Die Datenbank %1 konnte nicht nach %2 kopiert werden:
%3.</translation>
    </message>
    <message>
        <source>The database %1 could not be copied to %2.</source>
        <translation>Die Datenbank %1 konnte nicht nach %2 kopiert werden.</translation>
    </message>
    <message>
        <source>The data folder %1 could not be made.</source>
        <translation>Der Datenordner %1 konnte nicht angelegt werden.</translation>
    </message>
</context>
<context>
    <name>durablefile</name>
    <message>
        <source>the disk is full</source>
        <translation>der Datenträger ist voll</translation>
    </message>
    <message>
        <source>the disk is full (the user&apos;s quota on it is used up)</source>
        <translation>der Datenträger ist voll (das Kontingent des Benutzers ist ausgeschöpft)</translation>
    </message>
    <message>
        <source>the file is too large for that disk</source>
        <translation>die Datei ist zu groß für diesen Datenträger</translation>
    </message>
    <message>
        <source>the disk took only %1 of %2 bytes; it may be full</source>
        <translation>der Datenträger nahm nur %1 von %2 Bytes auf; er ist vielleicht voll</translation>
    </message>
    <message>
        <source>only %1 of %2 bytes could be read</source>
        <translation>nur %1 von %2 Bytes konnten gelesen werden</translation>
    </message>
    <message>
        <source>what the disk gives back differs from the database from byte %1 on</source>
        <translation>was der Datenträger zurückgibt, weicht ab Byte %1 von der Datenbank ab</translation>
    </message>
</context>
<context>
    <name>frmAppt</name>
    <message>
        <source>Appointments</source>
        <translation>Termine</translation>
    </message>
    <message>
        <source>            F1 Help     F2 Demo     F3                          F4 Search     F5 Refresh     F6 Memo     F7 Book     F8 Status     F9 Month     F10 Year     F11 Print     F12 Exit</source>
        <comment>the key legend: the page lock sits in the gap after F3</comment>
        <translation>            F1 Hilfe     F2 Demo     F3                                F4 Suchen     F5 Neu     F6 Notiz     F7 Buch     F8 Status     F9 Monat     F10 Jahr     F11 Druck     F12 Ende</translation>
    </message>
    <message>
        <source>(never written in %1)</source>
        <comment>a setting that has no value</comment>
        <translation>(nie gespeichert in %1)</translation>
    </message>
    <message>
        <source>&amp;Page</source>
        <translation>&amp;Seite</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Na&amp;vigate</source>
        <translation>Na&amp;vigieren</translation>
    </message>
    <message>
        <source>&amp;Search</source>
        <translation>Su&amp;chen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Changed on another desk: your next store merges</source>
        <translation>An einem anderen Arbeitsplatz geändert: Ihr nächstes Speichern führt zusammen</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>&amp;Today</source>
        <translation>H&amp;eute</translation>
    </message>
    <message>
        <source>Esc</source>
        <comment>the key that goes to today</comment>
        <translation>Esc</translation>
    </message>
    <message>
        <source>Daily Memo</source>
        <translation>Tagesnotiz</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Closed</source>
        <translation>Geschlossen</translation>
    </message>
    <message>
        <source>Function keys</source>
        <translation>Funktionstasten</translation>
    </message>
    <message>
        <source>Page Lock</source>
        <translation>Seitensperre</translation>
    </message>
    <message>
        <source>The settings of the day page are not complete (%1 never stored). Please complete the Setup Page first.</source>
        <translation>Die Einstellungen der Tagesseite sind unvollständig (%1 nie gespeichert). Bitte vervollständigen Sie zuerst die Einrichtungsseite.</translation>
    </message>
    <message>
        <source>the settings</source>
        <comment>never written in ...</comment>
        <translation>den Einstellungen</translation>
    </message>
    <message>
        <source>The database file %1 is read-only: the pages can be read, but nothing typed on them can be stored.</source>
        <translation>Die Datenbankdatei %1 ist schreibgeschützt: Die Seiten können gelesen, aber Eingaben darauf nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>the page&apos;s own layout</source>
        <comment>never written in ...</comment>
        <translation>der eigenen Aufteilung der Seite</translation>
    </message>
    <message>
        <source>The page of %1 was not stored.</source>
        <translation>Die Seite vom %1 wurde nicht gespeichert.</translation>
    </message>
    <message>
        <source>The page of %1 cannot be shown. %2</source>
        <translation>Die Seite vom %1 kann nicht angezeigt werden. %2</translation>
    </message>
    <message>
        <source>%1

Retry stores the page again. Discard leaves without storing the page of %2. Cancel stays on the page.</source>
        <translation>%1

Wiederholen speichert die Seite erneut. Verwerfen verlässt die Seite vom %2, ohne sie zu speichern. Abbrechen bleibt auf der Seite.</translation>
    </message>
    <message>
        <source>The page of %1 was added on another desk.</source>
        <translation>Die Seite vom %1 wurde an einem anderen Arbeitsplatz angelegt.</translation>
    </message>
    <message>
        <source>This desk&apos;s user may only read on %1: the pages can be read, but nothing typed on them can be stored.</source>
        <translation>Der Benutzer dieses Arbeitsplatzes darf auf %1 nur lesen: Die Seiten können gelesen, aber Eingaben darauf nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Status line</source>
        <translation>Statuszeile</translation>
    </message>
    <message>
        <source>%1, not yet on the server</source>
        <translation>%1, noch nicht auf dem Server</translation>
    </message>
</context>
<context>
    <name>frmBackup</name>
    <message numerus="yes">
        <source>%n page(s) of %1 is/are on the server now.</source>
        <translation>
            <numerusform>%n Seite aus %1 ist jetzt auf dem Server.</numerusform>
            <numerusform>%n Seiten aus %1 sind jetzt auf dem Server.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n older row(s) of a date that a newer row already holds was/were left out: the server keeps one page per date, the newest, as the program reads it.</source>
        <translation>
            <numerusform>%n ältere Zeile eines Datums, für das schon eine neuere Zeile vorliegt, wurde übergangen: Der Server führt je Datum eine Seite, die neueste, so wie das Programm sie liest.</numerusform>
            <numerusform>%n ältere Zeilen eines Datums, für das schon eine neuere Zeile vorliegt, wurden übergangen: Der Server führt je Datum eine Seite, die neueste, so wie das Programm sie liest.</numerusform>
        </translation>
    </message>
    <message>
        <source>Back-up /Restore Files</source>
        <translation>Sichern / Wiederherstellen</translation>
    </message>
    <message>
        <source>To back-up files, please specify destination disk drive ( e.g. A: ),  and click Backup Button.</source>
        <translation>Zum Sichern geben Sie das Ziellaufwerk an (z. B. A:) und klicken auf „Sichern“.</translation>
    </message>
    <message>
        <source>Back-up drive or folder</source>
        <translation>Laufwerk oder Ordner für die Sicherung</translation>
    </message>
    <message>
        <source>Choose the back-up folder</source>
        <translation>Ordner für die Sicherung wählen</translation>
    </message>
    <message>
        <source>&amp;BackUp</source>
        <translation>&amp;Sichern</translation>
    </message>
    <message>
        <source>Backing up files to</source>
        <translation>Sichern nach</translation>
    </message>
    <message>
        <source>Files back-up completed successfully.</source>
        <translation>Die Sicherung ist abgeschlossen.</translation>
    </message>
    <message>
        <source>To restore files after hard disk crash or program reinstallation, please specify source disk drive ( e.g. A: ),  and click Restore Button.</source>
        <translation>Zum Wiederherstellen nach einem Festplattenschaden oder einer Neuinstallation geben Sie das Quelllaufwerk an (z. B. A:) und klicken auf „Wiederherstellen“.</translation>
    </message>
    <message>
        <source>Restore drive or folder</source>
        <translation>Laufwerk oder Ordner für die Wiederherstellung</translation>
    </message>
    <message>
        <source>Choose the folder to restore from</source>
        <translation>Ordner für die Wiederherstellung wählen</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>Restoring files to program...</source>
        <translation>Daten werden wiederhergestellt …</translation>
    </message>
    <message>
        <source>Files restored successfully.</source>
        <translation>Die Wiederherstellung ist abgeschlossen.</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Choose a folder (F4)</source>
        <translation>Ordner wählen (F4)</translation>
    </message>
    <message>
        <source>Back up to the folder</source>
        <translation>In diesen Ordner sichern</translation>
    </message>
    <message>
        <source>Restore from the folder</source>
        <translation>Aus diesem Ordner wiederherstellen</translation>
    </message>
    <message>
        <source>%1. Retry?</source>
        <translation>%1. Erneut versuchen?</translation>
    </message>
    <message>
        <source>No drive or folder is given</source>
        <translation>Es ist kein Laufwerk und kein Ordner angegeben</translation>
    </message>
    <message>
        <source>There is no drive %1 on this computer; give the folder of the disk, such as /media/usb</source>
        <translation>Ein Laufwerk %1 gibt es auf diesem Computer nicht; geben Sie den Ordner des Datenträgers an, etwa /media/usb</translation>
    </message>
    <message>
        <source>The drive %1 is not ready or does not exist</source>
        <translation>Das Laufwerk %1 ist nicht bereit oder existiert nicht</translation>
    </message>
    <message>
        <source>The folder %1 cannot be found</source>
        <translation>Der Ordner %1 wurde nicht gefunden</translation>
    </message>
    <message>
        <source>Existing database will be replaced!  Please make sure you have the correct data disk in the source drive. Do you wish to proceed?</source>
        <translation>Die vorhandene Datenbank wird ersetzt! Prüfen Sie, ob der richtige Datenträger im Quelllaufwerk liegt. Möchten Sie fortfahren?</translation>
    </message>
    <message>
        <source>Restore files</source>
        <translation>Wiederherstellen</translation>
    </message>
</context>
<context>
    <name>frmCellHistory</name>
    <message>
        <source>The cell lies outside the page as it is laid out now (it has fewer providers or times than when the text was stored): its texts can be read, not put back.</source>
        <translation>Die Zelle liegt außerhalb der Seite, wie sie jetzt eingeteilt ist (sie hat weniger Behandler oder Zeiten als beim Speichern des Eintrags): Ihre Einträge können gelesen, aber nicht wiederhergestellt werden.</translation>
    </message>
    <message>
        <source>not kept, %1</source>
        <translation>nicht übernommen, %1</translation>
    </message>
    <message>
        <source>History of the Cell</source>
        <translation>Verlauf der Zelle</translation>
    </message>
    <message>
        <source>No change of the cell %1 has been stored.</source>
        <translation>Für die Zelle %1 ist keine Änderung gespeichert.</translation>
    </message>
    <message>
        <source>Earlier texts of the cell %1, newest first:</source>
        <translation>Frühere Einträge der Zelle %1, neueste zuerst:</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Eintrag</translation>
    </message>
    <message>
        <source>Stored</source>
        <translation>Gespeichert</translation>
    </message>
    <message>
        <source>Desk</source>
        <translation>Arbeitsplatz</translation>
    </message>
    <message>
        <source>Earlier texts of the cell %1</source>
        <translation>Frühere Einträge der Zelle %1</translation>
    </message>
    <message>
        <source>before %1</source>
        <translation>vor %1</translation>
    </message>
    <message>
        <source>The page is locked: clear %1 to put a text back.</source>
        <translation>Die Seite ist gesperrt: Heben Sie „%1“ auf, um einen Eintrag wiederherzustellen.</translation>
    </message>
    <message>
        <source>&amp;Put back</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>frmConfigure</name>
    <message>
        <source>Monday</source>
        <translation>Montag</translation>
    </message>
    <message>
        <source>Tuesday</source>
        <translation>Dienstag</translation>
    </message>
    <message>
        <source>Wednesday</source>
        <translation>Mittwoch</translation>
    </message>
    <message>
        <source>Thursday</source>
        <translation>Donnerstag</translation>
    </message>
    <message>
        <source>Friday</source>
        <translation>Freitag</translation>
    </message>
    <message>
        <source>Saturday</source>
        <translation>Samstag</translation>
    </message>
    <message>
        <source>Sunday</source>
        <translation>Sonntag</translation>
    </message>
    <message>
        <source>Mon</source>
        <translation>Mo</translation>
    </message>
    <message>
        <source>Tue</source>
        <translation>Di</translation>
    </message>
    <message>
        <source>Wed</source>
        <translation>Mi</translation>
    </message>
    <message>
        <source>Thu</source>
        <translation>Do</translation>
    </message>
    <message>
        <source>Fri</source>
        <translation>Fr</translation>
    </message>
    <message>
        <source>Sat</source>
        <translation>Sa</translation>
    </message>
    <message>
        <source>Sun</source>
        <translation>So</translation>
    </message>
    <message>
        <source>Configure Page Templates</source>
        <translation>Seitenvorlagen einrichten</translation>
    </message>
    <message>
        <source>Page template</source>
        <translation>Seitenvorlage</translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <translation>&amp;Fertig</translation>
    </message>
    <message>
        <source>Stores this day and shows the next</source>
        <translation>Speichert diesen Tag und zeigt den nächsten</translation>
    </message>
    <message>
        <source>Press  F7</source>
        <translation>Taste  F7</translation>
    </message>
    <message>
        <source>Open or closed on this weekday</source>
        <translation>An diesem Wochentag geöffnet oder geschlossen</translation>
    </message>
    <message>
        <source>Press F8</source>
        <translation>Taste F8</translation>
    </message>
    <message>
        <source>Press F1 for Help</source>
        <translation>Hilfe mit F1</translation>
    </message>
    <message>
        <source>You can use any print character to block out the time periods that a particular person is unavailable for appointments.  Suggested ways are using **** , ==== ,  - - - -   or  ####  to fill in the relevant spaces.  Look at the demo pages for examples. Use your own discretion to make the page look nice!  Please press F1 Key again to turn off this Help message. Thank you.</source>
        <translation>Mit jedem druckbaren Zeichen können Sie die Zeiten sperren, in denen eine Person keine Termine annimmt, zum Beispiel mit **** , ==== ,  - - - -   oder  ####  in den betreffenden Feldern. Beispiele zeigen die Demoseiten. Gestalten Sie die Seite ganz nach Ihrem Geschmack! Mit F1 blenden Sie diesen Hinweis wieder aus.</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>The settings of the pages are not complete (%1 never stored). Please complete the Setup Page first.</source>
        <translation>Die Einstellungen der Seiten sind unvollständig (%1 nie gespeichert). Bitte füllen Sie zuerst die Einrichtungsseite aus.</translation>
    </message>
    <message>
        <source>Please block out the time slots where the person is unavailable for appointments. You can use the right mouse button to perform copy and paste function to save on keystrokes. Remember to press ENTER after each entry!</source>
        <translation>Sperren Sie die Zeiten, in denen die Person keine Termine annimmt. Mit der rechten Maustaste können Sie kopieren und einfügen und so Tipparbeit sparen. Drücken Sie nach jedem Eintrag die EINGABETASTE!</translation>
    </message>
    <message>
        <source>Configure Page</source>
        <translation>Seite einrichten</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Do you wish to review your templates?</source>
        <translation>Möchten Sie Ihre Vorlagen noch einmal durchsehen?</translation>
    </message>
    <message>
        <source>Templates Review?</source>
        <translation>Vorlagen durchsehen?</translation>
    </message>
</context>
<context>
    <name>frmConflicts</name>
    <message>
        <source>Keep theirs</source>
        <translation>Von dort</translation>
    </message>
    <message>
        <source>Keep mine</source>
        <translation>Von hier</translation>
    </message>
    <message>
        <source>T</source>
        <comment>the key in the list that keeps their text</comment>
        <translation>D</translation>
    </message>
    <message>
        <source>M</source>
        <comment>the key in the list that keeps my text</comment>
        <translation>H</translation>
    </message>
    <message>
        <source>Stored on Another Desk</source>
        <translation>An einem anderen Arbeitsplatz gespeichert</translation>
    </message>
    <message>
        <source>The page of %1 was stored on another desk while it was being typed on here. These entries were changed on both desks: choose for each which text the page keeps (in the list: %2 theirs, %3 mine).</source>
        <translation>Die Seite vom %1 wurde an einem anderen Arbeitsplatz gespeichert, während sie hier bearbeitet wurde. Diese Einträge wurden an beiden Arbeitsplätzen geändert: Wählen Sie für jeden, welchen Text die Seite behält (in der Liste: %2 von dort, %3 von hier).</translation>
    </message>
    <message>
        <source>Entries changed on both desks</source>
        <translation>An beiden Arbeitsplätzen geänderte Einträge</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Provider</source>
        <translation>Mitarbeiter</translation>
    </message>
    <message>
        <source>Their text</source>
        <translation>Text von dort</translation>
    </message>
    <message>
        <source>My text</source>
        <translation>Text von hier</translation>
    </message>
    <message>
        <source>Keep</source>
        <comment>the column of the text the page keeps</comment>
        <translation>Behalten</translation>
    </message>
    <message>
        <source>Daily Memo</source>
        <translation>Tagesnotiz</translation>
    </message>
    <message>
        <source>Keep &amp;theirs</source>
        <translation>Von &amp;dort behalten</translation>
    </message>
    <message>
        <source>Keep &amp;mine</source>
        <translation>Von &amp;hier behalten</translation>
    </message>
    <message>
        <source>Keep theirs for &amp;all</source>
        <translation>&amp;Alle von dort</translation>
    </message>
    <message>
        <source>Keep m&amp;ine for all</source>
        <translation>A&amp;lle von hier</translation>
    </message>
    <message>
        <source>&amp;Store</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Abbre&amp;chen</translation>
    </message>
    <message>
        <source>%1 (by %2, %3)</source>
        <translation>%1 (von %2, %3)</translation>
    </message>
    <message>
        <source>Fixed Memo</source>
        <translation>Dauernotiz</translation>
    </message>
    <message>
        <source>Book number</source>
        <translation>Buchnummer</translation>
    </message>
</context>
<context>
    <name>frmDayChanges</name>
    <message>
        <source>%1 (not kept)</source>
        <translation>%1 (nicht übernommen)</translation>
    </message>
    <message>
        <source>closed</source>
        <translation>geschlossen</translation>
    </message>
    <message>
        <source>open</source>
        <translation>geöffnet</translation>
    </message>
    <message>
        <source>Changes of the Day</source>
        <translation>Änderungen des Tages</translation>
    </message>
    <message>
        <source>No change of %1 has been stored.</source>
        <translation>Für %1 ist keine Änderung gespeichert.</translation>
    </message>
    <message>
        <source>Changes of %1, newest first:</source>
        <translation>Änderungen für %1, neueste zuerst:</translation>
    </message>
    <message>
        <source>Stored</source>
        <translation>Gespeichert</translation>
    </message>
    <message>
        <source>Desk</source>
        <translation>Arbeitsplatz</translation>
    </message>
    <message>
        <source>Cell</source>
        <translation>Zelle</translation>
    </message>
    <message>
        <source>Old text</source>
        <translation>Alter Eintrag</translation>
    </message>
    <message>
        <source>New text</source>
        <translation>Neuer Eintrag</translation>
    </message>
    <message>
        <source>Changes of %1</source>
        <translation>Änderungen für %1</translation>
    </message>
    <message>
        <source>Memo</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Closed flag</source>
        <translation>Geschlossen-Kennzeichen</translation>
    </message>
    <message>
        <source>row %1, column %2</source>
        <translation>Zeile %1, Spalte %2</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>frmHelp</name>
    <message>
        <source>Help File</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Help text</source>
        <translation>Hilfetext</translation>
    </message>
</context>
<context>
    <name>frmHits</name>
    <message>
        <source>(never written)</source>
        <translation>(nie gespeichert)</translation>
    </message>
    <message>
        <source>Search Results</source>
        <translation>Suchergebnisse</translation>
    </message>
    <message>
        <source>&quot;%1&quot; stands in %2 on %3.</source>
        <translation>„%1“ steht in %2 auf %3.</translation>
    </message>
    <message numerus="yes">
        <source>%n cell(s)</source>
        <comment>stands in ...</comment>
        <translation>
            <numerusform>%n Zelle</numerusform>
            <numerusform>%n Zellen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n page(s)</source>
        <comment>... on</comment>
        <translation>
            <numerusform>%n Seite</numerusform>
            <numerusform>%n Seiten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n more page(s) hold(s) it but cannot be laid out, so its/their cells are not listed: %1.</source>
        <translation>
            <numerusform>%n weitere Seite enthält den Namen, lässt sich aber nicht aufbauen; ihre Zellen fehlen daher in der Liste: %1.</numerusform>
            <numerusform>%n weitere Seiten enthalten den Namen, lassen sich aber nicht aufbauen; ihre Zellen fehlen daher in der Liste: %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 marks today and later.</source>
        <translation>%1 kennzeichnet heute und später.</translation>
    </message>
    <message numerus="yes">
        <source>%1 marks %n text(s) removed from its/their cell(s) since.</source>
        <translation>
            <numerusform>%1 kennzeichnet einen Eintrag, der inzwischen aus seiner Zelle entfernt wurde.</numerusform>
            <numerusform>%1 kennzeichnet %n Einträge, die inzwischen aus ihren Zellen entfernt wurden.</numerusform>
        </translation>
    </message>
    <message>
        <source>Enter or a double click opens the page.</source>
        <translation>Eingabetaste oder Doppelklick öffnet die Seite.</translation>
    </message>
</context>
<context>
    <name>frmMenu</name>
    <message>
        <source>Main Menu</source>
        <translation>Hauptmenü</translation>
    </message>
    <message>
        <source>1.   Appointments</source>
        <translation>1.   Termine</translation>
    </message>
    <message>
        <source>2.   Setup Page</source>
        <translation>2.   Einrichtung</translation>
    </message>
    <message>
        <source>3.   Customize Templates</source>
        <translation>3.   Vorlagen anpassen</translation>
    </message>
    <message>
        <source>4.   Back-up / Restore Files</source>
        <translation>4.   Sichern / Wiederherstellen</translation>
    </message>
    <message>
        <source>6.   Exit</source>
        <translation>6.   Beenden</translation>
    </message>
    <message>
        <source>&amp;Readme / License Agreement</source>
        <translation>&amp;Liesmich / Lizenzvertrag</translation>
    </message>
    <message>
        <source>Would you like to back-up your files now? Regular files back-up will minimize loss of data in case your hard disk crashes.</source>
        <translation>Möchten Sie Ihre Daten jetzt sichern? Regelmäßige Sicherungen schützen vor Datenverlust, falls die Festplatte ausfällt.</translation>
    </message>
    <message>
        <source>Back-up Files</source>
        <translation>Daten sichern</translation>
    </message>
</context>
<context>
    <name>frmReadme</name>
    <message>
        <source>Readme/Licence Agreement</source>
        <translation>Liesmich / Lizenzvertrag</translation>
    </message>
    <message>
        <source>License Agreement</source>
        <translation>Lizenzvertrag</translation>
    </message>
    <message>
        <source>Readme text</source>
        <translation>Liesmich-Text</translation>
    </message>
    <message>
        <source>Readme</source>
        <translation>Liesmich</translation>
    </message>
    <message>
        <source>License</source>
        <translation>Lizenz</translation>
    </message>
    <message>
        <source>Licence agreement text</source>
        <translation>Text des Lizenzvertrags</translation>
    </message>
    <message>
        <source>Main Menu</source>
        <translation>Hauptmenü</translation>
    </message>
</context>
<context>
    <name>frmSetup</name>
    <message>
        <source>Set-up Page</source>
        <translation>Einrichtung</translation>
    </message>
    <message>
        <source>Please supply the following information to customize the application:</source>
        <translation>Bitte machen Sie die folgenden Angaben, um das Programm einzurichten:</translation>
    </message>
    <message>
        <source>1.  How would you describe your service location?           (e.g. Clinic, Office, Center, Agency)</source>
        <translation>1.  Wie nennen Sie Ihren Standort?           (z. B. Praxis, Büro, Zentrum, Kanzlei)</translation>
    </message>
    <message>
        <source>Service location</source>
        <translation>Standort</translation>
    </message>
    <message>
        <source>2. Time for first appointment  (e.g. 07:30 AM, 08:00 AM ):</source>
        <translation>2. Zeit des ersten Termins  (z. B. 07:30 AM, 08:00 AM):</translation>
    </message>
    <message>
        <source>Hr</source>
        <comment>hours</comment>
        <translation>Std</translation>
    </message>
    <message>
        <source>Min</source>
        <comment>minutes</comment>
        <translation>Min</translation>
    </message>
    <message>
        <source>First appointment, hour</source>
        <translation>Erster Termin, Stunde</translation>
    </message>
    <message>
        <source>First appointment, minutes</source>
        <translation>Erster Termin, Minuten</translation>
    </message>
    <message>
        <source>First appointment, AM or PM</source>
        <translation>Erster Termin, AM oder PM</translation>
    </message>
    <message>
        <source>3. Time for last appointment (e.g. 05:00 PM, 05:30 PM)</source>
        <translation>3. Zeit des letzten Termins  (z. B. 05:00 PM, 05:30 PM):</translation>
    </message>
    <message>
        <source>Last appointment, hour</source>
        <translation>Letzter Termin, Stunde</translation>
    </message>
    <message>
        <source>Last appointment, minutes</source>
        <translation>Letzter Termin, Minuten</translation>
    </message>
    <message>
        <source>Last appointment, AM or PM</source>
        <translation>Letzter Termin, AM oder PM</translation>
    </message>
    <message>
        <source>4.  Time alloted for each appointment in minutes:                (Range: 10 to 240 )</source>
        <translation>4.  Dauer eines Termins in Minuten:                (10 bis 240)</translation>
    </message>
    <message>
        <source>Minutes for each appointment</source>
        <translation>Minuten je Termin</translation>
    </message>
    <message>
        <source>5.  Number of service providers: ( Range: 1 to 16 )</source>
        <translation>5.  Anzahl der Mitarbeiter: (1 bis 16)</translation>
    </message>
    <message>
        <source>6.  Please type in names of service locations and service personnel:-</source>
        <translation>6.  Bitte geben Sie Standorte und Namen der Mitarbeiter ein:</translation>
    </message>
    <message>
        <source>Number of service providers</source>
        <translation>Anzahl der Mitarbeiter</translation>
    </message>
    <message>
        <source>First appointment</source>
        <translation>Erster Termin</translation>
    </message>
    <message>
        <source>Last appointment</source>
        <translation>Letzter Termin</translation>
    </message>
    <message>
        <source>Service sites and names of the providers</source>
        <translation>Standorte und Namen der Mitarbeiter</translation>
    </message>
    <message>
        <source>Okay</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>The stored number of service providers, %1, is out of range (1 to %2). The page shows %3 instead; Okay stores that number.</source>
        <translation>Die gespeicherte Anzahl der Mitarbeiter, %1, liegt außerhalb des Bereichs (1 bis %2). Die Seite zeigt stattdessen %3; OK speichert diese Anzahl.</translation>
    </message>
    <message>
        <source>%1

%2 Okay stores nothing until the stored settings can be read again.</source>
        <translation>%1

%2 OK speichert nichts, bis die gespeicherten Einstellungen wieder gelesen werden können.</translation>
    </message>
    <message>
        <source>The sites and names stay as they are shown.</source>
        <translation>Standorte und Namen bleiben wie angezeigt.</translation>
    </message>
    <message>
        <source>Nothing was reset.</source>
        <translation>Es wurde nichts zurückgesetzt.</translation>
    </message>
    <message>
        <source>Office</source>
        <translation>Praxis</translation>
    </message>
    <message>
        <source>Closing time earlier than Opening time!</source>
        <translation>Der letzte Termin liegt vor dem ersten!</translation>
    </message>
    <message>
        <source>Time Setting Error</source>
        <translation>Fehler bei den Zeiten</translation>
    </message>
    <message>
        <source>The settings were not stored: the day page is still open with a page that could not be stored. Store or discard that page, then press Okay again.</source>
        <translation>Die Einstellungen wurden nicht gespeichert: Die Tagesseite ist noch mit einer Seite offen, die nicht gespeichert werden konnte. Speichern oder verwerfen Sie diese Seite und drücken Sie dann erneut OK.</translation>
    </message>
    <message numerus="yes">
        <source>%n stored page(s) from today on hold(s) entries of its/their own. With the new time of the first appointment or the new slot length, its/their entries will stand at other times.

Do you wish to store the new settings?</source>
        <translation>
            <numerusform>%n gespeicherte Seite ab heute hat eigene Einträge. Mit der neuen Zeit des ersten Termins oder der neuen Termindauer stehen diese Einträge zu anderen Zeiten.

Möchten Sie die neuen Einstellungen speichern?</numerusform>
            <numerusform>%n gespeicherte Seiten ab heute haben eigene Einträge. Mit der neuen Zeit des ersten Termins oder der neuen Termindauer stehen diese Einträge zu anderen Zeiten.

Möchten Sie die neuen Einstellungen speichern?</numerusform>
        </translation>
    </message>
    <message>
        <source>Appointments Will Move</source>
        <translation>Termine verschieben sich</translation>
    </message>
    <message>
        <source>Do you wish to configure page templates for each day of the week?</source>
        <translation>Möchten Sie für jeden Wochentag eine Seitenvorlage einrichten?</translation>
    </message>
    <message>
        <source>Configure Page Template</source>
        <translation>Seitenvorlagen einrichten</translation>
    </message>
</context>
<context>
    <name>frmSplash</name>
    <message>
        <source>Presents</source>
        <translation>präsentiert</translation>
    </message>
    <message>
        <source>for professional practices and small business offices</source>
        <translation>für Praxen, Kanzleien und kleine Büros</translation>
    </message>
    <message>
        <source>Version %1.%2</source>
        <translation>Version %1.%2</translation>
    </message>
    <message>
        <source>Platform: Win95/98/NT</source>
        <translation>Plattform: Win95/98/NT</translation>
    </message>
    <message>
        <source>Company: Norlyn Software</source>
        <translation>Firma: Norlyn Software</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Usage: calvora --print-day YYYY-MM-DD --pdf FILE [--column N]</source>
        <translation>Aufruf: calvora --print-day JJJJ-MM-TT --pdf DATEI [--column N]</translation>
    </message>
    <message>
        <source>Calvora needs a display and none is available; start it under a virtual one with: xvfb-run -a %1</source>
        <translation>Calvora braucht einen Bildschirm, und es ist keiner verfügbar; starten Sie es mit einem virtuellen: xvfb-run -a %1</translation>
    </message>
</context>
<context>
    <name>printday</name>
    <message>
        <source>The date &quot;%1&quot; is not a valid date of the form YYYY-MM-DD.</source>
        <translation>Das Datum „%1“ ist kein gültiges Datum der Form JJJJ-MM-TT.</translation>
    </message>
    <message>
        <source>No PDF file is named: give one with --pdf FILE.</source>
        <translation>Es ist keine PDF-Datei angegeben: Nennen Sie eine mit --pdf DATEI.</translation>
    </message>
    <message>
        <source>The column &quot;%1&quot; is not a provider column number (1, 2, ...).</source>
        <translation>Die Spalte „%1“ ist keine Nummer einer Mitarbeiterspalte (1, 2, …).</translation>
    </message>
    <message>
        <source>(never written)</source>
        <translation>(nie gespeichert)</translation>
    </message>
    <message>
        <source>The page of %1 has no provider columns.</source>
        <translation>Die Seite vom %1 hat keine Mitarbeiterspalten.</translation>
    </message>
    <message>
        <source>The page of %1 has provider columns 1 to %2; there is no column %3.</source>
        <translation>Die Seite vom %1 hat die Mitarbeiterspalten 1 bis %2; eine Spalte %3 gibt es nicht.</translation>
    </message>
    <message>
        <source>Appointment Schedule %1</source>
        <translation>Terminplan %1</translation>
    </message>
</context>
<context>
    <name>schedule</name>
    <message>
        <source>Appointment Schedule:   %1,  %2</source>
        <translation>Terminplan:   %1,  %2</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
</context>
<context>
    <name>screens</name>
    <message>
        <source>This screen is not available yet.</source>
        <translation>Diese Ansicht gibt es noch nicht.</translation>
    </message>
    <message>
        <source>Main Menu</source>
        <translation>Hauptmenü</translation>
    </message>
    <message>
        <source>Appointments</source>
        <translation>Termine</translation>
    </message>
    <message>
        <source>Set-up Page</source>
        <translation>Einrichtung</translation>
    </message>
    <message>
        <source>Configure Page Templates</source>
        <translation>Seitenvorlagen einrichten</translation>
    </message>
    <message>
        <source>Back-up /Restore Files</source>
        <translation>Sichern / Wiederherstellen</translation>
    </message>
    <message>
        <source>Readme/Licence Agreement</source>
        <translation>Liesmich / Lizenzvertrag</translation>
    </message>
    <message>
        <source>Help File</source>
        <translation>Hilfe</translation>
    </message>
</context>
<context>
    <name>serveraddress</name>
    <message>
        <source>out of memory</source>
        <translation>kein Speicher mehr frei</translation>
    </message>
    <message>
        <source>the value of %1 holds a &apos;;&apos;, which the driver cannot pass on</source>
        <translation>der Wert von %1 enthält ein &apos;;&apos;, das der Treiber nicht weitergeben kann</translation>
    </message>
    <message>
        <source>the connection string is empty</source>
        <translation>die Verbindungsangabe ist leer</translation>
    </message>
    <message>
        <source>the server %1</source>
        <translation>dem Server %1</translation>
    </message>
    <message>
        <source>this computer</source>
        <translation>diesem Computer</translation>
    </message>
    <message>
        <source>this computer (socket folder %1)</source>
        <translation>diesem Computer (Socket-Ordner %1)</translation>
    </message>
    <message>
        <source>%1, port %2</source>
        <translation>%1, Port %2</translation>
    </message>
    <message>
        <source>the database of the service %1</source>
        <translation>der Datenbank des Dienstes %1</translation>
    </message>
    <message>
        <source>the database %1 on %2</source>
        <translation>der Datenbank %1 auf %2</translation>
    </message>
    <message>
        <source>%1, as the user %2</source>
        <translation>%1, als Benutzer %2</translation>
    </message>
    <message>
        <source>The connection was refused: is the server running, at that address and port?</source>
        <translation>Die Verbindung wurde abgelehnt: Läuft der Server unter dieser Adresse und diesem Port?</translation>
    </message>
    <message>
        <source>The host %1 is unknown (unknown host): is its name spelt right, and is the network up?</source>
        <translation>Der Rechner %1 ist unbekannt: Ist der Name richtig geschrieben, und ist das Netzwerk verbunden?</translation>
    </message>
    <message>
        <source>The server asks for the password of the user %1, and none was given.</source>
        <translation>Der Server verlangt das Passwort des Benutzers %1, es wurde aber keines angegeben.</translation>
    </message>
    <message>
        <source>The password of the user %1 was refused (wrong password).</source>
        <translation>Das Passwort des Benutzers %1 wurde abgelehnt (falsches Passwort).</translation>
    </message>
    <message>
        <source>The server knows no user %1.</source>
        <translation>Einen Benutzer %1 kennt der Server nicht.</translation>
    </message>
    <message>
        <source>There is no such database %1 on the server.</source>
        <translation>Eine Datenbank %1 gibt es auf dem Server nicht.</translation>
    </message>
    <message>
        <source>The server does not let the user %1 in from this computer.</source>
        <translation>Der Server lässt den Benutzer %1 von diesem Computer aus nicht zu.</translation>
    </message>
    <message>
        <source>The user %1 has no rights on the book&apos;s tables.</source>
        <translation>Der Benutzer %1 hat keine Rechte an den Tabellen des Terminbuchs.</translation>
    </message>
    <message>
        <source>The secure connection (TLS) to the server failed.</source>
        <translation>Die gesicherte Verbindung (TLS) zum Server ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>The server did not answer in time.</source>
        <translation>Der Server hat nicht rechtzeitig geantwortet.</translation>
    </message>
    <message>
        <source>The connection failed.</source>
        <translation>Die Verbindung ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Calvora cannot open the appointment book on %1.

%2

%3</source>
        <translation>Calvora kann das Terminbuch auf %1 nicht öffnen.

%2

%3</translation>
    </message>
    <message>
        <source>Calvora cannot open the appointment book on %1.

It is not a Calvora database: it holds no appointment book (%2). An empty database is filled from a db.mdb with Restore on the back-up screen.</source>
        <translation>Calvora kann das Terminbuch auf %1 nicht öffnen.

Das ist keine Calvora-Datenbank: Sie enthält kein Terminbuch (%2). Eine leere Datenbank füllen Sie aus einer db.mdb mit „Wiederherstellen“ in der Ansicht „Sichern / Wiederherstellen“.</translation>
    </message>
    <message>
        <source>No server of the list takes changes: each one that answered is a standby, which only reads. Is the primary running, or has a standby been promoted?</source>
        <translation>Kein Server der Liste nimmt Änderungen an: Jeder, der geantwortet hat, ist ein Standby-Server, der nur liest. Läuft der Primärserver, oder wurde ein Standby-Server hochgestuft?</translation>
    </message>
    <message>
        <source>The connection string holds a value that libpq does not take.</source>
        <translation>Die Verbindungsangabe enthält einen Wert, den libpq nicht annimmt.</translation>
    </message>
</context>
<context>
    <name>startup</name>
    <message>
        <source>the database %1</source>
        <translation>die Datenbank %1</translation>
    </message>
    <message>
        <source>The server asks for a password for %1.

Password:</source>
        <translation>Der Server verlangt ein Passwort für %1.

Passwort:</translation>
    </message>
    <message>
        <source>%1 The server is used for this run only.</source>
        <translation>%1 Der Server wird nur bei diesem Start verwendet.</translation>
    </message>
    <message>
        <source>%1 The file is used for this run only.</source>
        <translation>%1 Die Datei wird nur bei diesem Start verwendet.</translation>
    </message>
    <message>
        <source>The appointment book is kept in the file %1 again; this desk no longer uses %2.</source>
        <translation>Das Terminbuch wird wieder in der Datei %1 geführt; dieser Arbeitsplatz verwendet %2 nicht mehr.</translation>
    </message>
    <message>
        <source>Calvora is already running on this file.</source>
        <translation>Calvora läuft bereits mit dieser Datei.</translation>
    </message>
    <message>
        <source>Another copy of Calvora is running on the file db.mdb in %1, and this copy cannot lock it: the folder is read-only. You can read the pages, but no change will be stored.</source>
        <translation>Ein anderes Calvora arbeitet mit der Datei db.mdb in %1, und dieses kann sie nicht sperren: Der Ordner ist schreibgeschützt. Sie können die Seiten lesen, aber Änderungen werden nicht gespeichert.</translation>
    </message>
    <message>
        <source>Calvora could not make its lock file %1: %2. You can read the pages, but a change may not be stored until this is put right, and nothing keeps a second copy of Calvora off the file meanwhile.</source>
        <translation>Calvora konnte seine Sperrdatei %1 nicht anlegen: %2. Sie können die Seiten lesen, aber Änderungen werden womöglich erst gespeichert, wenn das behoben ist, und bis dahin hindert nichts ein zweites Calvora daran, die Datei zu öffnen.</translation>
    </message>
    <message>
        <source>The folder %1 is read-only, so Calvora opens db.mdb there for reading only. You can read the pages, but no change will be stored.</source>
        <translation>Der Ordner %1 ist schreibgeschützt, daher öffnet Calvora die db.mdb dort nur zum Lesen. Sie können die Seiten lesen, aber Änderungen werden nicht gespeichert.</translation>
    </message>
</context>
<context>
    <name>storage</name>
    <message>
        <source>the earlier file is kept as %1 (%2)</source>
        <translation>die frühere Datei bleibt als %1 erhalten (%2)</translation>
    </message>
    <message>
        <source>%1: %2. Putting things back failed as well: %3</source>
        <translation>%1: %2. Auch das Wiederherstellen des vorigen Zustands schlug fehl: %3</translation>
    </message>
    <message>
        <source>The journal %1 holds an unfinished change of a database that is no longer there, and would be applied to the restored file; move it out of the folder and restore again. The folder is unchanged</source>
        <translation>Das Journal %1 enthält eine unvollendete Änderung einer Datenbank, die es nicht mehr gibt, und würde auf die wiederhergestellte Datei angewendet; verschieben Sie es aus dem Ordner und stellen Sie erneut wieder her. Der Ordner ist unverändert</translation>
    </message>
    <message>
        <source>the database file is read-only, so the change cannot be undone; make it writable and restore again</source>
        <translation>die Datenbankdatei ist schreibgeschützt, daher kann die Änderung nicht rückgängig gemacht werden; machen Sie sie beschreibbar und stellen Sie erneut wieder her</translation>
    </message>
    <message>
        <source>another program is using the database; close it and restore again</source>
        <translation>ein anderes Programm verwendet die Datenbank; schließen Sie es und stellen Sie erneut wieder her</translation>
    </message>
    <message>
        <source>the engine left the journal in place</source>
        <translation>die Datenbank-Engine hat das Journal nicht entfernt</translation>
    </message>
    <message>
        <source>The database %1 holds an unfinished change in %2 that could not be undone, and is unchanged: %3</source>
        <translation>Die Datenbank %1 enthält in %2 eine unvollendete Änderung, die nicht rückgängig gemacht werden konnte, und ist unverändert: %3</translation>
    </message>
    <message>
        <source>The backup %1 would be the database itself; choose another drive or folder</source>
        <translation>Die Sicherung %1 wäre die Datenbank selbst; wählen Sie ein anderes Laufwerk oder einen anderen Ordner</translation>
    </message>
    <message>
        <source>reading it for the backup</source>
        <translation>Lesen für die Sicherung</translation>
    </message>
    <message>
        <source>The backup %1 could not be written: %2</source>
        <translation>Die Sicherung %1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The backup %1 was written but cannot be read back: %2</source>
        <translation>Die Sicherung %1 wurde geschrieben, lässt sich aber nicht zurücklesen: %2</translation>
    </message>
    <message>
        <source>The backup %1 was written but does not read back as a database: %2</source>
        <translation>Die Sicherung %1 wurde geschrieben, lässt sich aber nicht als Datenbank lesen: %2</translation>
    </message>
    <message>
        <source>and the earlier backup is as it was</source>
        <translation>und die frühere Sicherung ist unverändert</translation>
    </message>
    <message>
        <source>The backup %1 could not take the place of the earlier one</source>
        <translation>Die Sicherung %1 konnte nicht an die Stelle der früheren treten</translation>
    </message>
    <message>
        <source>The backup %1 could not replace the earlier one</source>
        <translation>Die Sicherung %1 konnte die frühere nicht ersetzen</translation>
    </message>
    <message>
        <source>The backup %1 could not be made sure on the disk</source>
        <translation>Die Sicherung %1 konnte nicht sicher auf den Datenträger geschrieben werden</translation>
    </message>
    <message>
        <source>so it was taken back, and the earlier backup is as it was</source>
        <translation>daher wurde sie zurückgenommen, und die frühere Sicherung ist unverändert</translation>
    </message>
    <message>
        <source>The backup %1 cannot be found</source>
        <translation>Die Sicherung %1 wurde nicht gefunden</translation>
    </message>
    <message>
        <source>The backup %1 could not be copied to %2: %3</source>
        <translation>Die Sicherung %1 konnte nicht nach %2 kopiert werden: %3</translation>
    </message>
    <message>
        <source>The file %1 cannot be restored, and the database is unchanged: %2</source>
        <translation>Die Datei %1 kann nicht wiederhergestellt werden, die Datenbank ist unverändert: %2</translation>
    </message>
    <message>
        <source>and the database is unchanged</source>
        <translation>und die Datenbank ist unverändert</translation>
    </message>
    <message>
        <source>The earlier copy %1 could not be kept while the database is replaced</source>
        <translation>Die frühere Kopie %1 konnte beim Ersetzen der Datenbank nicht aufbewahrt werden</translation>
    </message>
    <message>
        <source>The database %1 could not be kept as %2</source>
        <translation>Die Datenbank %1 konnte nicht als %2 aufbewahrt werden</translation>
    </message>
    <message>
        <source>The database %1 could not be replaced</source>
        <translation>Die Datenbank %1 konnte nicht ersetzt werden</translation>
    </message>
    <message>
        <source>the database that was replaced is kept as %1 (%2)</source>
        <translation>die ersetzte Datenbank bleibt als %1 erhalten (%2)</translation>
    </message>
    <message>
        <source>the restored %1 stays (%2)</source>
        <translation>die wiederhergestellte %1 bleibt (%2)</translation>
    </message>
    <message>
        <source>so the restore was taken back, %1</source>
        <translation>daher wurde die Wiederherstellung zurückgenommen, %1</translation>
    </message>
    <message>
        <source>The restore of %1 could not be made sure on the disk</source>
        <translation>Die Wiederherstellung von %1 konnte nicht sicher auf den Datenträger geschrieben werden</translation>
    </message>
    <message>
        <source>so it was taken back, %1</source>
        <translation>daher wurde sie zurückgenommen, %1</translation>
    </message>
    <message>
        <source>opening it</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation>Die Datei existiert nicht.</translation>
    </message>
    <message>
        <source>The file cannot be read.</source>
        <translation>Die Datei kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The database file %1 cannot be read: it is read-only and holds an unfinished change that only a writable copy can undo (the journal %2 beside it keeps that change). Make the file writable, or copy it together with its journal to a writable folder, and open it again.</source>
        <translation>Die Datenbankdatei %1 kann nicht gelesen werden: Sie ist schreibgeschützt und enthält eine unvollendete Änderung, die nur eine beschreibbare Kopie rückgängig machen kann (das Journal %2 daneben enthält diese Änderung). Machen Sie die Datei beschreibbar oder kopieren Sie sie mit ihrem Journal in einen beschreibbaren Ordner, und öffnen Sie sie erneut.</translation>
    </message>
    <message>
        <source>reading its tables</source>
        <translation>Lesen der Tabellen</translation>
    </message>
    <message>
        <source>The table %1 is missing.</source>
        <translation>Die Tabelle %1 fehlt.</translation>
    </message>
    <message>
        <source>The table %1 lacks the field(s) %2.</source>
        <translation>Der Tabelle %1 fehlen die Felder %2.</translation>
    </message>
    <message>
        <source>reading the settings</source>
        <translation>Lesen der Einstellungen</translation>
    </message>
    <message>
        <source>The table tbl_Setup has no settings row.</source>
        <translation>Die Tabelle tbl_Setup hat keine Einstellungszeile.</translation>
    </message>
    <message>
        <source>reading the pages</source>
        <translation>Lesen der Seiten</translation>
    </message>
    <message>
        <source>The database connection is not open.</source>
        <translation>Die Verbindung zur Datenbank ist nicht offen.</translation>
    </message>
    <message>
        <source>preparing a query</source>
        <translation>Vorbereiten einer Abfrage</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>unbekannter Fehler</translation>
    </message>
    <message>
        <source>The file is read-only: nothing can be stored in it.</source>
        <translation>Die Datei ist schreibgeschützt: Es kann nichts darin gespeichert werden.</translation>
    </message>
    <message>
        <source>The database file %1 failed while %2:
%3</source>
        <translation>Fehler in der Datenbankdatei %1 beim %2:
%3</translation>
    </message>
    <message>
        <source>reading the help text</source>
        <translation>Lesen des Hilfetexts</translation>
    </message>
    <message>
        <source>reading the history</source>
        <translation>Lesen des Verlaufs</translation>
    </message>
    <message>
        <source>recording the change in the history</source>
        <translation>Eintragen der Änderung in den Verlauf</translation>
    </message>
    <message>
        <source>reading the history of a cell</source>
        <translation>Lesen des Verlaufs einer Zelle</translation>
    </message>
    <message>
        <source>reading the changes of %1</source>
        <translation>Lesen der Änderungen vom %1</translation>
    </message>
    <message>
        <source>searching the history</source>
        <translation>Durchsuchen des Verlaufs</translation>
    </message>
    <message>
        <source>looking up the page of %1</source>
        <translation>Suchen der Seite vom %1</translation>
    </message>
    <message>
        <source>adding the page of %1</source>
        <translation>Anlegen der Seite vom %1</translation>
    </message>
    <message>
        <source>storing the page of %1</source>
        <translation>Speichern der Seite vom %1</translation>
    </message>
    <message>
        <source>The page&apos;s row is no longer there.</source>
        <translation>Die Zeile der Seite ist nicht mehr vorhanden.</translation>
    </message>
    <message>
        <source>deleting empty pages</source>
        <translation>Löschen leerer Seiten</translation>
    </message>
    <message>
        <source>counting the pages</source>
        <translation>Zählen der Seiten</translation>
    </message>
    <message>
        <source>searching the pages</source>
        <translation>Durchsuchen der Seiten</translation>
    </message>
    <message>
        <source>building the index of the pages&apos; text</source>
        <translation>Anlegen des Verzeichnisses der Seitentexte</translation>
    </message>
    <message>
        <source>storing the fixed memo and book number</source>
        <translation>Speichern der festen Notiz und der Buchnummer</translation>
    </message>
    <message>
        <source>storing the settings and the pages from %1 on</source>
        <translation>Speichern der Einstellungen und der Seiten ab %1</translation>
    </message>
    <message>
        <source>reading the pages from %1 on</source>
        <translation>Lesen der Seiten ab %1</translation>
    </message>
    <message>
        <source>storing the template of %1</source>
        <translation>Speichern der Vorlage für %1</translation>
    </message>
    <message>
        <source>The backup could not be made in %1: %2</source>
        <translation>Die Sicherung konnte in %1 nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>The backup could not be written: %1</source>
        <translation>Die Sicherung konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>The backup could not be made: no temporary folder (%1)</source>
        <translation>Die Sicherung konnte nicht angelegt werden: kein temporärer Ordner (%1)</translation>
    </message>
    <message>
        <source>The backup %1 could not be copied: no temporary folder (%2)</source>
        <translation>Die Sicherung %1 konnte nicht kopiert werden: kein temporärer Ordner (%2)</translation>
    </message>
    <message>
        <source>The backup %1 could not be copied: %2</source>
        <translation>Die Sicherung %1 konnte nicht kopiert werden: %2</translation>
    </message>
    <message>
        <source>restoring the backup %1</source>
        <translation>Wiederherstellen der Sicherung %1</translation>
    </message>
    <message>
        <source>creating the history table</source>
        <translation>Anlegen der Verlaufstabelle</translation>
    </message>
    <message>
        <source>It is not a Calvora database: %1</source>
        <translation>Es ist keine Calvora-Datenbank: %1</translation>
    </message>
    <message>
        <source>it holds some of the program&apos;s tables but not all. Nothing was changed.</source>
        <translation>sie enthält einige, aber nicht alle Tabellen des Programms. Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>It cannot be read.</source>
        <translation>Sie kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>this computer</source>
        <translation>diesem Computer</translation>
    </message>
    <message>
        <source>listening for the other desks&apos; changes</source>
        <translation>Abonnieren der Änderungen anderer Arbeitsplätze</translation>
    </message>
    <message>
        <source>The database %1 failed while %2:
%3</source>
        <translation>Fehler in der Datenbank %1 beim %2:
%3</translation>
    </message>
    <message>
        <source>reading its connection text</source>
        <translation>Lesen der Verbindungsangabe</translation>
    </message>
    <message>
        <source>connecting to it</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <source>Qt&apos;s PostgreSQL driver (QPSQL) is not installed.</source>
        <translation>Der PostgreSQL-Treiber von Qt (QPSQL) ist nicht installiert.</translation>
    </message>
    <message>
        <source>The value of %1 holds a &apos;;&apos;, which the driver cannot pass on.</source>
        <translation>Der Wert von %1 enthält ein „;“, das der Treiber nicht weitergeben kann.</translation>
    </message>
    <message>
        <source>The connection to the server was lost while the change was being committed, so it is not known whether it was stored. %1</source>
        <translation>Die Verbindung zum Server brach ab, während die Änderung abgeschlossen wurde; daher ist nicht bekannt, ob sie gespeichert wurde. %1</translation>
    </message>
    <message>
        <source>A row of %1 came with %2 fields instead of %3.</source>
        <translation>Eine Zeile von %1 kam mit %2 statt %3 Feldern.</translation>
    </message>
    <message>
        <source>The page was neither added nor found.</source>
        <translation>Die Seite wurde weder angelegt noch gefunden.</translation>
    </message>
    <message>
        <source>The page of %1 was stored on another desk after this desk read it, so it was not stored over.</source>
        <translation>Die Seite vom %1 wurde an einem anderen Arbeitsplatz gespeichert, nachdem dieser Arbeitsplatz sie gelesen hatte; sie wurde daher nicht überschrieben.</translation>
    </message>
    <message>
        <source>The page of %1 was removed on another desk after this desk read it.</source>
        <translation>Die Seite vom %1 wurde an einem anderen Arbeitsplatz entfernt, nachdem dieser Arbeitsplatz sie gelesen hatte.</translation>
    </message>
    <message>
        <source>the table %1 is missing.</source>
        <translation>die Tabelle %1 fehlt.</translation>
    </message>
    <message>
        <source>the table %1 lacks the field(s) %2.</source>
        <translation>der Tabelle %1 fehlen die Felder %2.</translation>
    </message>
    <message>
        <source>creating the program&apos;s tables</source>
        <translation>Anlegen der Tabellen des Programms</translation>
    </message>
    <message>
        <source>restoring the pages</source>
        <translation>Wiederherstellen der Seiten</translation>
    </message>
    <message>
        <source>indexing the pages for the search</source>
        <translation>Indizieren der Seiten für die Suche</translation>
    </message>
    <message>
        <source>The set-up was stored on another desk after this desk read it, so it was not stored over. Close this screen and open it again to see the set-up as it is now.</source>
        <translation>Die Einrichtung wurde an einem anderen Arbeitsplatz gespeichert, nachdem dieser Arbeitsplatz sie gelesen hatte; sie wurde daher nicht überschrieben. Schließen Sie diese Maske und öffnen Sie sie erneut, um die aktuelle Einrichtung zu sehen.</translation>
    </message>
    <message>
        <source>There is no weekday %1.</source>
        <translation>Es gibt keinen Wochentag %1.</translation>
    </message>
    <message>
        <source>%1 on %2</source>
        <comment>a database on its server</comment>
        <translation>%1 auf %2</translation>
    </message>
    <message numerus="yes">
        <source>The server %1 does not answer, so %2 was given up after %n second(s).</source>
        <translation>
            <numerusform>Der Server %1 antwortet nicht, daher wurde %2 nach %n Sekunde abgebrochen.</numerusform>
            <numerusform>Der Server %1 antwortet nicht, daher wurde %2 nach %n Sekunden abgebrochen.</numerusform>
        </translation>
    </message>
    <message>
        <source>the table tbl_Setup has no settings row.</source>
        <translation>Die Tabelle tbl_Setup hat keine Einstellungszeile.</translation>
    </message>
    <message>
        <source>the commit</source>
        <translation>das Festschreiben</translation>
    </message>
    <message>
        <source>It is not known whether the change was stored.</source>
        <translation>Es ist nicht bekannt, ob die Änderung gespeichert wurde.</translation>
    </message>
    <message>
        <source>it holds the table(s) %1. Nothing was changed.</source>
        <translation>sie enthält die Tabelle(n) %1. Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>The server folds letters otherwise than Calvora (its character locale is %1), so the search reads every page itself: it finds the same pages, more slowly.</source>
        <translation>Der Server faltet Buchstaben anders als Calvora (seine Zeichen-Locale ist %1), darum liest die Suche jede Seite selbst: Sie findet dieselben Seiten, nur langsamer.</translation>
    </message>
    <message>
        <source>reading the rights of its user and its character locale</source>
        <translation>Lesen der Rechte seines Benutzers und seiner Zeichen-Locale</translation>
    </message>
    <message>
        <source>%1, port %2</source>
        <comment>a server&apos;s host and port</comment>
        <translation>%1, Port %2</translation>
    </message>
    <message>
        <source>The server %1 only reads: it is a standby. Pages can be read; nothing can be stored until the primary or a promoted standby answers.</source>
        <translation>Der Server %1 liest nur: Er ist ein Standby-Server. Die Seiten können gelesen werden; gespeichert werden kann nichts, bis der Primärserver oder ein hochgestufter Standby-Server antwortet.</translation>
    </message>
    <message>
        <source>asking whether the server answers</source>
        <translation>Fragen, ob der Server antwortet</translation>
    </message>
    <message>
        <source>The desk&apos;s journal %1 was damaged. Nothing was stored from it; it is kept as %2 for inspection.</source>
        <translation>Das Journal dieses Platzes %1 war beschädigt. Nichts daraus wurde gespeichert; es wird zur Prüfung als %2 aufbewahrt.</translation>
    </message>
    <message>
        <source>The desk&apos;s journal held pages typed for another book than %1. None of them is stored in this book; the journal is kept as %2.</source>
        <translation>Das Journal dieses Platzes enthielt Seiten, die für ein anderes Buch als %1 getippt wurden. Keine davon wird in diesem Buch gespeichert; das Journal wird als %2 aufbewahrt.</translation>
    </message>
    <message>
        <source>This desk is offline: the server at %1 does not answer, so %2 cannot be done now. Nothing was changed. It can be done again once the server answers.</source>
        <translation>Dieser Platz ist offline: Der Server auf %1 antwortet nicht, daher ist %2 jetzt nicht möglich. Nichts wurde geändert. Es kann wieder getan werden, sobald der Server antwortet.</translation>
    </message>
    <message>
        <source>opening the connection again</source>
        <translation>erneutes Öffnen der Verbindung</translation>
    </message>
    <message>
        <source>reading the page from the server</source>
        <translation>Lesen der Seite vom Server</translation>
    </message>
    <message>
        <source>storing the pages typed offline</source>
        <translation>Speichern der offline getippten Seiten</translation>
    </message>
    <message>
        <source>The page of %1 was added on another desk.</source>
        <translation>Die Seite vom %1 wurde an einem anderen Platz angelegt.</translation>
    </message>
    <message>
        <source>The page of %1 was stored on the server while this desk was offline.</source>
        <translation>Die Seite vom %1 wurde auf dem Server gespeichert, während dieser Platz offline war.</translation>
    </message>
    <message>
        <source>removing pages</source>
        <translation>Entfernen von Seiten</translation>
    </message>
    <message>
        <source>removing empty pages</source>
        <translation>Entfernen leerer Seiten</translation>
    </message>
    <message>
        <source>reading every page</source>
        <translation>Lesen aller Seiten</translation>
    </message>
    <message>
        <source>storing the fixed memo</source>
        <translation>Speichern des festen Memos</translation>
    </message>
    <message>
        <source>storing the set-up</source>
        <translation>Speichern der Einrichtung</translation>
    </message>
    <message>
        <source>storing the template</source>
        <translation>Speichern der Vorlage</translation>
    </message>
    <message>
        <source>the client search</source>
        <translation>Kundensuche</translation>
    </message>
    <message>
        <source>reading the help</source>
        <translation>Lesen der Hilfe</translation>
    </message>
    <message>
        <source>Another copy of Calvora on this desk keeps the pages typed while the server does not answer in %1. Only one copy may work on a server&apos;s book at a time: close the other copy first.</source>
        <translation>Eine andere Kopie von Calvora an diesem Platz bewahrt in %1 die Seiten auf, die getippt werden, während der Server nicht antwortet. Nur eine Kopie darf gleichzeitig mit dem Buch eines Servers arbeiten: Schließen Sie zuerst die andere Kopie.</translation>
    </message>
    <message>
        <source>The desk&apos;s journal %1 cannot be made: its folder cannot be written.</source>
        <translation>Das Journal dieses Platzes %1 kann nicht angelegt werden: Sein Ordner ist nicht beschreibbar.</translation>
    </message>
    <message>
        <source>The desk&apos;s journal %1 is damaged and cannot be moved aside.</source>
        <translation>Das Journal dieses Platzes %1 ist beschädigt und kann nicht beiseitegelegt werden.</translation>
    </message>
    <message>
        <source>The desk&apos;s journal %1 failed while %2:
%3</source>
        <translation>Fehler im Journal dieses Platzes %1 beim %2:
%3</translation>
    </message>
    <message>
        <source>keeping a page typed on this desk</source>
        <translation>Aufbewahren einer an diesem Platz getippten Seite</translation>
    </message>
    <message>
        <source>keeping what it knows of the book</source>
        <translation>Aufbewahren dessen, was es vom Buch weiß</translation>
    </message>
    <message>
        <source>keeping a copy of a page read from the server</source>
        <translation>Aufbewahren einer Kopie einer vom Server gelesenen Seite</translation>
    </message>
    <message>
        <source>keeping the page of %1 typed on this desk</source>
        <translation>Aufbewahren der an diesem Platz getippten Seite vom %1</translation>
    </message>
    <message>
        <source>removing a page stored on the server</source>
        <translation>Entfernen einer auf dem Server gespeicherten Seite</translation>
    </message>
    <message>
        <source>reading the pages of the days around today</source>
        <translation>Lesen der Seiten der Tage um heute</translation>
    </message>
</context>
</TS>
