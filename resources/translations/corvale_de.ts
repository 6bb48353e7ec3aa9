<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AdView</name>
    <message>
        <location filename="../../Application/AdView.cpp" line="51"/>
        <source>Banner</source>
        <translation>Banner</translation>
    </message>
</context>
<context>
    <name>BrowserView</name>
    <message>
        <location filename="../../Application/Browser/BrowserView.cpp" line="56"/>
        <source>Lookups</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <location filename="../../Application/Browser/BrowserView.cpp" line="57"/>
        <source>Similar artists</source>
        <translation>Ähnliche Künstler</translation>
    </message>
    <message>
        <location filename="../../Application/Browser/BrowserView.cpp" line="58"/>
        <source>Links</source>
        <translation>Links</translation>
    </message>
</context>
<context>
    <name>CorrelationNode</name>
    <message>
        <location filename="../../Application/CorrelationNode.cpp" line="18"/>
        <location filename="../../Application/iTunesNode.cpp" line="92"/>
        <source>Similar to %1</source>
        <translation>Ähnlich wie %1</translation>
    </message>
    <message>
        <location filename="../../Application/CorrelationNode.cpp" line="90"/>
        <source>%1, %2 of 4 stars</source>
        <translation>%1, %2 von 4 Sternen</translation>
    </message>
</context>
<context>
    <name>MainNode</name>
    <message>
        <location filename="../../Application/MainNode.cpp" line="25"/>
        <source>Current iTunes Artist</source>
        <translation>Aktueller Künstler im Player</translation>
    </message>
    <message>
        <location filename="../../Application/MainNode.cpp" line="29"/>
        <source>Brondel&apos;s Picks</source>
        <translation>Brondels Empfehlungen</translation>
    </message>
    <message>
        <location filename="../../Application/MainNode.cpp" line="30"/>
        <source>hand chosen for your enjoyment</source>
        <translation>handverlesen für Ihren Genuss</translation>
    </message>
    <message>
        <location filename="../../Application/MainNode.cpp" line="35"/>
        <source>Your Recommendations</source>
        <translation>Ihre Empfehlungen</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="55"/>
        <source>Artist name — press Return to find similar artists</source>
        <translation>Künstlername – Eingabetaste sucht ähnliche Künstler</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="56"/>
        <source>Artist</source>
        <translation>Künstler</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="101"/>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="102"/>
        <source>&amp;New Lookup…</source>
        <translation>&amp;Neue Suche …</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="109"/>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="114"/>
        <source>&amp;Go</source>
        <translation>&amp;Gehe zu</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="115"/>
        <source>Current iTunes Artist</source>
        <translation>Aktueller Künstler im Player</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="116"/>
        <source>Brondel&apos;s Picks</source>
        <translation>Brondels Empfehlungen</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="117"/>
        <source>Your Recommendations</source>
        <translation>Ihre Empfehlungen</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="119"/>
        <source>&amp;Window</source>
        <translation>&amp;Fenster</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="120"/>
        <source>&amp;Main Window</source>
        <translation>&amp;Hauptfenster</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="122"/>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="123"/>
        <source>Check for &amp;Updates…</source>
        <translation>Nach &amp;Aktualisierungen suchen …</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="124"/>
        <source>Send &amp;Feedback…</source>
        <translation>&amp;Rückmeldung senden …</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="125"/>
        <source>&amp;Chat with the Developer…</source>
        <translation>Mit dem Entwickler &amp;chatten …</translation>
    </message>
</context>
<context>
    <name>NSDateExtensions</name>
    <message>
        <location filename="../../RKKit/RKExtensions/NSDateExtensions.cpp" line="18"/>
        <source>1 hour</source>
        <translation>1 Stunde</translation>
    </message>
    <message numerus="yes">
        <location filename="../../RKKit/RKExtensions/NSDateExtensions.cpp" line="19"/>
        <source>%n hours</source>
        <translation>
            <numerusform>%n Stunde</numerusform>
            <numerusform>%n Stunden</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../RKKit/RKExtensions/NSDateExtensions.cpp" line="24"/>
        <source>1 minute</source>
        <translation>1 Minute</translation>
    </message>
    <message numerus="yes">
        <location filename="../../RKKit/RKExtensions/NSDateExtensions.cpp" line="25"/>
        <source>%n minutes</source>
        <translation>
            <numerusform>%n Minute</numerusform>
            <numerusform>%n Minuten</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>NothingFoundNode</name>
    <message>
        <location filename="../../Application/Node.cpp" line="212"/>
        <source>No Similar Artists Found</source>
        <translation>Keine ähnlichen Künstler gefunden</translation>
    </message>
    <message>
        <location filename="../../Application/Node.cpp" line="213"/>
        <source>Perhaps try a different name.</source>
        <translation>Versuchen Sie vielleicht einen anderen Namen.</translation>
    </message>
</context>
<context>
    <name>RKVersionChecker</name>
    <message>
        <location filename="../../RKKit/RKVersionChecker.cpp" line="105"/>
        <source>Version %1 is available to download.</source>
        <translation>Version %1 steht zum Herunterladen bereit.</translation>
    </message>
    <message>
        <location filename="../../RKKit/RKVersionChecker.cpp" line="107"/>
        <source>You are using version %1 of %2. A newer release, version %3, is available.  It is highly recommended that you download the new version.</source>
        <translation>Sie verwenden Version %1 von %2. Eine neuere Version, %3, ist verfügbar.  Es wird dringend empfohlen, die neue Version herunterzuladen.</translation>
    </message>
    <message>
        <location filename="../../RKKit/RKVersionChecker.cpp" line="110"/>
        <source>Download...</source>
        <translation>Herunterladen …</translation>
    </message>
    <message>
        <location filename="../../RKKit/RKVersionChecker.cpp" line="111"/>
        <source>Ignore</source>
        <translation>Ignorieren</translation>
    </message>
    <message>
        <location filename="../../RKKit/RKVersionChecker.cpp" line="112"/>
        <source>Remind Later</source>
        <translation>Später erinnern</translation>
    </message>
    <message>
        <location filename="../../RKKit/RKVersionChecker.cpp" line="136"/>
        <source>This is the most recent version.</source>
        <translation>Dies ist die neueste Version.</translation>
    </message>
    <message>
        <location filename="../../RKKit/RKVersionChecker.cpp" line="137"/>
        <source>Excellent! You are using the most recent release of %1, version %2. There is currently no need to upgrade.</source>
        <translation>Ausgezeichnet! Sie verwenden die neueste Version von %1, Version %2. Eine Aktualisierung ist derzeit nicht nötig.</translation>
    </message>
    <message>
        <location filename="../../RKKit/RKVersionChecker.cpp" line="139"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>URLQueryNode</name>
    <message>
        <location filename="../../Application/URLQueryNode.cpp" line="35"/>
        <source>%1 for %2</source>
        <translation>%1 nach %2</translation>
    </message>
    <message>
        <location filename="../../Application/URLQueryNode.cpp" line="111"/>
        <source>Search Google</source>
        <translation>Bei Google suchen</translation>
    </message>
    <message>
        <location filename="../../Application/URLQueryNode.cpp" line="114"/>
        <source>Search Google Images</source>
        <translation>Bei Google Bilder suchen</translation>
    </message>
    <message>
        <location filename="../../Application/URLQueryNode.cpp" line="117"/>
        <source>Search Google News</source>
        <translation>Bei Google News suchen</translation>
    </message>
    <message>
        <location filename="../../Application/URLQueryNode.cpp" line="120"/>
        <source>Search Amazon.com</source>
        <translation>Bei Amazon.com suchen</translation>
    </message>
    <message>
        <location filename="../../Application/URLQueryNode.cpp" line="126"/>
        <source>Search Everything2</source>
        <translation>Bei Everything2 suchen</translation>
    </message>
    <message>
        <location filename="../../Application/URLQueryNode.cpp" line="129"/>
        <source>Search Rolling Stone</source>
        <translation>Bei Rolling Stone suchen</translation>
    </message>
    <message>
        <location filename="../../Application/URLQueryNode.cpp" line="135"/>
        <source>Search iTunes Music Store</source>
        <translation>Im iTunes Music Store suchen</translation>
    </message>
    <message>
        <location filename="../../Application/URLQueryNode.cpp" line="146"/>
        <source>Search with Acquisition</source>
        <translation>Mit Acquisition suchen</translation>
    </message>
</context>
</TS>
