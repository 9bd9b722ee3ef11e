#pragma once
// Message texts from the current language file (Language/<name>.lng).
#include <QString>

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

// The "#13" rule on its own.
QString expandLineBreaks(const QString &value);

} // namespace velmora
