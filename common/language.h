#pragma once
// Message texts from the current language file (Language/<name>.lng).
#include <QString>
#include <QStringList>

namespace velmora {

// The current language file name with its extension ("Cestina.lng"), empty when none was applied.
QString currentLanguageFile();
void setCurrentLanguageFile(const QString &fileName);

// Path of the current language file, empty when none was applied.
QString currentLanguagePath();

// The text of a key: "Error" when it is missing or no language file was applied.
// "#13" in a value becomes a line break: the text before each "#13" is followed
// by a carriage return, and the "#13" and the one character after it are dropped.
QString languageText(const QString &section, const QString &key);
// The same with a text of the program's own for a key the language file
// lacks, or when no language file is in force: for messages that must be
// readable whatever the language files, such as those of the start-up.
QString languageText(const QString &section, const QString &key, const QString &builtIn);

// The "#13" rule on its own.
QString expandLineBreaks(const QString &value);

// A list of items written as delimited text: items are separated by commas or
// blanks; an item in double quotes may hold both, a doubled quote in it
// standing for one quote. Two commas in a row make an empty item, and so does
// a comma at the end.
QStringList splitDelimitedText(const QString &text);

// A key naming one item of a component: "RadioGroup.items[2]",
// "RadioGroupStyle.Items[0]", "ListView1.columns[1]", "ListViewFISO.colums[0]".
struct IndexedKey {
    QString component;
    bool column = false; // "columns"/"colums" rather than "items"
    int index = -1;
};
// False when the key has not that form.
bool parseIndexedKey(const QString &key, IndexedKey &out);

// The item name of a language file in the "Jazyk" menu: the file name without
// its ".lng" extension; empty for a name that does not end in ".lng".
QString languageItemName(const QString &fileName);

} // namespace velmora
