<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>tabulon::BackgroundGo</name>
    <message>
        <source>Making the list…</source>
        <translation>Liste wird erstellt&#xa0;…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>%v of %m</source>
        <translation>%v von %m</translation>
    </message>
    <message>
        <source>Not every picture went into the list as it is:
%1</source>
        <translation>Nicht jedes Bild kam so in die Liste, wie es ist:
%1</translation>
    </message>
    <message>
        <source>Thumbnails and photo metadata need the media module: %1</source>
        <translation>Für Miniaturbilder und Foto-Metadaten wird das Medienmodul benötigt: %1</translation>
    </message>
    <message>
        <source>Pictures are read only in a sandbox, and this system gives none, so thumbnails and photo metadata cannot be made: %1</source>
        <translation>Bilder werden nur in einer Sandbox gelesen, und dieses System bietet keine; daher können keine Miniaturbilder und Foto-Metadaten erstellt werden: %1</translation>
    </message>
    <message>
        <source>The list was not made: %1</source>
        <translation>Die Liste wurde nicht erstellt: %1</translation>
    </message>
    <message>
        <source>There is not enough memory for this list.</source>
        <translation>Für diese Liste reicht der Arbeitsspeicher nicht aus.</translation>
    </message>
</context>
<context>
    <name>tabulon::DbusHostCore</name>
    <message>
        <source>the text holds a NUL character, which cannot be handed over</source>
        <translation>Der Text enthält ein NUL-Zeichen, das sich nicht übergeben lässt.</translation>
    </message>
    <message>
        <source>no answer from the editor</source>
        <translation>keine Antwort vom Editor</translation>
    </message>
</context>
<context>
    <name>tabulon::FrmConfig</name>
    <message>
        <source>The configuration could not be saved.
%1</source>
        <translation>Die Konfiguration konnte nicht gespeichert werden.
%1</translation>
    </message>
    <message>
        <source>The configuration could not be loaded.
%1</source>
        <translation>Die Konfiguration konnte nicht geladen werden.
%1</translation>
    </message>
    <message>
        <source>Step 1 - Configure</source>
        <translation>Schritt 1 – Konfigurieren</translation>
    </message>
    <message>
        <source>Step 2 - Select files</source>
        <translation>Schritt 2 – Dateien auswählen</translation>
    </message>
    <message>
        <source>Step 3 - Go!</source>
        <translation>Schritt 3 – Los!</translation>
    </message>
    <message>
        <source>Step 4 - Check result and copy</source>
        <translation>Schritt 4 – Ergebnis prüfen und kopieren</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Add comments</source>
        <translation>Kommentare</translation>
    </message>
    <message>
        <source>Text top</source>
        <translation>Kopftext</translation>
    </message>
    <message>
        <source>Text bottom</source>
        <translation>Fußtext</translation>
    </message>
    <message>
        <source>New entry</source>
        <translation>Neuer Eintrag</translation>
    </message>
    <message>
        <source>End entry</source>
        <translation>Eintragsende</translation>
    </message>
    <message>
        <source>New row</source>
        <translation>Neue Zeile</translation>
    </message>
    <message>
        <source>Save or load configuration:</source>
        <translation>Konfiguration speichern oder laden:</translation>
    </message>
    <message>
        <source>Save configuration to file</source>
        <translation>Konfiguration speichern</translation>
    </message>
    <message>
        <source>Load configuration from file</source>
        <translation>Konfiguration laden</translation>
    </message>
    <message>
        <source>Select files</source>
        <translation>Auswählen</translation>
    </message>
    <message>
        <source>GO!</source>
        <translation>LOS!</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Insert into HTML-Kit</source>
        <translation>An HTML-Kit geben</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>  ?  </source>
        <translation>  ?  </translation>
    </message>
    <message>
        <source>Check here to have comment tags added at top and bottom of the result</source>
        <translation>Ankreuzen, um am Anfang und am Ende des Ergebnisses Kommentare einzufügen</translation>
    </message>
    <message>
        <source>Click to see off-line help. Shift+Click to see online help.</source>
        <translation>Klick öffnet die Offline-Hilfe, Umschalt+Klick die Online-Hilfe.</translation>
    </message>
    <message>
        <source>Enter a width</source>
        <translation>Geben Sie eine Breite ein</translation>
    </message>
    <message>
        <source>Enter a width &gt; 0</source>
        <translation>Geben Sie eine Breite &gt; 0 ein</translation>
    </message>
    <message>
        <source>There is not enough memory for this list.</source>
        <translation>Für diese Liste reicht der Arbeitsspeicher nicht aus.</translation>
    </message>
    <message>
        <source>The result was not handed over to HTML-Kit: %1
It is still in the result box.</source>
        <translation>Das Ergebnis wurde nicht an HTML-Kit übergeben: %1
Es steht weiterhin im Ergebnisfeld.</translation>
    </message>
    <message>
        <source>The result may not have reached HTML-Kit: no answer from the editor; the list may still arrive.
It is still in the result box.</source>
        <translation>Das Ergebnis hat HTML-Kit möglicherweise nicht erreicht: Der Editor antwortet nicht; die Liste kann noch ankommen.
Es steht weiterhin im Ergebnisfeld.</translation>
    </message>
    <message>
        <source>Following variables are allowed: {{CRLF}} inserts a CR/LF.</source>
        <translation>Erlaubte Platzhalter: {{CRLF}} fügt einen Zeilenumbruch (CR/LF) ein.</translation>
    </message>
    <message>
        <source>{{FILE}} full filename including path. {{EXT}} file ext. {{SHORTEXT}} file ext. without dot.{{PATH}} path. {{BASE}} base part of filename. {{CRLF}} CR/LF. {{INC}} File content. {{INC(x)}} Content of file x.</source>
        <translation>{{FILE}} vollständiger Dateiname mit Pfad. {{EXT}} Dateiendung. {{SHORTEXT}} Dateiendung ohne Punkt. {{PATH}} Pfad. {{BASE}} Dateiname ohne Pfad und Endung. {{CRLF}} Zeilenumbruch (CR/LF). {{INC}} Inhalt der Datei. {{INC(x)}} Inhalt der Datei x.</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>The list that GO! made; it may be edited before it is copied</source>
        <translation>Die mit LOS! erzeugte Liste; sie kann vor dem Kopieren bearbeitet werden</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>The maker&apos;s web page</source>
        <translation>Webseite des Herstellers</translation>
    </message>
    <message>
        <source>Mail to the maker</source>
        <translation>E-Mail an den Hersteller</translation>
    </message>
</context>
<context>
    <name>tabulon::OpenInBrowser</name>
    <message>
        <source>%1 could not find a file association for %2 on your system. You should check that your browser is correctly installed and associated with this type of file.</source>
        <translation>%1 hat auf Ihrem System keine Dateizuordnung für %2 gefunden. Prüfen Sie, ob Ihr Browser richtig installiert und diesem Dateityp zugeordnet ist.</translation>
    </message>
    <message>
        <source>%1 had a problem running your web browser on URL %2. You should check that your browser is correctly installed.(Error%3)</source>
        <translation>%1 konnte die Adresse %2 nicht in Ihrem Webbrowser öffnen. Prüfen Sie, ob Ihr Browser richtig installiert ist. (Fehler %3)</translation>
    </message>
</context>
<context>
    <name>tabulon::PluginStart</name>
    <message>
        <source>Unable to open communication with HTML-Kit. You may need to restart Windows (a simple logoff/logon is likely be enough)</source>
        <translation>Die Verbindung zu HTML-Kit konnte nicht hergestellt werden. Möglicherweise müssen Sie die Sitzung neu starten (meist genügt es, sich ab- und wieder anzumelden).</translation>
    </message>
    <message>
        <source>Unable to register plugin because communication with HTML-Kit could not be established.<byte value="xd"/>
You may need to restart Windows (a simple logoff/logon is likely to be enough)</source>
        <translation>Das Plug-in konnte nicht registriert werden, weil keine Verbindung zu HTML-Kit hergestellt werden konnte.<byte value="xd"/>
Möglicherweise müssen Sie die Sitzung neu starten (meist genügt es, sich ab- und wieder anzumelden).</translation>
    </message>
    <message>
        <source>The plug-in could not be registered with HTML-Kit: %1</source>
        <translation>Das Plug-in konnte nicht bei HTML-Kit registriert werden: %1</translation>
    </message>
</context>
<context>
    <name>tabulon::PreviewWindow</name>
    <message>
        <source>Tabulon - Preview</source>
        <translation>Tabulon – Vorschau</translation>
    </message>
    <message>
        <source>Open in browser</source>
        <translation>Im Browser öffnen</translation>
    </message>
    <message>
        <source>The page for the browser could not be written.
%1: %2</source>
        <translation>Die Seite für den Browser konnte nicht geschrieben werden.
%1: %2</translation>
    </message>
</context>
<context>
    <name>tabulon::QtDialogs</name>
    <message>
        <source>All files (*.*)</source>
        <translation>Alle Dateien (*.*)</translation>
    </message>
    <message>
        <source>Graphics (*.jpg;*.gif;*.bmp)</source>
        <translation>Bilder (*.jpg;*.gif;*.bmp)</translation>
    </message>
    <message>
        <source>Files of the configuration (%1)</source>
        <translation>Dateitypen der Konfiguration (%1)</translation>
    </message>
    <message>
        <source>INI Files (*.ini)</source>
        <translation>INI-Dateien (*.ini)</translation>
    </message>
    <message>
        <source>All Files (*.*)</source>
        <translation>Alle Dateien (*.*)</translation>
    </message>
    <message>
        <source>Select files</source>
        <translation>Dateien auswählen</translation>
    </message>
    <message>
        <source>Load configuration</source>
        <translation>Konfiguration laden</translation>
    </message>
    <message>
        <source>Save configuration</source>
        <translation>Konfiguration speichern</translation>
    </message>
    <message>
        <source>Browser Unavailable</source>
        <translation>Browser nicht verfügbar</translation>
    </message>
</context>
</TS>
