#pragma once

#include <QString>

// The locale whose translations of Qt's own texts (the Yes, No, OK and
// Cancel of message boxes and the like) suit an interface language:
// "ko" for Korean, "zh_TW" for Taiwanese, ...; empty for an unknown name.
QString QtLocaleName(const QString &language);

// Puts Qt's own texts into the language, where Qt's translations for it are
// installed (beside the program, or with Qt); otherwise they stay English.
void UseQtTranslations(const QString &language);
