<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="sv_SE">
<context>
    <name>Csv</name>
    <message>
        <source>The file "%1" is not a table of names: it is not UTF-8 text.</source>
        <translation>Filen "%1" är ingen namntabell: den är inte UTF-8-text.</translation>
    </message>
    <message>
        <source>The file "%1" is not a table of names: %2 at line %3.</source>
        <translation>Filen "%1" är ingen namntabell: %2 på rad %3.</translation>
    </message>
    <message>
        <source>a quoted field is never closed</source>
        <translation>ett citerat fält avslutas aldrig</translation>
    </message>
    <message>
        <source>text follows a closing quote</source>
        <translation>text följer efter ett avslutande citattecken</translation>
    </message>
</context>
<context>
    <name>EFileError</name>
    <message>
        <source>Cannot open file "%1". %2</source>
        <translation>Det går inte att öppna filen "%1". %2</translation>
    </message>
    <message>
        <source>Cannot create file "%1". %2</source>
        <translation>Det går inte att skapa filen "%1". %2</translation>
    </message>
    <message>
        <source>Cannot write file "%1". %2</source>
        <translation>Det går inte att skriva filen "%1". %2</translation>
    </message>
    <message>
        <source>Cannot read file "%1". %2</source>
        <translation>Det går inte att läsa filen "%1". %2</translation>
    </message>
</context>
<context>
    <name>EarlierLibrary</name>
    <message>
        <source>The file changed while it was being read.</source>
        <translation>Filen ändrades medan den lästes.</translation>
    </message>
</context>
<context>
    <name>ExtractInstall</name>
    <message>
        <source>Cannot move the earlier library folder "%1" aside.</source>
        <translation>Det går inte att flytta undan den tidigare biblioteksmappen "%1".</translation>
    </message>
    <message>
        <source>Cannot put the library folder "%1" in place.</source>
        <translation>Det går inte att flytta biblioteksmappen "%1" på plats.</translation>
    </message>
    <message>
        <source>Cannot put the project document "%1" in place.</source>
        <translation>Det går inte att flytta projektdokumentet "%1" på plats.</translation>
    </message>
    <message>
        <source>%1 The earlier library folder could not be put back and is kept in "%2".</source>
        <translation>%1 Den tidigare biblioteksmappen kunde inte flyttas tillbaka och finns kvar i "%2".</translation>
    </message>
</context>
<context>
    <name>GlyphbookExtract</name>
    <message>
        <source>The archive "%1" holds the entry "%2", which would be written outside the library folder. Nothing was extracted.</source>
        <translation>Arkivet "%1" innehåller posten "%2", som skulle skrivas utanför biblioteksmappen. Ingenting packades upp.</translation>
    </message>
    <message>
        <source>The archive "%1" holds the entry "%2", whose name holds a line break, which no project document can keep. Nothing was extracted.</source>
        <translation>Arkivet "%1" innehåller posten "%2", vars namn innehåller en radbrytning som inget projektdokument kan bevara. Ingenting packades upp.</translation>
    </message>
    <message>
        <source>The archive "%1" holds the entries "%2" and "%3", which would both be written as "%4". Nothing was extracted.</source>
        <translation>Arkivet "%1" innehåller posterna "%2" och "%3", som båda skulle skrivas som "%4". Ingenting packades upp.</translation>
    </message>
    <message>
        <source>The archive "%1" does not fit on the disk of "%2": its files need more than the %3 that may be used there (%4 free, less a margin of %5). Nothing was extracted.</source>
        <translation>Arkivet "%1" får inte plats på disken för "%2": dess filer behöver mer än de %3 som får användas där (%4 ledigt, minus en marginal på %5). Ingenting packades upp.</translation>
    </message>
    <message>
        <source>Its folder cannot be made.</source>
        <translation>Dess mapp kan inte skapas.</translation>
    </message>
    <message>
        <source>The packed library "%1" holds no usable %2. %3</source>
        <translation>Det packade biblioteket "%1" innehåller ingen användbar %2. %3</translation>
    </message>
    <message>
        <source>The project "%1" is not the result of an earlier extraction into "%2": its images lie elsewhere, so it is most likely the project this archive was packed from. Extracting here would replace it; nothing was extracted.</source>
        <translation>Projektet "%1" är inte resultatet av en tidigare uppackning i "%2": dess bilder ligger någon annanstans, så det är troligen projektet som det här arkivet packades från. En uppackning här skulle ersätta det; ingenting packades upp.</translation>
    </message>
    <message>
        <source>The folder cannot be made.</source>
        <translation>Mappen kan inte skapas.</translation>
    </message>
    <message>
        <source>No such file.</source>
        <translation>Filen finns inte.</translation>
    </message>
    <message>
        <source>Cannot extract "%1": %2</source>
        <translation>Det går inte att packa upp "%1": %2</translation>
    </message>
    <message>
        <source>a packed library's name must not begin with ".".</source>
        <translation>namnet på ett packat bibliotek får inte börja med ".".</translation>
    </message>
    <message>
        <source>the library folder would be the archive itself. Give the archive a name ending in .tar.gz.</source>
        <translation>biblioteksmappen skulle bli själva arkivet. Ge arkivet ett namn som slutar på .tar.gz.</translation>
    </message>
    <message>
        <source>the project document would be the archive itself. Give the archive a name ending in .tar.gz.</source>
        <translation>projektdokumentet skulle bli själva arkivet. Ge arkivet ett namn som slutar på .tar.gz.</translation>
    </message>
    <message>
        <source>the file "%1" stands where its library folder would be. Move or rename that file, or extract into another folder.</source>
        <translation>filen "%1" ligger där arkivets biblioteksmapp skulle ligga. Flytta filen eller byt namn på den, eller packa upp i en annan mapp.</translation>
    </message>
    <message>
        <source>a folder has the name of its project document, "%1".</source>
        <translation>en mapp har samma namn som arkivets projektdokument, "%1".</translation>
    </message>
    <message>
        <source>Cannot extract into "%1": there is no such folder.</source>
        <translation>Det går inte att packa upp i "%1": mappen finns inte.</translation>
    </message>
    <message>
        <source>Glyphbook.js not found. Could not open symbol library.</source>
        <translation>Glyphbook.js hittades inte. Symbolbiblioteket kunde inte öppnas.</translation>
    </message>
    <message>
        <source>the name of its library folder would not be UTF-8 text, so the project document could not name its pictures. Give the archive a name in UTF-8.</source>
        <translation>namnet på dess biblioteksmapp skulle inte vara UTF-8-text, så projektdokumentet kunde inte namnge dess bilder. Ge arkivet ett namn i UTF-8.</translation>
    </message>
    <message>
        <source>the path of its library folder, "%1", is not UTF-8 text, so the project document could not name its pictures. Extract into another folder.</source>
        <translation>sökvägen till dess biblioteksmapp, "%1", är inte UTF-8-text, så projektdokumentet kunde inte namnge dess bilder. Packa upp i en annan mapp.</translation>
    </message>
</context>
<context>
    <name>GlyphbookPack</name>
    <message>
        <source>Cannot pack into "%1": it is the project document. Choose another name for the archive.</source>
        <translation>Det går inte att packa till "%1": det är projektdokumentet. Välj ett annat namn för arkivet.</translation>
    </message>
    <message>
        <source>Cannot pack into "%1": it is an image of the library. Choose another name for the archive.</source>
        <translation>Det går inte att packa till "%1": det är en bild i biblioteket. Välj ett annat namn för arkivet.</translation>
    </message>
    <message>
        <source>File "%1" is missing</source>
        <translation>Filen "%1" saknas</translation>
    </message>
    <message>
        <source>It is a folder.</source>
        <translation>Det är en mapp.</translation>
    </message>
</context>
<context>
    <name>GzipStream</name>
    <message>
        <source>The compression failed.</source>
        <translation>Komprimeringen misslyckades.</translation>
    </message>
    <message>
        <source>Cannot write the compressed data. %1</source>
        <translation>Det går inte att skriva komprimerade data. %1</translation>
    </message>
    <message>
        <source>Not enough memory to start the decompression.</source>
        <translation>Inte tillräckligt med minne för att starta dekomprimeringen.</translation>
    </message>
    <message>
        <source>Cannot read file "%1". %2</source>
        <translation>Det går inte att läsa filen "%1". %2</translation>
    </message>
    <message>
        <source>The file "%1" is not gzip-compressed.</source>
        <translation>Filen "%1" är inte gzip-komprimerad.</translation>
    </message>
    <message>
        <source>The file "%1" is damaged: unexpected data after its end.</source>
        <translation>Filen "%1" är skadad: oväntade data efter dess slut.</translation>
    </message>
    <message>
        <source>The file "%1" is damaged: it ends before the end of its compressed data.</source>
        <translation>Filen "%1" är skadad: den tar slut före slutet av sina komprimerade data.</translation>
    </message>
    <message>
        <source>The file "%1" is damaged: %2.</source>
        <translation>Filen "%1" är skadad: %2.</translation>
    </message>
    <message>
        <source>invalid data</source>
        <translation>ogiltiga data</translation>
    </message>
</context>
<context>
    <name>IntegerText</name>
    <message>
        <source>'%1' is not a valid integer value</source>
        <translation>'%1' är inte ett giltigt heltalsvärde</translation>
    </message>
</context>
<context>
    <name>LibTar</name>
    <message>
        <source>Cannot add "%1" to the archive "%2": an entry of %3 bytes does not fit a tar header (the limit is 8 GiB).</source>
        <translation>Det går inte att lägga till "%1" i arkivet "%2": en post på %3 byte ryms inte i ett tar-huvud (gränsen är 8 GiB).</translation>
    </message>
    <message>
        <source>Cannot write to the archive "%1". %2</source>
        <translation>Det går inte att skriva till arkivet "%1". %2</translation>
    </message>
    <message>
        <source>The archive "%1" is damaged: the entry "%2" at position %3 claims %4 bytes of data.</source>
        <translation>Arkivet "%1" är skadat: posten "%2" vid position %3 anger %4 byte data.</translation>
    </message>
    <message>
        <source>The archive "%1" is damaged: it ends inside the data of an entry.</source>
        <translation>Arkivet "%1" är skadat: det tar slut mitt i en posts data.</translation>
    </message>
    <message>
        <source>The archive "%1" is damaged: a long name of %2 bytes.</source>
        <translation>Arkivet "%1" är skadat: ett långt namn på %2 byte.</translation>
    </message>
</context>
<context>
    <name>NamesTable</name>
    <message>
        <source>The file "%1" is not a table of names: %2</source>
        <translation>Filen "%1" är ingen namntabell: %2</translation>
    </message>
    <message>
        <source>its first row must begin with the column "Identifier".</source>
        <translation>dess första rad måste börja med kolumnen "Identifier".</translation>
    </message>
    <message>
        <source>a column of its first row has no language code.</source>
        <translation>en kolumn i dess första rad saknar språkkod.</translation>
    </message>
    <message>
        <source>the language "%1" has two columns.</source>
        <translation>språket "%1" har två kolumner.</translation>
    </message>
    <message>
        <source>row %1 has more cells than the first row has columns.</source>
        <translation>rad %1 har fler celler än den första raden har kolumner.</translation>
    </message>
    <message>
        <source>the identifier "%1" has two rows (%2 and %3).</source>
        <translation>identifieraren "%1" har två rader (%2 och %3).</translation>
    </message>
    <message>
        <source>the identifier "%1" belongs to %2 symbols of the library, so its names cannot be told apart.</source>
        <translation>identifieraren "%1" hör till %2 symboler i biblioteket, så deras namn kan inte skiljas åt.</translation>
    </message>
</context>
<context>
    <name>PackCallbacks</name>
    <message>
        <source>Overwrite existing?</source>
        <translation>Skriva över befintliga?</translation>
    </message>
</context>
<context>
    <name>ProjectFiles</name>
    <message>
        <source>It is the project itself.</source>
        <translation>Det är själva projektet.</translation>
    </message>
    <message>
        <source>It is one of the library's pictures.</source>
        <translation>Det är en av bibliotekets bilder.</translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message>
        <source>Restore</source>
        <translation>Återställ</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Kasta</translation>
    </message>
</context>
<context>
    <name>SymbolCommands</name>
    <message>
        <source>Move Points</source>
        <translation>Flytta punkter</translation>
    </message>
    <message>
        <source>Move Text Point</source>
        <translation>Flytta textpunkt</translation>
    </message>
    <message>
        <source>Move Anchor</source>
        <translation>Flytta ankarpunkt</translation>
    </message>
    <message>
        <source>Delete Symbol</source>
        <translation>Ta bort symbol</translation>
    </message>
</context>
<context>
    <name>TBatchImportDialog</name>
    <message>
        <source>Add New Symbols</source>
        <translation>Lägg till nya symboler</translation>
    </message>
    <message>
        <source>Symbol</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>States</source>
        <translation>Tillstånd</translation>
    </message>
    <message>
        <source>Group state pictures into one symbol per family</source>
        <translation>Gruppera tillståndsbilder till en symbol per familj</translation>
    </message>
    <message>
        <source>NAME.png is the main picture; NAME_1.png, NAME_alarm.png, NAME_mo.png and NAME_mo_off.png are the pictures of the states 1, Alarm, MO and MO_Off</source>
        <translation>NAME.png är huvudbilden; NAME_1.png, NAME_alarm.png, NAME_mo.png och NAME_mo_off.png är bilderna för tillstånden 1, Alarm, MO och MO_Off</translation>
    </message>
    <message>
        <source>Add Symbols</source>
        <translation>Lägg till symboler</translation>
    </message>
    <message>
        <source>%1 pictures make %2 new %3:</source>
        <translation>%1 bilder ger %2 %3:</translation>
    </message>
    <message>
        <source>symbol</source>
        <translation>ny symbol</translation>
    </message>
    <message>
        <source>symbols</source>
        <translation>nya symboler</translation>
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
        <translation>Fynd</translation>
    </message>
    <message>
        <source>Check Library</source>
        <translation>Kontrollera biblioteket</translation>
    </message>
    <message>
        <source>Double click to select the symbol</source>
        <translation>Dubbelklicka för att välja symbolen</translation>
    </message>
    <message>
        <source>No problems found.</source>
        <translation>Inga problem hittades.</translation>
    </message>
    <message>
        <source>%1 %2 in %3 %4.</source>
        <translation>%1 %2 i %3 %4.</translation>
    </message>
    <message>
        <source>finding</source>
        <translation>fynd</translation>
    </message>
    <message>
        <source>findings</source>
        <translation>fynd</translation>
    </message>
    <message>
        <source>symbol</source>
        <translation>symbol</translation>
    </message>
    <message>
        <source>symbols</source>
        <translation>symboler</translation>
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
        <translation>Lägg till bild</translation>
    </message>
    <message>
        <source>Delete Image</source>
        <translation>Ta bort bild</translation>
    </message>
    <message>
        <source>Set Default Image</source>
        <translation>Ange standardbild</translation>
    </message>
    <message>
        <source>Change Image Value</source>
        <translation>Ändra bildens värde</translation>
    </message>
    <message>
        <source>Replace Image</source>
        <translation>Ersätt bild</translation>
    </message>
    <message>
        <source>Add Images</source>
        <translation>Lägg till bilder</translation>
    </message>
    <message>
        <source>Adds a state image to the selected symbol</source>
        <translation>Lägger till en tillståndsbild till den valda symbolen</translation>
    </message>
    <message>
        <source>Deletes the marked state image</source>
        <translation>Tar bort den markerade tillståndsbilden</translation>
    </message>
    <message>
        <source>The selected symbol's images: a click shows one, a double click replaces it</source>
        <translation>Den valda symbolens bilder: ett klick visar en, ett dubbelklick ersätter den</translation>
    </message>
</context>
<context>
    <name>TJsonParser</name>
    <message>
        <source>the array is not closed</source>
        <translation>arrayen avslutas aldrig</translation>
    </message>
    <message>
        <source>',' or ']' is expected</source>
        <translation>',' eller ']' förväntas</translation>
    </message>
    <message>
        <source>a member name is too long</source>
        <translation>ett medlemsnamn är för långt</translation>
    </message>
    <message>
        <source>values nest deeper than 32 levels</source>
        <translation>värdena är nästlade djupare än 32 nivåer</translation>
    </message>
    <message>
        <source>the text ends inside a value</source>
        <translation>texten tar slut mitt i ett värde</translation>
    </message>
    <message>
        <source>malformed number</source>
        <translation>felaktigt tal</translation>
    </message>
    <message>
        <source>the text ends inside a string</source>
        <translation>texten tar slut mitt i en sträng</translation>
    </message>
    <message>
        <source>malformed escape in a string</source>
        <translation>felaktig escapesekvens i en sträng</translation>
    </message>
    <message>
        <source>a member name is expected</source>
        <translation>ett medlemsnamn förväntas</translation>
    </message>
    <message>
        <source>the text ends inside a member name</source>
        <translation>texten tar slut mitt i ett medlemsnamn</translation>
    </message>
    <message>
        <source>':' is expected after a member name</source>
        <translation>':' förväntas efter ett medlemsnamn</translation>
    </message>
    <message>
        <source>the object is not closed</source>
        <translation>objektet avslutas aldrig</translation>
    </message>
    <message>
        <source>',' or '}' is expected</source>
        <translation>',' eller '}' förväntas</translation>
    </message>
</context>
<context>
    <name>TLibraryCheck</name>
    <message>
        <source>repeated identifier "%1"</source>
        <translation>upprepad identifierare "%1"</translation>
    </message>
    <message>
        <source>no name in the language "%1"</source>
        <translation>inget namn på språket "%1"</translation>
    </message>
    <message>
        <source>state value "%1" is neither an integer nor Alarm, MO_Off or MO</source>
        <translation>tillståndsvärdet "%1" är varken ett heltal eller Alarm, MO_Off eller MO</translation>
    </message>
    <message>
        <source>state value "%1" stands for the same state as state %2</source>
        <translation>tillståndsvärdet "%1" står för samma tillstånd som tillstånd %2</translation>
    </message>
    <message>
        <source>missing image file "%1"</source>
        <translation>bildfilen "%1" saknas</translation>
    </message>
    <message>
        <source>image file "%1" cannot be read as a picture</source>
        <translation>bildfilen "%1" kan inte läsas som en bild</translation>
    </message>
    <message>
        <source>image name too long, shortened when packed: "%1" becomes "%2"</source>
        <translation>bildnamnet är för långt och kortas vid packning: "%1" blir "%2"</translation>
    </message>
    <message>
        <source>image name clashes with another image's, renamed when packed: "%1" becomes "%2"</source>
        <translation>bildnamnet krockar med en annan bilds och byts vid packning: "%1" blir "%2"</translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>These files are not pictures and were not added:
%1</source>
        <translation>De här filerna är inga bilder och lades inte till:
%1</translation>
    </message>
    <message>
        <source>Glyphbook project|*.js</source>
        <translation>Glyphbook-projekt|*.js</translation>
    </message>
    <message>
        <source>All (*.png;*.gif;*.jpg;*.jpeg;*.png;*.bmp)|*.png;*.gif;*.jpg;*.jpeg;*.png;*.bmp;|Portable network graphics (*.png)|*.png|GIF Image (*.gif)|*.gif|JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg</source>
        <translation>Alla (*.png;*.gif;*.jpg;*.jpeg;*.png;*.bmp)|*.png;*.gif;*.jpg;*.jpeg;*.png;*.bmp;|PNG-bild (*.png)|*.png|GIF-bild (*.gif)|*.gif|JPEG-bild (*.jpg)|*.jpg|JPEG-bild (*.jpeg)|*.jpeg</translation>
    </message>
    <message>
        <source>Symbol library|*.tar.gz</source>
        <translation>Symbolbibliotek|*.tar.gz</translation>
    </message>
    <message>
        <source>Table of names (CSV)|*.csv</source>
        <translation>Namntabell (CSV)|*.csv</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Arkiv</translation>
    </message>
    <message>
        <source>Open Project</source>
        <translation>Öppna projekt</translation>
    </message>
    <message>
        <source>Save Project</source>
        <translation>Spara projekt</translation>
    </message>
    <message>
        <source>Extract Glyphbook</source>
        <translation>Packa upp Glyphbook</translation>
    </message>
    <message>
        <source>Pack Glyphbook</source>
        <translation>Packa Glyphbook</translation>
    </message>
    <message>
        <source>New Project</source>
        <translation>Nytt projekt</translation>
    </message>
    <message>
        <source>Export Names...</source>
        <translation>Exportera namn...</translation>
    </message>
    <message>
        <source>Import Names...</source>
        <translation>Importera namn...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Avsluta</translation>
    </message>
    <message>
        <source>Symbol</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>Add New Symbol</source>
        <translation>Lägg till ny symbol</translation>
    </message>
    <message>
        <source>Duplicate Symbol</source>
        <translation>Duplicera symbol</translation>
    </message>
    <message>
        <source>Delete Symbol</source>
        <translation>Ta bort symbol</translation>
    </message>
    <message>
        <source>Check Library</source>
        <translation>Kontrollera biblioteket</translation>
    </message>
    <message>
        <source>Locate Missing Images...</source>
        <translation>Leta upp saknade bilder...</translation>
    </message>
    <message>
        <source>Languages</source>
        <translation>Språk</translation>
    </message>
    <message>
        <source>Examples</source>
        <translation>Exempel</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hjälp</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Redigera</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Ångra</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Gör om</translation>
    </message>
    <message>
        <source>At most %1 languages can be shown at once. Not shown: %2.</source>
        <translation>Högst %1 språk kan visas samtidigt. Visas inte: %2.</translation>
    </message>
    <message>
        <source>No image of the library is missing.</source>
        <translation>Ingen bild i biblioteket saknas.</translation>
    </message>
    <message>
        <source>Locate Missing Images</source>
        <translation>Leta upp saknade bilder</translation>
    </message>
    <message>
        <source>Found %1 of %2 missing images in %3.</source>
        <translation>Hittade %1 av %2 saknade bilder i %3.</translation>
    </message>
    <message>
        <source>

Still missing:
</source>
        <translation>

Saknas fortfarande:
</translation>
    </message>
    <message>
        <source>Import Names</source>
        <translation>Importera namn</translation>
    </message>
    <message>
        <source>Names changed: %1.</source>
        <translation>Ändrade namn: %1.</translation>
    </message>
    <message>
        <source>
Languages added: %1.</source>
        <translation>
Tillagda språk: %1.</translation>
    </message>
    <message>
        <source>"%1" (row %2)</source>
        <translation>"%1" (rad %2)</translation>
    </message>
    <message>
        <source>
Rows skipped, no symbol has their identifier: %1.</source>
        <translation>
Hoppade över rader, ingen symbol har deras identifierare: %1.</translation>
    </message>
    <message>
        <source>Yes replaces:
</source>
        <translation>Ja ersätter:
</translation>
    </message>
    <message>
        <source>Packing the symbol library...</source>
        <translation>Packar symbolbiblioteket...</translation>
    </message>
    <message>
        <source>One image used by a dialog is missing. The symbol library can therfore not be created. </source>
        <translation>En bild som används saknas. Symbolbiblioteket kan därför inte skapas. </translation>
    </message>
    <message>
        <source>Extracting the symbol library...</source>
        <translation>Packar upp symbolbiblioteket...</translation>
    </message>
    <message>
        <source>

Choose another folder to extract into?</source>
        <translation>

Välja en annan mapp att packa upp i?</translation>
    </message>
    <message>
        <source>Extract into</source>
        <translation>Packa upp i</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 finns redan.
Vill du ersätta den?</translation>
    </message>
    <message>
        <source>Add Symbol</source>
        <translation>Lägg till symbol</translation>
    </message>
    <message>
        <source>Add Symbols</source>
        <translation>Lägg till symboler</translation>
    </message>
    <message>
        <source>Place Point</source>
        <translation>Placera punkt</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Visa</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Zooma in</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Zooma ut</translation>
    </message>
    <message>
        <source>Actual Size</source>
        <translation>Verklig storlek</translation>
    </message>
    <message>
        <source>Find...</source>
        <translation>Sök...</translation>
    </message>
    <message>
        <source>The file "%1" cannot be read as a picture.</source>
        <translation>Filen "%1" kan inte läsas som en bild.</translation>
    </message>
    <message>
        <source>Open Recent</source>
        <translation>Öppna senaste</translation>
    </message>
    <message>
        <source>Clear List</source>
        <translation>Töm listan</translation>
    </message>
    <message>
        <source>The project "%1" no longer exists. It was taken off the list of recent projects.</source>
        <translation>Projektet "%1" finns inte längre. Det togs bort från listan över senaste projekt.</translation>
    </message>
    <message>
        <source>Top Left</source>
        <translation>Överst till vänster</translation>
    </message>
    <message>
        <source>Top Center</source>
        <translation>Överst i mitten</translation>
    </message>
    <message>
        <source>Top Right</source>
        <translation>Överst till höger</translation>
    </message>
    <message>
        <source>Middle Left</source>
        <translation>Mitten till vänster</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Mitten</translation>
    </message>
    <message>
        <source>Middle Right</source>
        <translation>Mitten till höger</translation>
    </message>
    <message>
        <source>Bottom Left</source>
        <translation>Nederst till vänster</translation>
    </message>
    <message>
        <source>Bottom Center</source>
        <translation>Nederst i mitten</translation>
    </message>
    <message>
        <source>Bottom Right</source>
        <translation>Nederst till höger</translation>
    </message>
</context>
<context>
    <name>TRecoveryCopy</name>
    <message>
        <source>The file "%1" is missing.</source>
        <translation>Filen "%1" saknas.</translation>
    </message>
</context>
<context>
    <name>TSymbolImgPanel</name>
    <message>
        <source>Värde</source>
        <translation>Värde</translation>
    </message>
    <message>
        <source>When is image shown?</source>
        <translation>När visas bilden?</translation>
    </message>
    <message>
        <source>State value</source>
        <translation>Tillståndsvärde</translation>
    </message>
    <message>
        <source>Value type</source>
        <translation>Värdetyp</translation>
    </message>
    <message>
        <source>Space shows the image; Return replaces it</source>
        <translation>Mellanslag visar bilden; Retur ersätter den</translation>
    </message>
    <message>
        <source>Main image</source>
        <translation>Huvudbild</translation>
    </message>
    <message>
        <source>State image %1</source>
        <translation>Tillståndsbild %1</translation>
    </message>
</context>
<context>
    <name>TSymbolListPanel</name>
    <message>
        <source>Double click to add new symbol</source>
        <translation>Dubbelklicka för att lägga till en ny symbol</translation>
    </message>
    <message>
        <source>Identifier</source>
        <translation>Identifierare</translation>
    </message>
    <message>
        <source>Find identifier or name</source>
        <translation>Sök identifierare eller namn</translation>
    </message>
    <message>
        <source>Missing names</source>
        <translation>Saknade namn</translation>
    </message>
    <message>
        <source>Show only symbols that lack a name in a shown language</source>
        <translation>Visa bara symboler som saknar ett namn på ett visat språk</translation>
    </message>
    <message>
        <source>Close the find bar (Esc)</source>
        <translation>Stäng sökfältet (Esc)</translation>
    </message>
    <message>
        <source>Symbols</source>
        <translation>Symboler</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Sök</translation>
    </message>
    <message>
        <source>Shows only the symbols whose identifier or a name contains this text</source>
        <translation>Visar bara de symboler vars identifierare eller namn innehåller den här texten</translation>
    </message>
    <message>
        <source>Clear the find field</source>
        <translation>Töm sökfältet</translation>
    </message>
    <message>
        <source>Clears the find field</source>
        <translation>Tömmer sökfältet</translation>
    </message>
    <message>
        <source>Close the find bar</source>
        <translation>Stäng sökfältet</translation>
    </message>
</context>
<context>
    <name>TSymbolPreviewPanel</name>
    <message>
        <source>Example Text</source>
        <translation>Exempeltext</translation>
    </message>
    <message>
        <source>Show Cross</source>
        <translation>Visa kors</translation>
    </message>
    <message>
        <source>Show Text Cross</source>
        <translation>Visa textkors</translation>
    </message>
    <message>
        <source>Example text</source>
        <translation>Exempeltext</translation>
    </message>
    <message>
        <source>Shows the anchor point's cross over the grid</source>
        <translation>Visar ankarpunktens kors över rutnätet</translation>
    </message>
    <message>
        <source>Shows the text point's cross</source>
        <translation>Visar textpunktens kors</translation>
    </message>
    <message>
        <source>Symbol preview</source>
        <translation>Förhandsvisning av symbolen</translation>
    </message>
    <message>
        <source>Shift and the left button place the anchor point, Shift and the right button the text point; dragging the picture or the text moves them</source>
        <translation>Skift och vänster knapp placerar ankarpunkten, Skift och höger knapp textpunkten; att dra bilden eller texten flyttar dem</translation>
    </message>
    <message>
        <source>The selected symbol's picture placed by its anchor point on the grid's origin, with the example text at its text point</source>
        <translation>Den valda symbolens bild placerad med sin ankarpunkt på rutnätets origo, med exempeltexten vid sin textpunkt</translation>
    </message>
</context>
<context>
    <name>TSymbolSettingsPanel</name>
    <message>
        <source>Symbol Settings</source>
        <translation>Symbolinställningar</translation>
    </message>
    <message>
        <source>Identifier</source>
        <translation>Identifierare</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Namn</translation>
    </message>
    <message>
        <source>Anchorpoint</source>
        <translation>Ankarpunkt</translation>
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
        <translation>Höger</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Mitten</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Vänster</translation>
    </message>
    <message>
        <source>Edit Identifier</source>
        <translation>Redigera identifierare</translation>
    </message>
    <message>
        <source>Edit Anchor</source>
        <translation>Redigera ankarpunkt</translation>
    </message>
    <message>
        <source>Edit Text Point</source>
        <translation>Redigera textpunkt</translation>
    </message>
    <message>
        <source>Change Alignment</source>
        <translation>Ändra justering</translation>
    </message>
    <message>
        <source>Change Symbol Flag</source>
        <translation>Ändra symbolflagga</translation>
    </message>
    <message>
        <source>Edit Name</source>
        <translation>Redigera namn</translation>
    </message>
    <message>
        <source>Edit Symbol</source>
        <translation>Redigera symbol</translation>
    </message>
    <message>
        <source>The symbol's identifier</source>
        <translation>Symbolens identifierare</translation>
    </message>
    <message>
        <source>Move the point up</source>
        <translation>Flytta punkten uppåt</translation>
    </message>
    <message>
        <source>Moves the chosen point one pixel up</source>
        <translation>Flyttar den valda punkten en bildpunkt uppåt</translation>
    </message>
    <message>
        <source>Move the point down</source>
        <translation>Flytta punkten nedåt</translation>
    </message>
    <message>
        <source>Moves the chosen point one pixel down</source>
        <translation>Flyttar den valda punkten en bildpunkt nedåt</translation>
    </message>
    <message>
        <source>Move the point left</source>
        <translation>Flytta punkten åt vänster</translation>
    </message>
    <message>
        <source>Moves the chosen point one pixel left</source>
        <translation>Flyttar den valda punkten en bildpunkt åt vänster</translation>
    </message>
    <message>
        <source>Move the point right</source>
        <translation>Flytta punkten åt höger</translation>
    </message>
    <message>
        <source>Moves the chosen point one pixel right</source>
        <translation>Flyttar den valda punkten en bildpunkt åt höger</translation>
    </message>
    <message>
        <source>The arrows and the mouse place the anchor point</source>
        <translation>Pilarna och musen placerar ankarpunkten</translation>
    </message>
    <message>
        <source>The arrows and the mouse place the text point</source>
        <translation>Pilarna och musen placerar textpunkten</translation>
    </message>
    <message>
        <source>Anchor point X</source>
        <translation>Ankarpunkt X</translation>
    </message>
    <message>
        <source>The anchor point's position across the picture, in pixels</source>
        <translation>Ankarpunktens läge i sidled i bilden, i bildpunkter</translation>
    </message>
    <message>
        <source>Anchor point Y</source>
        <translation>Ankarpunkt Y</translation>
    </message>
    <message>
        <source>The anchor point's position down the picture, in pixels</source>
        <translation>Ankarpunktens läge i höjdled i bilden, i bildpunkter</translation>
    </message>
    <message>
        <source>Text point X</source>
        <translation>Textpunkt X</translation>
    </message>
    <message>
        <source>The text point's position across, in pixels</source>
        <translation>Textpunktens läge i sidled, i bildpunkter</translation>
    </message>
    <message>
        <source>Text point Y</source>
        <translation>Textpunkt Y</translation>
    </message>
    <message>
        <source>The text point's position down, in pixels</source>
        <translation>Textpunktens läge i höjdled, i bildpunkter</translation>
    </message>
    <message>
        <source>A symbol has a text point and state images; a plain image has neither</source>
        <translation>En symbol har en textpunkt och tillståndsbilder; en enkel bild har inget av dem</translation>
    </message>
    <message>
        <source>Text alignment</source>
        <translation>Textjustering</translation>
    </message>
    <message>
        <source>How the text stands at the text point</source>
        <translation>Hur texten står vid textpunkten</translation>
    </message>
    <message>
        <source>Name (%1)</source>
        <translation>Namn (%1)</translation>
    </message>
    <message>
        <source>The symbol's name in the language %1</source>
        <translation>Symbolens namn på språket %1</translation>
    </message>
</context>
<context>
    <name>ViraSymbolDocument</name>
    <message>
        <source>The file "%1" is not a library document: %2.</source>
        <translation>Filen "%1" är inget biblioteksdokument: %2.</translation>
    </message>
    <message>
        <source>it is not UTF-8 text</source>
        <translation>den är inte UTF-8-text</translation>
    </message>
    <message>
        <source>%1 at line %2, column %3</source>
        <translation>%1 på rad %2, kolumn %3</translation>
    </message>
    <message>
        <source>it has no "GLYPHBOOK" member</source>
        <translation>den har ingen medlem "GLYPHBOOK"</translation>
    </message>
</context>
<context>
    <name>WorkFolder</name>
    <message>
        <source>Its lock file cannot be made.</source>
        <translation>Dess låsfil kan inte skapas.</translation>
    </message>
    <message>
        <source>Cannot create a temporary folder in "%1". %2</source>
        <translation>Det går inte att skapa en tillfällig mapp i "%1". %2</translation>
    </message>
</context>
</TS>