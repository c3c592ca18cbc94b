// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>

class QCoreApplication;
class QTranslator;

namespace dorvo {

/// Installs Qt's own translations of its standard buttons and dialogs (the save question,
/// the file, print, colour and font choosers) when `locale` is Japanese, so that they speak
/// the program's language; under any other locale they stay English. Gives the installed
/// translator, owned by `application`, or null.
QTranslator* installQtTranslations(QCoreApplication& application, const QLocale& locale);

}  // namespace dorvo
