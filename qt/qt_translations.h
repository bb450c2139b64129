#pragma once

class QCoreApplication;

namespace varnock::qt {

// Qt's own texts (the buttons of its boxes, its file and print dialogs) in the language of
// Varnock's texts, from the translations of Qt that the program carries. Nothing in English.
void UseQtTranslations(QCoreApplication& application);

}  // namespace varnock::qt
