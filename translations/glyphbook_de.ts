<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="de_DE">
<context>
    <name>Csv</name>
    <message>
        <source>The file "%1" is not a table of names: it is not UTF-8 text.</source>
        <translation>Die Datei „%1“ ist keine Namenstabelle: sie ist kein UTF-8-Text.</translation>
    </message>
    <message>
        <source>The file "%1" is not a table of names: %2 at line %3.</source>
        <translation>Die Datei „%1“ ist keine Namenstabelle: %2 in Zeile %3.</translation>
    </message>
    <message>
        <source>a quoted field is never closed</source>
        <translation>ein Feld in Anführungszeichen wird nie geschlossen</translation>
    </message>
    <message>
        <source>text follows a closing quote</source>
        <translation>Text folgt auf ein schließendes Anführungszeichen</translation>
    </message>
</context>
<context>
    <name>EFileError</name>
    <message>
        <source>Cannot open file "%1". %2</source>
        <translation>Die Datei „%1“ kann nicht geöffnet werden. %2</translation>
    </message>
    <message>
        <source>Cannot create file "%1". %2</source>
        <translation>Die Datei „%1“ kann nicht erstellt werden. %2</translation>
    </message>
    <message>
        <source>Cannot write file "%1". %2</source>
        <translation>Die Datei „%1“ kann nicht geschrieben werden. %2</translation>
    </message>
    <message>
        <source>Cannot read file "%1". %2</source>
        <translation>Die Datei „%1“ kann nicht gelesen werden. %2</translation>
    </message>
</context>
<context>
    <name>EarlierLibrary</name>
    <message>
        <source>The file changed while it was being read.</source>
        <translation>Die Datei hat sich beim Lesen geändert.</translation>
    </message>
</context>
<context>
    <name>ExtractInstall</name>
    <message>
        <source>Cannot move the earlier library folder "%1" aside.</source>
        <translation>Der frühere Bibliotheksordner „%1“ kann nicht beiseitegeschoben werden.</translation>
    </message>
    <message>
        <source>Cannot put the library folder "%1" in place.</source>
        <translation>Der Bibliotheksordner „%1“ kann nicht an seinen Platz gebracht werden.</translation>
    </message>
    <message>
        <source>Cannot put the project document "%1" in place.</source>
        <translation>Das Projektdokument „%1“ kann nicht an seinen Platz gebracht werden.</translation>
    </message>
    <message>
        <source>%1 The earlier library folder could not be put back and is kept in "%2".</source>
        <translation>%1 Der frühere Bibliotheksordner konnte nicht zurückgelegt werden und wird in „%2“ aufbewahrt.</translation>
    </message>
</context>
<context>
    <name>GlyphbookExtract</name>
    <message>
        <source>The archive "%1" holds the entry "%2", which would be written outside the library folder. Nothing was extracted.</source>
        <translation>Das Archiv „%1“ enthält den Eintrag „%2“, der außerhalb des Bibliotheksordners geschrieben würde. Es wurde nichts entpackt.</translation>
    </message>
    <message>
        <source>The archive "%1" holds the entry "%2", whose name holds a line break, which no project document can keep. Nothing was extracted.</source>
        <translation>Das Archiv „%1“ enthält den Eintrag „%2“, dessen Name einen Zeilenumbruch enthält, den kein Projektdokument bewahren kann. Es wurde nichts entpackt.</translation>
    </message>
    <message>
        <source>The archive "%1" holds the entries "%2" and "%3", which would both be written as "%4". Nothing was extracted.</source>
        <translation>Das Archiv „%1“ enthält die Einträge „%2“ und „%3“, die beide als „%4“ geschrieben würden. Es wurde nichts entpackt.</translation>
    </message>
    <message>
        <source>The archive "%1" does not fit on the disk of "%2": its files need more than the %3 that may be used there (%4 free, less a margin of %5). Nothing was extracted.</source>
        <translation>Das Archiv „%1“ passt nicht auf den Datenträger von „%2“: seine Dateien brauchen mehr als die %3, die dort belegt werden dürfen (%4 frei, abzüglich einer Reserve von %5). Es wurde nichts entpackt.</translation>
    </message>
    <message>
        <source>Its folder cannot be made.</source>
        <translation>Ihr Ordner kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The packed library "%1" holds no usable %2. %3</source>
        <translation>Die gepackte Bibliothek „%1“ enthält kein brauchbares %2. %3</translation>
    </message>
    <message>
        <source>The project "%1" is not the result of an earlier extraction into "%2": its images lie elsewhere, so it is most likely the project this archive was packed from. Extracting here would replace it; nothing was extracted.</source>
        <translation>Das Projekt „%1“ stammt nicht aus einem früheren Entpacken nach „%2“: seine Bilder liegen anderswo, es ist also wahrscheinlich das Projekt, aus dem dieses Archiv gepackt wurde. Entpacken an dieser Stelle würde es ersetzen; es wurde nichts entpackt.</translation>
    </message>
    <message>
        <source>The folder cannot be made.</source>
        <translation>Der Ordner kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>No such file.</source>
        <translation>Die Datei existiert nicht.</translation>
    </message>
    <message>
        <source>Cannot extract "%1": %2</source>
        <translation>„%1“ kann nicht entpackt werden: %2</translation>
    </message>
    <message>
        <source>a packed library's name must not begin with ".".</source>
        <translation>der Name einer gepackten Bibliothek darf nicht mit „.“ beginnen.</translation>
    </message>
    <message>
        <source>the library folder would be the archive itself. Give the archive a name ending in .tar.gz.</source>
        <translation>der Bibliotheksordner wäre das Archiv selbst. Geben Sie dem Archiv einen Namen, der auf .tar.gz endet.</translation>
    </message>
    <message>
        <source>the project document would be the archive itself. Give the archive a name ending in .tar.gz.</source>
        <translation>das Projektdokument wäre das Archiv selbst. Geben Sie dem Archiv einen Namen, der auf .tar.gz endet.</translation>
    </message>
    <message>
        <source>the file "%1" stands where its library folder would be. Move or rename that file, or extract into another folder.</source>
        <translation>die Datei „%1“ steht dort, wo der Bibliotheksordner des Archivs wäre. Verschieben Sie diese Datei oder benennen Sie sie um, oder entpacken Sie in einen anderen Ordner.</translation>
    </message>
    <message>
        <source>a folder has the name of its project document, "%1".</source>
        <translation>ein Ordner trägt den Namen des Projektdokuments des Archivs, „%1“.</translation>
    </message>
    <message>
        <source>Cannot extract into "%1": there is no such folder.</source>
        <translation>Entpacken nach „%1“ nicht möglich: dieser Ordner existiert nicht.</translation>
    </message>
    <message>
        <source>Glyphbook.js not found. Could not open symbol library.</source>
        <translation>Glyphbook.js nicht gefunden. Die Symbolbibliothek konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>the name of its library folder would not be UTF-8 text, so the project document could not name its pictures. Give the archive a name in UTF-8.</source>
        <translation>der Name seines Bibliotheksordners wäre kein UTF-8-Text, daher könnte das Projektdokument seine Bilder nicht benennen. Geben Sie dem Archiv einen Namen in UTF-8.</translation>
    </message>
    <message>
        <source>the path of its library folder, "%1", is not UTF-8 text, so the project document could not name its pictures. Extract into another folder.</source>
        <translation>der Pfad seines Bibliotheksordners, „%1“, ist kein UTF-8-Text, daher könnte das Projektdokument seine Bilder nicht benennen. Entpacken Sie in einen anderen Ordner.</translation>
    </message>
</context>
<context>
    <name>GlyphbookPack</name>
    <message>
        <source>Cannot pack into "%1": it is the project document. Choose another name for the archive.</source>
        <translation>In „%1“ kann nicht gepackt werden: das ist das Projektdokument. Wählen Sie einen anderen Namen für das Archiv.</translation>
    </message>
    <message>
        <source>Cannot pack into "%1": it is an image of the library. Choose another name for the archive.</source>
        <translation>In „%1“ kann nicht gepackt werden: das ist ein Bild der Bibliothek. Wählen Sie einen anderen Namen für das Archiv.</translation>
    </message>
    <message>
        <source>File "%1" is missing</source>
        <translation>Datei „%1“ fehlt</translation>
    </message>
    <message>
        <source>It is a folder.</source>
        <translation>Es ist ein Ordner.</translation>
    </message>
</context>
<context>
    <name>GzipStream</name>
    <message>
        <source>The compression failed.</source>
        <translation>Die Komprimierung ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Cannot write the compressed data. %1</source>
        <translation>Die komprimierten Daten können nicht geschrieben werden. %1</translation>
    </message>
    <message>
        <source>Not enough memory to start the decompression.</source>
        <translation>Nicht genug Speicher, um die Dekomprimierung zu starten.</translation>
    </message>
    <message>
        <source>Cannot read file "%1". %2</source>
        <translation>Die Datei „%1“ kann nicht gelesen werden. %2</translation>
    </message>
    <message>
        <source>The file "%1" is not gzip-compressed.</source>
        <translation>Die Datei „%1“ ist nicht gzip-komprimiert.</translation>
    </message>
    <message>
        <source>The file "%1" is damaged: unexpected data after its end.</source>
        <translation>Die Datei „%1“ ist beschädigt: unerwartete Daten nach ihrem Ende.</translation>
    </message>
    <message>
        <source>The file "%1" is damaged: it ends before the end of its compressed data.</source>
        <translation>Die Datei „%1“ ist beschädigt: sie endet vor dem Ende ihrer komprimierten Daten.</translation>
    </message>
    <message>
        <source>The file "%1" is damaged: %2.</source>
        <translation>Die Datei „%1“ ist beschädigt: %2.</translation>
    </message>
    <message>
        <source>invalid data</source>
        <translation>ungültige Daten</translation>
    </message>
</context>
<context>
    <name>IntegerText</name>
    <message>
        <source>'%1' is not a valid integer value</source>
        <translation>'%1' ist kein gültiger Ganzzahlwert</translation>
    </message>
</context>
<context>
    <name>LibTar</name>
    <message>
        <source>Cannot add "%1" to the archive "%2": an entry of %3 bytes does not fit a tar header (the limit is 8 GiB).</source>
        <translation>„%1“ kann nicht zum Archiv „%2“ hinzugefügt werden: ein Eintrag von %3 Byte passt in keinen tar-Kopf (die Grenze liegt bei 8 GiB).</translation>
    </message>
    <message>
        <source>Cannot write to the archive "%1". %2</source>
        <translation>In das Archiv „%1“ kann nicht geschrieben werden. %2</translation>
    </message>
    <message>
        <source>The archive "%1" is damaged: the entry "%2" at position %3 claims %4 bytes of data.</source>
        <translation>Das Archiv „%1“ ist beschädigt: der Eintrag „%2“ an Position %3 gibt %4 Byte Daten an.</translation>
    </message>
    <message>
        <source>The archive "%1" is damaged: it ends inside the data of an entry.</source>
        <translation>Das Archiv „%1“ ist beschädigt: es endet mitten in den Daten eines Eintrags.</translation>
    </message>
    <message>
        <source>The archive "%1" is damaged: a long name of %2 bytes.</source>
        <translation>Das Archiv „%1“ ist beschädigt: ein langer Name von %2 Byte.</translation>
    </message>
</context>
<context>
    <name>NamesTable</name>
    <message>
        <source>The file "%1" is not a table of names: %2</source>
        <translation>Die Datei „%1“ ist keine Namenstabelle: %2</translation>
    </message>
    <message>
        <source>its first row must begin with the column "Identifier".</source>
        <translation>ihre erste Zeile muss mit der Spalte „Identifier“ beginnen.</translation>
    </message>
    <message>
        <source>a column of its first row has no language code.</source>
        <translation>eine Spalte ihrer ersten Zeile hat keinen Sprachcode.</translation>
    </message>
    <message>
        <source>the language "%1" has two columns.</source>
        <translation>die Sprache „%1“ hat zwei Spalten.</translation>
    </message>
    <message>
        <source>row %1 has more cells than the first row has columns.</source>
        <translation>Zeile %1 hat mehr Zellen, als die erste Zeile Spalten hat.</translation>
    </message>
    <message>
        <source>the identifier "%1" has two rows (%2 and %3).</source>
        <translation>der Bezeichner „%1“ hat zwei Zeilen (%2 und %3).</translation>
    </message>
    <message>
        <source>the identifier "%1" belongs to %2 symbols of the library, so its names cannot be told apart.</source>
        <translation>der Bezeichner „%1“ gehört zu %2 Symbolen der Bibliothek, daher lassen sich ihre Namen nicht auseinanderhalten.</translation>
    </message>
</context>
<context>
    <name>PackCallbacks</name>
    <message>
        <source>Overwrite existing?</source>
        <translation>Vorhandene überschreiben?</translation>
    </message>
</context>
<context>
    <name>ProjectFiles</name>
    <message>
        <source>It is the project itself.</source>
        <translation>Es ist das Projekt selbst.</translation>
    </message>
    <message>
        <source>It is one of the library's pictures.</source>
        <translation>Es ist eines der Bilder der Bibliothek.</translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Verwerfen</translation>
    </message>
</context>
<context>
    <name>SymbolCommands</name>
    <message>
        <source>Move Points</source>
        <translation>Punkte verschieben</translation>
    </message>
    <message>
        <source>Move Text Point</source>
        <translation>Textpunkt verschieben</translation>
    </message>
    <message>
        <source>Move Anchor</source>
        <translation>Ankerpunkt verschieben</translation>
    </message>
    <message>
        <source>Delete Symbol</source>
        <translation>Symbol löschen</translation>
    </message>
</context>
<context>
    <name>TBatchImportDialog</name>
    <message>
        <source>Add New Symbols</source>
        <translation>Neue Symbole hinzufügen</translation>
    </message>
    <message>
        <source>Symbol</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>States</source>
        <translation>Zustände</translation>
    </message>
    <message>
        <source>Group state pictures into one symbol per family</source>
        <translation>Zustandsbilder zu einem Symbol je Familie gruppieren</translation>
    </message>
    <message>
        <source>NAME.png is the main picture; NAME_1.png, NAME_alarm.png, NAME_mo.png and NAME_mo_off.png are the pictures of the states 1, Alarm, MO and MO_Off</source>
        <translation>NAME.png ist das Hauptbild; NAME_1.png, NAME_alarm.png, NAME_mo.png und NAME_mo_off.png sind die Bilder der Zustände 1, Alarm, MO und MO_Off</translation>
    </message>
    <message>
        <source>Add Symbols</source>
        <translation>Symbole hinzufügen</translation>
    </message>
    <message>
        <source>%1 pictures make %2 new %3:</source>
        <translation>%1 Bilder ergeben %2 %3:</translation>
    </message>
    <message>
        <source>symbol</source>
        <translation>neues Symbol</translation>
    </message>
    <message>
        <source>symbols</source>
        <translation>neue Symbole</translation>
    </message>
</context>
<context>
    <name>TCheckLibraryWindow</name>
    <message>
        <source>Symbol</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>Finding</source>
        <translation>Befund</translation>
    </message>
    <message>
        <source>Check Library</source>
        <translation>Bibliothek prüfen</translation>
    </message>
    <message>
        <source>Double click to select the symbol</source>
        <translation>Doppelklick wählt das Symbol</translation>
    </message>
    <message>
        <source>No problems found.</source>
        <translation>Keine Probleme gefunden.</translation>
    </message>
    <message>
        <source>%1 %2 in %3 %4.</source>
        <translation>%1 %2 in %3 %4.</translation>
    </message>
    <message>
        <source>finding</source>
        <translation>Befund</translation>
    </message>
    <message>
        <source>findings</source>
        <translation>Befunde</translation>
    </message>
    <message>
        <source>symbol</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>symbols</source>
        <translation>Symbolen</translation>
    </message>
</context>
<context>
    <name>TImageStripPanel</name>
    <message>
        <source>Images</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>Add Image</source>
        <translation>Bild hinzufügen</translation>
    </message>
    <message>
        <source>Delete Image</source>
        <translation>Bild löschen</translation>
    </message>
    <message>
        <source>Set Default Image</source>
        <translation>Standardbild festlegen</translation>
    </message>
    <message>
        <source>Change Image Value</source>
        <translation>Bildwert ändern</translation>
    </message>
    <message>
        <source>Replace Image</source>
        <translation>Bild ersetzen</translation>
    </message>
    <message>
        <source>Add Images</source>
        <translation>Bilder hinzufügen</translation>
    </message>
    <message>
        <source>Adds a state image to the selected symbol</source>
        <translation>Fügt dem gewählten Symbol ein Zustandsbild hinzu</translation>
    </message>
    <message>
        <source>Deletes the marked state image</source>
        <translation>Löscht das markierte Zustandsbild</translation>
    </message>
    <message>
        <source>The selected symbol's images: a click shows one, a double click replaces it</source>
        <translation>Die Bilder des gewählten Symbols: ein Klick zeigt eines, ein Doppelklick ersetzt es</translation>
    </message>
</context>
<context>
    <name>TJsonParser</name>
    <message>
        <source>the array is not closed</source>
        <translation>das Array wird nicht geschlossen</translation>
    </message>
    <message>
        <source>',' or ']' is expected</source>
        <translation>',' oder ']' wird erwartet</translation>
    </message>
    <message>
        <source>a member name is too long</source>
        <translation>ein Elementname ist zu lang</translation>
    </message>
    <message>
        <source>values nest deeper than 32 levels</source>
        <translation>Werte sind tiefer als 32 Ebenen verschachtelt</translation>
    </message>
    <message>
        <source>the text ends inside a value</source>
        <translation>der Text endet mitten in einem Wert</translation>
    </message>
    <message>
        <source>malformed number</source>
        <translation>fehlerhafte Zahl</translation>
    </message>
    <message>
        <source>the text ends inside a string</source>
        <translation>der Text endet mitten in einer Zeichenkette</translation>
    </message>
    <message>
        <source>malformed escape in a string</source>
        <translation>fehlerhafte Escape-Sequenz in einer Zeichenkette</translation>
    </message>
    <message>
        <source>a member name is expected</source>
        <translation>ein Elementname wird erwartet</translation>
    </message>
    <message>
        <source>the text ends inside a member name</source>
        <translation>der Text endet mitten in einem Elementnamen</translation>
    </message>
    <message>
        <source>':' is expected after a member name</source>
        <translation>':' wird nach einem Elementnamen erwartet</translation>
    </message>
    <message>
        <source>the object is not closed</source>
        <translation>das Objekt wird nicht geschlossen</translation>
    </message>
    <message>
        <source>',' or '}' is expected</source>
        <translation>',' oder '}' wird erwartet</translation>
    </message>
</context>
<context>
    <name>TLibraryCheck</name>
    <message>
        <source>repeated identifier "%1"</source>
        <translation>wiederholter Bezeichner "%1"</translation>
    </message>
    <message>
        <source>no name in the language "%1"</source>
        <translation>kein Name in der Sprache "%1"</translation>
    </message>
    <message>
        <source>state value "%1" is neither an integer nor Alarm, MO_Off or MO</source>
        <translation>Zustandswert "%1" ist weder eine ganze Zahl noch Alarm, MO_Off oder MO</translation>
    </message>
    <message>
        <source>state value "%1" stands for the same state as state %2</source>
        <translation>Zustandswert "%1" steht für denselben Zustand wie Zustand %2</translation>
    </message>
    <message>
        <source>missing image file "%1"</source>
        <translation>Bilddatei "%1" fehlt</translation>
    </message>
    <message>
        <source>image file "%1" cannot be read as a picture</source>
        <translation>Bilddatei "%1" kann nicht als Bild gelesen werden</translation>
    </message>
    <message>
        <source>image name too long, shortened when packed: "%1" becomes "%2"</source>
        <translation>Bildname zu lang, beim Packen gekürzt: "%1" wird zu "%2"</translation>
    </message>
    <message>
        <source>image name clashes with another image's, renamed when packed: "%1" becomes "%2"</source>
        <translation>Bildname kollidiert mit dem eines anderen Bildes, beim Packen umbenannt: "%1" wird zu "%2"</translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>These files are not pictures and were not added:
%1</source>
        <translation>Diese Dateien sind keine Bilder und wurden nicht hinzugefügt:
%1</translation>
    </message>
    <message>
        <source>Glyphbook project|*.js</source>
        <translation>Glyphbook-Projekt|*.js</translation>
    </message>
    <message>
        <source>All (*.png;*.gif;*.jpg;*.jpeg;*.png;*.bmp)|*.png;*.gif;*.jpg;*.jpeg;*.png;*.bmp;|Portable network graphics (*.png)|*.png|GIF Image (*.gif)|*.gif|JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg</source>
        <translation>Alle (*.png;*.gif;*.jpg;*.jpeg;*.png;*.bmp)|*.png;*.gif;*.jpg;*.jpeg;*.png;*.bmp;|PNG-Bild (*.png)|*.png|GIF-Bild (*.gif)|*.gif|JPEG-Bild (*.jpg)|*.jpg|JPEG-Bild (*.jpeg)|*.jpeg</translation>
    </message>
    <message>
        <source>Symbol library|*.tar.gz</source>
        <translation>Symbolbibliothek|*.tar.gz</translation>
    </message>
    <message>
        <source>Table of names (CSV)|*.csv</source>
        <translation>Namenstabelle (CSV)|*.csv</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Open Project</source>
        <translation>Projekt öffnen</translation>
    </message>
    <message>
        <source>Save Project</source>
        <translation>Projekt speichern</translation>
    </message>
    <message>
        <source>Extract Glyphbook</source>
        <translation>Glyphbook entpacken</translation>
    </message>
    <message>
        <source>Pack Glyphbook</source>
        <translation>Glyphbook packen</translation>
    </message>
    <message>
        <source>New Project</source>
        <translation>Neues Projekt</translation>
    </message>
    <message>
        <source>Export Names...</source>
        <translation>Namen exportieren...</translation>
    </message>
    <message>
        <source>Import Names...</source>
        <translation>Namen importieren...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Symbol</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>Add New Symbol</source>
        <translation>Neues Symbol hinzufügen</translation>
    </message>
    <message>
        <source>Duplicate Symbol</source>
        <translation>Symbol duplizieren</translation>
    </message>
    <message>
        <source>Delete Symbol</source>
        <translation>Symbol löschen</translation>
    </message>
    <message>
        <source>Check Library</source>
        <translation>Bibliothek prüfen</translation>
    </message>
    <message>
        <source>Locate Missing Images...</source>
        <translation>Fehlende Bilder suchen...</translation>
    </message>
    <message>
        <source>Languages</source>
        <translation>Sprachen</translation>
    </message>
    <message>
        <source>Examples</source>
        <translation>Beispiele</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
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
        <source>At most %1 languages can be shown at once. Not shown: %2.</source>
        <translation>Höchstens %1 Sprachen können gleichzeitig angezeigt werden. Nicht angezeigt: %2.</translation>
    </message>
    <message>
        <source>No image of the library is missing.</source>
        <translation>Kein Bild der Bibliothek fehlt.</translation>
    </message>
    <message>
        <source>Locate Missing Images</source>
        <translation>Fehlende Bilder suchen</translation>
    </message>
    <message>
        <source>Found %1 of %2 missing images in %3.</source>
        <translation>%1 von %2 fehlenden Bildern in %3 gefunden.</translation>
    </message>
    <message>
        <source>

Still missing:
</source>
        <translation>

Fehlen weiterhin:
</translation>
    </message>
    <message>
        <source>Import Names</source>
        <translation>Namen importieren</translation>
    </message>
    <message>
        <source>Names changed: %1.</source>
        <translation>Geänderte Namen: %1.</translation>
    </message>
    <message>
        <source>
Languages added: %1.</source>
        <translation>
Hinzugefügte Sprachen: %1.</translation>
    </message>
    <message>
        <source>"%1" (row %2)</source>
        <translation>„%1“ (Zeile %2)</translation>
    </message>
    <message>
        <source>
Rows skipped, no symbol has their identifier: %1.</source>
        <translation>
Übersprungene Zeilen, kein Symbol hat ihren Bezeichner: %1.</translation>
    </message>
    <message>
        <source>Yes replaces:
</source>
        <translation>Ja ersetzt:
</translation>
    </message>
    <message>
        <source>Packing the symbol library...</source>
        <translation>Symbolbibliothek wird gepackt...</translation>
    </message>
    <message>
        <source>One image used by a dialog is missing. The symbol library can therfore not be created. </source>
        <translation>Ein verwendetes Bild fehlt. Die Symbolbibliothek kann daher nicht erstellt werden. </translation>
    </message>
    <message>
        <source>Extracting the symbol library...</source>
        <translation>Symbolbibliothek wird entpackt...</translation>
    </message>
    <message>
        <source>

Choose another folder to extract into?</source>
        <translation>

Einen anderen Ordner zum Entpacken wählen?</translation>
    </message>
    <message>
        <source>Extract into</source>
        <translation>Entpacken nach</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 existiert bereits.
Möchten Sie die Datei ersetzen?</translation>
    </message>
    <message>
        <source>Add Symbol</source>
        <translation>Symbol hinzufügen</translation>
    </message>
    <message>
        <source>Add Symbols</source>
        <translation>Symbole hinzufügen</translation>
    </message>
    <message>
        <source>Place Point</source>
        <translation>Punkt setzen</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Ansicht</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Actual Size</source>
        <translation>Originalgröße</translation>
    </message>
    <message>
        <source>Find...</source>
        <translation>Suchen...</translation>
    </message>
    <message>
        <source>The file "%1" cannot be read as a picture.</source>
        <translation>Die Datei „%1“ kann nicht als Bild gelesen werden.</translation>
    </message>
    <message>
        <source>Open Recent</source>
        <translation>Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>Clear List</source>
        <translation>Liste leeren</translation>
    </message>
    <message>
        <source>The project "%1" no longer exists. It was taken off the list of recent projects.</source>
        <translation>Das Projekt „%1“ existiert nicht mehr. Es wurde aus der Liste der zuletzt geöffneten Projekte entfernt.</translation>
    </message>
    <message>
        <source>Top Left</source>
        <translation>Oben links</translation>
    </message>
    <message>
        <source>Top Center</source>
        <translation>Oben Mitte</translation>
    </message>
    <message>
        <source>Top Right</source>
        <translation>Oben rechts</translation>
    </message>
    <message>
        <source>Middle Left</source>
        <translation>Mitte links</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Mitte</translation>
    </message>
    <message>
        <source>Middle Right</source>
        <translation>Mitte rechts</translation>
    </message>
    <message>
        <source>Bottom Left</source>
        <translation>Unten links</translation>
    </message>
    <message>
        <source>Bottom Center</source>
        <translation>Unten Mitte</translation>
    </message>
    <message>
        <source>Bottom Right</source>
        <translation>Unten rechts</translation>
    </message>
</context>
<context>
    <name>TRecoveryCopy</name>
    <message>
        <source>The file "%1" is missing.</source>
        <translation>Die Datei „%1“ fehlt.</translation>
    </message>
</context>
<context>
    <name>TSymbolImgPanel</name>
    <message>
        <source>Värde</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>When is image shown?</source>
        <translation>Wann wird das Bild gezeigt?</translation>
    </message>
    <message>
        <source>State value</source>
        <translation>Zustandswert</translation>
    </message>
    <message>
        <source>Value type</source>
        <translation>Werttyp</translation>
    </message>
    <message>
        <source>Space shows the image; Return replaces it</source>
        <translation>Leertaste zeigt das Bild; Eingabe ersetzt es</translation>
    </message>
    <message>
        <source>Main image</source>
        <translation>Hauptbild</translation>
    </message>
    <message>
        <source>State image %1</source>
        <translation>Zustandsbild %1</translation>
    </message>
</context>
<context>
    <name>TSymbolListPanel</name>
    <message>
        <source>Double click to add new symbol</source>
        <translation>Doppelklick fügt ein neues Symbol hinzu</translation>
    </message>
    <message>
        <source>Identifier</source>
        <translation>Bezeichner</translation>
    </message>
    <message>
        <source>Find identifier or name</source>
        <translation>Bezeichner oder Namen suchen</translation>
    </message>
    <message>
        <source>Missing names</source>
        <translation>Fehlende Namen</translation>
    </message>
    <message>
        <source>Show only symbols that lack a name in a shown language</source>
        <translation>Nur Symbole zeigen, denen ein Name in einer angezeigten Sprache fehlt</translation>
    </message>
    <message>
        <source>Close the find bar (Esc)</source>
        <translation>Suchleiste schließen (Esc)</translation>
    </message>
    <message>
        <source>Symbols</source>
        <translation>Symbole</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Shows only the symbols whose identifier or a name contains this text</source>
        <translation>Zeigt nur die Symbole, deren Bezeichner oder Name diesen Text enthält</translation>
    </message>
    <message>
        <source>Clear the find field</source>
        <translation>Suchfeld leeren</translation>
    </message>
    <message>
        <source>Clears the find field</source>
        <translation>Leert das Suchfeld</translation>
    </message>
    <message>
        <source>Close the find bar</source>
        <translation>Suchleiste schließen</translation>
    </message>
</context>
<context>
    <name>TSymbolPreviewPanel</name>
    <message>
        <source>Example Text</source>
        <translation>Beispieltext</translation>
    </message>
    <message>
        <source>Show Cross</source>
        <translation>Kreuz</translation>
    </message>
    <message>
        <source>Show Text Cross</source>
        <translation>Textkreuz</translation>
    </message>
    <message>
        <source>Example text</source>
        <translation>Beispieltext</translation>
    </message>
    <message>
        <source>Shows the anchor point's cross over the grid</source>
        <translation>Zeigt das Kreuz des Ankerpunkts über dem Raster</translation>
    </message>
    <message>
        <source>Shows the text point's cross</source>
        <translation>Zeigt das Kreuz des Textpunkts</translation>
    </message>
    <message>
        <source>Symbol preview</source>
        <translation>Symbolvorschau</translation>
    </message>
    <message>
        <source>Shift and the left button place the anchor point, Shift and the right button the text point; dragging the picture or the text moves them</source>
        <translation>Umschalt und die linke Taste setzen den Ankerpunkt, Umschalt und die rechte Taste den Textpunkt; Ziehen des Bildes oder des Textes verschiebt sie</translation>
    </message>
    <message>
        <source>The selected symbol's picture placed by its anchor point on the grid's origin, with the example text at its text point</source>
        <translation>Das Bild des gewählten Symbols, mit seinem Ankerpunkt auf den Ursprung des Rasters gesetzt, mit dem Beispieltext an seinem Textpunkt</translation>
    </message>
</context>
<context>
    <name>TSymbolSettingsPanel</name>
    <message>
        <source>Symbol Settings</source>
        <translation>Symboleinstellungen</translation>
    </message>
    <message>
        <source>Identifier</source>
        <translation>Bezeichner</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Anchorpoint</source>
        <translation>Ankerpunkt</translation>
    </message>
    <message>
        <source>Textpoint</source>
        <translation>Textpunkt</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Y</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>Symbol</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Mitte</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>Edit Identifier</source>
        <translation>Bezeichner bearbeiten</translation>
    </message>
    <message>
        <source>Edit Anchor</source>
        <translation>Ankerpunkt bearbeiten</translation>
    </message>
    <message>
        <source>Edit Text Point</source>
        <translation>Textpunkt bearbeiten</translation>
    </message>
    <message>
        <source>Change Alignment</source>
        <translation>Ausrichtung ändern</translation>
    </message>
    <message>
        <source>Change Symbol Flag</source>
        <translation>Symbolkennzeichen ändern</translation>
    </message>
    <message>
        <source>Edit Name</source>
        <translation>Namen bearbeiten</translation>
    </message>
    <message>
        <source>Edit Symbol</source>
        <translation>Symbol bearbeiten</translation>
    </message>
    <message>
        <source>The symbol's identifier</source>
        <translation>Der Bezeichner des Symbols</translation>
    </message>
    <message>
        <source>Move the point up</source>
        <translation>Punkt nach oben verschieben</translation>
    </message>
    <message>
        <source>Moves the chosen point one pixel up</source>
        <translation>Verschiebt den gewählten Punkt um ein Pixel nach oben</translation>
    </message>
    <message>
        <source>Move the point down</source>
        <translation>Punkt nach unten verschieben</translation>
    </message>
    <message>
        <source>Moves the chosen point one pixel down</source>
        <translation>Verschiebt den gewählten Punkt um ein Pixel nach unten</translation>
    </message>
    <message>
        <source>Move the point left</source>
        <translation>Punkt nach links verschieben</translation>
    </message>
    <message>
        <source>Moves the chosen point one pixel left</source>
        <translation>Verschiebt den gewählten Punkt um ein Pixel nach links</translation>
    </message>
    <message>
        <source>Move the point right</source>
        <translation>Punkt nach rechts verschieben</translation>
    </message>
    <message>
        <source>Moves the chosen point one pixel right</source>
        <translation>Verschiebt den gewählten Punkt um ein Pixel nach rechts</translation>
    </message>
    <message>
        <source>The arrows and the mouse place the anchor point</source>
        <translation>Pfeile und Maus setzen den Ankerpunkt</translation>
    </message>
    <message>
        <source>The arrows and the mouse place the text point</source>
        <translation>Pfeile und Maus setzen den Textpunkt</translation>
    </message>
    <message>
        <source>Anchor point X</source>
        <translation>Ankerpunkt X</translation>
    </message>
    <message>
        <source>The anchor point's position across the picture, in pixels</source>
        <translation>Die waagerechte Lage des Ankerpunkts im Bild, in Pixeln</translation>
    </message>
    <message>
        <source>Anchor point Y</source>
        <translation>Ankerpunkt Y</translation>
    </message>
    <message>
        <source>The anchor point's position down the picture, in pixels</source>
        <translation>Die senkrechte Lage des Ankerpunkts im Bild, in Pixeln</translation>
    </message>
    <message>
        <source>Text point X</source>
        <translation>Textpunkt X</translation>
    </message>
    <message>
        <source>The text point's position across, in pixels</source>
        <translation>Die waagerechte Lage des Textpunkts, in Pixeln</translation>
    </message>
    <message>
        <source>Text point Y</source>
        <translation>Textpunkt Y</translation>
    </message>
    <message>
        <source>The text point's position down, in pixels</source>
        <translation>Die senkrechte Lage des Textpunkts, in Pixeln</translation>
    </message>
    <message>
        <source>A symbol has a text point and state images; a plain image has neither</source>
        <translation>Ein Symbol hat einen Textpunkt und Zustandsbilder; ein einfaches Bild hat keines davon</translation>
    </message>
    <message>
        <source>Text alignment</source>
        <translation>Textausrichtung</translation>
    </message>
    <message>
        <source>How the text stands at the text point</source>
        <translation>Wie der Text am Textpunkt steht</translation>
    </message>
    <message>
        <source>Name (%1)</source>
        <translation>Name (%1)</translation>
    </message>
    <message>
        <source>The symbol's name in the language %1</source>
        <translation>Der Name des Symbols in der Sprache %1</translation>
    </message>
</context>
<context>
    <name>ViraSymbolDocument</name>
    <message>
        <source>The file "%1" is not a library document: %2.</source>
        <translation>Die Datei „%1“ ist kein Bibliotheksdokument: %2.</translation>
    </message>
    <message>
        <source>it is not UTF-8 text</source>
        <translation>sie ist kein UTF-8-Text</translation>
    </message>
    <message>
        <source>%1 at line %2, column %3</source>
        <translation>%1 in Zeile %2, Spalte %3</translation>
    </message>
    <message>
        <source>it has no "GLYPHBOOK" member</source>
        <translation>sie hat kein Element „GLYPHBOOK“</translation>
    </message>
</context>
<context>
    <name>WorkFolder</name>
    <message>
        <source>Its lock file cannot be made.</source>
        <translation>Seine Sperrdatei kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Cannot create a temporary folder in "%1". %2</source>
        <translation>In „%1“ kann kein temporärer Ordner angelegt werden. %2</translation>
    </message>
</context>
</TS>