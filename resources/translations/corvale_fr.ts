<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>AdView</name>
    <message>
        <location filename="../../Application/AdView.cpp" line="51"/>
        <source>Banner</source>
        <translation>Bannière</translation>
    </message>
</context>
<context>
    <name>BrowserView</name>
    <message>
        <location filename="../../Application/Browser/BrowserView.cpp" line="56"/>
        <source>Lookups</source>
        <translation>Recherches</translation>
    </message>
    <message>
        <location filename="../../Application/Browser/BrowserView.cpp" line="57"/>
        <source>Similar artists</source>
        <translation>Artistes similaires</translation>
    </message>
    <message>
        <location filename="../../Application/Browser/BrowserView.cpp" line="58"/>
        <source>Links</source>
        <translation>Liens</translation>
    </message>
</context>
<context>
    <name>CorrelationNode</name>
    <message>
        <location filename="../../Application/CorrelationNode.cpp" line="18"/>
        <location filename="../../Application/iTunesNode.cpp" line="92"/>
        <source>Similar to %1</source>
        <translation>Similaires à %1</translation>
    </message>
    <message>
        <location filename="../../Application/CorrelationNode.cpp" line="90"/>
        <source>%1, %2 of 4 stars</source>
        <translation>%1, %2 étoiles sur 4</translation>
    </message>
</context>
<context>
    <name>MainNode</name>
    <message>
        <location filename="../../Application/MainNode.cpp" line="25"/>
        <source>Current iTunes Artist</source>
        <translation>Artiste en cours de lecture</translation>
    </message>
    <message>
        <location filename="../../Application/MainNode.cpp" line="29"/>
        <source>Brondel&apos;s Picks</source>
        <translation>La sélection de Brondel</translation>
    </message>
    <message>
        <location filename="../../Application/MainNode.cpp" line="30"/>
        <source>hand chosen for your enjoyment</source>
        <translation>choisie avec soin pour votre plaisir</translation>
    </message>
    <message>
        <location filename="../../Application/MainNode.cpp" line="35"/>
        <source>Your Recommendations</source>
        <translation>Vos recommandations</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="55"/>
        <source>Artist name — press Return to find similar artists</source>
        <translation>Nom d’artiste – Entrée pour trouver des artistes similaires</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="56"/>
        <source>Artist</source>
        <translation>Artiste</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="101"/>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="102"/>
        <source>&amp;New Lookup…</source>
        <translation>&amp;Nouvelle recherche…</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="109"/>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="114"/>
        <source>&amp;Go</source>
        <translation>&amp;Aller à</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="115"/>
        <source>Current iTunes Artist</source>
        <translation>Artiste en cours de lecture</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="116"/>
        <source>Brondel&apos;s Picks</source>
        <translation>La sélection de Brondel</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="117"/>
        <source>Your Recommendations</source>
        <translation>Vos recommandations</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="119"/>
        <source>&amp;Window</source>
        <translation>Fe&amp;nêtre</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="120"/>
        <source>&amp;Main Window</source>
        <translation>Fenêtre &amp;principale</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="122"/>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="123"/>
        <source>Check for &amp;Updates…</source>
        <translation>Rechercher des &amp;mises à jour…</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="124"/>
        <source>Send &amp;Feedback…</source>
        <translation>Envoyer un &amp;commentaire…</translation>
    </message>
    <message>
        <location filename="../../Application/MainWindow.cpp" line="125"/>
        <source>&amp;Chat with the Developer…</source>
        <translation>&amp;Discuter avec le développeur…</translation>
    </message>
</context>
<context>
    <name>NSDateExtensions</name>
    <message>
        <location filename="../../RKKit/RKExtensions/NSDateExtensions.cpp" line="18"/>
        <source>1 hour</source>
        <translation>1 heure</translation>
    </message>
    <message numerus="yes">
        <location filename="../../RKKit/RKExtensions/NSDateExtensions.cpp" line="19"/>
        <source>%n hours</source>
        <translation>
            <numerusform>%n heure</numerusform>
            <numerusform>%n heures</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../RKKit/RKExtensions/NSDateExtensions.cpp" line="24"/>
        <source>1 minute</source>
        <translation>1 minute</translation>
    </message>
    <message numerus="yes">
        <location filename="../../RKKit/RKExtensions/NSDateExtensions.cpp" line="25"/>
        <source>%n minutes</source>
        <translation>
            <numerusform>%n minute</numerusform>
            <numerusform>%n minutes</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>NothingFoundNode</name>
    <message>
        <location filename="../../Application/Node.cpp" line="212"/>
        <source>No Similar Artists Found</source>
        <translation>Aucun artiste similaire trouvé</translation>
    </message>
    <message>
        <location filename="../../Application/Node.cpp" line="213"/>
        <source>Perhaps try a different name.</source>
        <translation>Essayez peut-être un autre nom.</translation>
    </message>
</context>
<context>
    <name>RKVersionChecker</name>
    <message>
        <location filename="../../RKKit/RKVersionChecker.cpp" line="105"/>
        <source>Version %1 is available to download.</source>
        <translation>La version %1 peut être téléchargée.</translation>
    </message>
    <message>
        <location filename="../../RKKit/RKVersionChecker.cpp" line="107"/>
        <source>You are using version %1 of %2. A newer release, version %3, is available.  It is highly recommended that you download the new version.</source>
        <translation>Vous utilisez la version %1 de %2. Une version plus récente, la %3, est disponible.  Il est vivement recommandé de télécharger la nouvelle version.</translation>
    </message>
    <message>
        <location filename="../../RKKit/RKVersionChecker.cpp" line="110"/>
        <source>Download...</source>
        <translation>Télécharger…</translation>
    </message>
    <message>
        <location filename="../../RKKit/RKVersionChecker.cpp" line="111"/>
        <source>Ignore</source>
        <translation>Ignorer</translation>
    </message>
    <message>
        <location filename="../../RKKit/RKVersionChecker.cpp" line="112"/>
        <source>Remind Later</source>
        <translation>Me le rappeler plus tard</translation>
    </message>
    <message>
        <location filename="../../RKKit/RKVersionChecker.cpp" line="136"/>
        <source>This is the most recent version.</source>
        <translation>Vous avez la version la plus récente.</translation>
    </message>
    <message>
        <location filename="../../RKKit/RKVersionChecker.cpp" line="137"/>
        <source>Excellent! You are using the most recent release of %1, version %2. There is currently no need to upgrade.</source>
        <translation>Excellent ! Vous utilisez la version la plus récente de %1, la version %2. Aucune mise à jour n’est nécessaire pour le moment.</translation>
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
        <translation>%1 pour %2</translation>
    </message>
    <message>
        <location filename="../../Application/URLQueryNode.cpp" line="111"/>
        <source>Search Google</source>
        <translation>Chercher sur Google</translation>
    </message>
    <message>
        <location filename="../../Application/URLQueryNode.cpp" line="114"/>
        <source>Search Google Images</source>
        <translation>Chercher sur Google Images</translation>
    </message>
    <message>
        <location filename="../../Application/URLQueryNode.cpp" line="117"/>
        <source>Search Google News</source>
        <translation>Chercher sur Google Actualités</translation>
    </message>
    <message>
        <location filename="../../Application/URLQueryNode.cpp" line="120"/>
        <source>Search Amazon.com</source>
        <translation>Chercher sur Amazon.com</translation>
    </message>
    <message>
        <location filename="../../Application/URLQueryNode.cpp" line="126"/>
        <source>Search Everything2</source>
        <translation>Chercher sur Everything2</translation>
    </message>
    <message>
        <location filename="../../Application/URLQueryNode.cpp" line="129"/>
        <source>Search Rolling Stone</source>
        <translation>Chercher sur Rolling Stone</translation>
    </message>
    <message>
        <location filename="../../Application/URLQueryNode.cpp" line="135"/>
        <source>Search iTunes Music Store</source>
        <translation>Chercher dans l’iTunes Music Store</translation>
    </message>
    <message>
        <location filename="../../Application/URLQueryNode.cpp" line="146"/>
        <source>Search with Acquisition</source>
        <translation>Chercher avec Acquisition</translation>
    </message>
</context>
</TS>
