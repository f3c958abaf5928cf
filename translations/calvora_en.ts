<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>MemoPanel</name>
    <message numerus="yes">
        <source>The fixed memo or the book number was stored on other desks %n times while this desk stored its own; what was typed here stays in the box, not stored.</source>
        <translation>
            <numerusform>The fixed memo or the book number was stored on other desks %n time while this desk stored its own; what was typed here stays in the box, not stored.</numerusform>
            <numerusform>The fixed memo or the book number was stored on other desks %n times while this desk stored its own; what was typed here stays in the box, not stored.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>OfflineDesk</name>
    <message numerus="yes">
        <source>Back online: %n page(s) stored</source>
        <translation>
            <numerusform>Back online: %n page stored</numerusform>
            <numerusform>Back online: %n pages stored</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>; %n page(s) still kept on this desk</source>
        <translation>
            <numerusform>; %n page still kept on this desk</numerusform>
            <numerusform>; %n pages still kept on this desk</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Offline since %1: the server at %2 does not answer. Pages typed here are kept on this desk and stored when it answers again (%n page(s) waiting).</source>
        <translation>
            <numerusform>Offline since %1: the server at %2 does not answer. Pages typed here are kept on this desk and stored when it answers again (%n page waiting).</numerusform>
            <numerusform>Offline since %1: the server at %2 does not answer. Pages typed here are kept on this desk and stored when it answers again (%n pages waiting).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The page of %1 was stored on other desks %n times while this desk stored what it kept offline; it stays kept on this desk.</source>
        <translation>
            <numerusform>The page of %1 was stored on other desks %n time while this desk stored what it kept offline; it stays kept on this desk.</numerusform>
            <numerusform>The page of %1 was stored on other desks %n times while this desk stored what it kept offline; it stays kept on this desk.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>OtherDesks</name>
    <message numerus="yes">
        <source>
It was stored on other desks %n times while this desk merged its entries into it; nothing typed here was stored yet.</source>
        <translation>
            <numerusform>
It was stored on other desks %n time while this desk merged its entries into it; nothing typed here was stored yet.</numerusform>
            <numerusform>
It was stored on other desks %n times while this desk merged its entries into it; nothing typed here was stored yet.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>frmBackup</name>
    <message numerus="yes">
        <source>%n page(s) of %1 is/are on the server now.</source>
        <translation>
            <numerusform>%n page of %1 is on the server now.</numerusform>
            <numerusform>%n pages of %1 are on the server now.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n older row(s) of a date that a newer row already holds was/were left out: the server keeps one page per date, the newest, as the program reads it.</source>
        <translation>
            <numerusform>%n older row of a date that a newer row already holds was left out: the server keeps one page per date, the newest, as the program reads it.</numerusform>
            <numerusform>%n older rows of a date that a newer row already holds were left out: the server keeps one page per date, the newest, as the program reads it.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>frmHits</name>
    <message numerus="yes">
        <source>%n cell(s)</source>
        <comment>stands in ...</comment>
        <translation>
            <numerusform>%n cell</numerusform>
            <numerusform>%n cells</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n page(s)</source>
        <comment>... on</comment>
        <translation>
            <numerusform>%n page</numerusform>
            <numerusform>%n pages</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n more page(s) hold(s) it but cannot be laid out, so its/their cells are not listed: %1.</source>
        <translation>
            <numerusform>%n more page holds it but cannot be laid out, so its cells are not listed: %1.</numerusform>
            <numerusform>%n more pages hold it but cannot be laid out, so their cells are not listed: %1.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 marks %n text(s) removed from its/their cell(s) since.</source>
        <translation>
            <numerusform>%1 marks a text removed from its cell since.</numerusform>
            <numerusform>%1 marks %n texts removed from their cells since.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>frmSetup</name>
    <message numerus="yes">
        <source>%n stored page(s) from today on hold(s) entries of its/their own. With the new time of the first appointment or the new slot length, its/their entries will stand at other times.

Do you wish to store the new settings?</source>
        <translation>
            <numerusform>%n stored page from today on holds entries of its own. With the new time of the first appointment or the new slot length, its entries will stand at other times.

Do you wish to store the new settings?</numerusform>
            <numerusform>%n stored pages from today on hold entries of their own. With the new time of the first appointment or the new slot length, their entries will stand at other times.

Do you wish to store the new settings?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>storage</name>
    <message numerus="yes">
        <source>The server %1 does not answer, so %2 was given up after %n second(s).</source>
        <translation>
            <numerusform>The server %1 does not answer, so %2 was given up after %n second.</numerusform>
            <numerusform>The server %1 does not answer, so %2 was given up after %n seconds.</numerusform>
        </translation>
    </message>
</context>
</TS>
